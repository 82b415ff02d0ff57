// Note [shadowed rules]
// Every state the subset construction makes is reached by some input w, and its subset holds the
// accepting state of rule r exactly when r matches the whole of w (the NFA states of one subset
// are those reachable by every input that leads to it). Matches of equal length are settled by
// priority, so the lowest such rule wins at w: that is the state's Accept. Hence the reports are
// exact: a rule wins on some input (Matched) if and only if it is the Accept of some state, since
// a scan may always stop at the end of w (the input can end there). A rule that never wins, but
// does match something, has its accepting state in the subsets of exactly the inputs it matches;
// each of those states is won by a rule of lower index, and ShadowedBy names the winner of most
// of those states (the lowest such rule at a tie): for an identifier pattern written after
// another, the earlier identifier rather than the keyword that beats both on one word. A rule whose accepting state lies in no subset matches nothing: ShadowedBy stays -1.
// Minimisation keeps the Accept of every state, so the reports hold for the minimal automaton.
#include "regex/subset.h"

#include <algorithm>
#include <limits>
#include <map>
#include <unordered_map>

#include "regex/vector_hash.h"

namespace parvolen::regex {
namespace {

class Construction {
 public:
  Construction(const Nfa& nfa, const Limits& limits, Dfa& dfa) : nfa_(nfa), limits_(limits), dfa_(dfa) {}

  [[nodiscard]] std::size_t Work() const { return work_; }

  BuildOutcome Run(std::vector<RuleReport>& reports) {
    const std::size_t n = static_cast<std::size_t>(nfa_.StateCount());
    dfa_ = Dfa{};
    dfa_.ClassCount = ByteClasses(nfa_.Sets, dfa_.ClassOf);
    const auto k = static_cast<std::size_t>(dfa_.ClassCount);
    ClassLists();
    stamp_.assign(n, 0);
    kept_.assign(n, 0);
    for (std::size_t s = 0; s < n; ++s) kept_[s] = nfa_.EdgeStart[s + 1] > nfa_.EdgeStart[s] || nfa_.Accept[s] >= 0;
    shadow_.assign(static_cast<std::size_t>(nfa_.RuleCount), {});
    reports.assign(static_cast<std::size_t>(nfa_.RuleCount), RuleReport{});
    reports_ = &reports;

    std::int32_t start = -1;
    if (!Find({nfa_.Start}, start)) return BuildOutcome::TooBig;
    dfa_.Start = start;
    std::vector<std::vector<std::int32_t>> buckets(k);
    // The buckets of the current state by hash, open addressing over twice the classes: a class
    // whose bucket equals an earlier one's takes its target without a closure.
    std::vector<std::size_t> hashes(k);
    std::vector<std::uint16_t> slotClass(512);
    std::vector<std::size_t> slotStamp(512, 0);
    for (std::size_t d = 0; d < subsets_.size(); ++d) {
      work_ += k;
      for (const std::int32_t s : *subsets_[d]) {
        const auto u = static_cast<std::size_t>(s);
        for (std::int32_t e = nfa_.EdgeStart[u]; e < nfa_.EdgeStart[u + 1]; ++e) {
          const Nfa::Edge& edge = nfa_.Edges[static_cast<std::size_t>(e)];
          const auto& classes = classLists_[static_cast<std::size_t>(edge.Set)];
          for (const std::uint16_t c : classes) buckets[c].push_back(edge.To);
          work_ += classes.size();
        }
      }
      for (std::size_t c = 0; c < k; ++c) {
        if (buckets[c].empty()) continue;
        hashes[c] = VectorHash{}(buckets[c]);
        std::size_t slot = hashes[c] & 511;
        std::int32_t target = -1;
        for (; slotStamp[slot] == d + 1; slot = (slot + 1) & 511) {
          const std::size_t other = slotClass[slot];
          if (hashes[other] == hashes[c] && buckets[other] == buckets[c]) {
            target = dfa_.Next[d * k + other];
            break;
          }
        }
        if (target < 0) {
          if (!Find(buckets[c], target)) return BuildOutcome::TooBig;
          slotStamp[slot] = d + 1;
          slotClass[slot] = static_cast<std::uint16_t>(c);
        }
        dfa_.Next[d * k + c] = target;
      }
      // Cleared only now: a bucket may be compared with a later one of the same state.
      for (auto& b : buckets) b.clear();
    }
    // The winner of the most states that the rule would have ended in; the lowest at a tie.
    for (std::size_t r = 0; r < reports.size(); ++r) {
      if (reports[r].Matched) continue;
      std::int32_t most = 0;
      for (const auto& [winner, states] : shadow_[r])
        if (states > most) {
          most = states;
          reports[r].ShadowedBy = winner;
        }
    }
    return BuildOutcome::Ok;
  }

 private:
  // For each set of the NFA, the classes it holds: classes never straddle a set.
  void ClassLists() {
    std::array<int, 256> first{};
    first.fill(-1);
    for (int b = 255; b >= 0; --b) first[dfa_.ClassOf[static_cast<std::size_t>(b)]] = b;
    classLists_.resize(nfa_.Sets.size());
    for (std::size_t i = 0; i < nfa_.Sets.size(); ++i)
      for (int c = 0; c < dfa_.ClassCount; ++c)
        if (nfa_.Sets[i][static_cast<std::size_t>(first[static_cast<std::size_t>(c)])])
          classLists_[i].push_back(static_cast<std::uint16_t>(c));
  }

  // The state of the closure of `seeds` under empty moves (kept are the states with edges or an
  // accept, sorted), made when new; false past a limit.
  bool Find(const std::vector<std::int32_t>& seeds, std::int32_t& state) {
    ++generation_;
    subset_.clear();
    stack_.clear();
    for (const std::int32_t s : seeds) Push(s);
    while (!stack_.empty()) {
      const auto u = static_cast<std::size_t>(stack_.back());
      stack_.pop_back();
      if (kept_[u]) subset_.push_back(static_cast<std::int32_t>(u));
      for (std::int32_t e = nfa_.EpsStart[u]; e < nfa_.EpsStart[u + 1]; ++e) Push(nfa_.Eps[static_cast<std::size_t>(e)]);
    }
    work_ += seeds.size() + subset_.size();
    if (work_ > limits_.MaxSubsetWork) return false;
    std::sort(subset_.begin(), subset_.end());
    const auto [it, fresh] = index_.try_emplace(subset_, static_cast<std::int32_t>(subsets_.size()));
    state = it->second;
    if (!fresh) return true;
    if (subsets_.size() + 1 > limits_.MaxDfaStates) return false;
    subsets_.push_back(&it->first);
    dfa_.Next.resize(dfa_.Next.size() + static_cast<std::size_t>(dfa_.ClassCount), -1);
    // See note [shadowed rules].
    std::int32_t winner = -1;
    for (const std::int32_t s : subset_) {
      const std::int32_t rule = nfa_.Accept[static_cast<std::size_t>(s)];
      if (rule >= 0 && (winner < 0 || rule < winner)) winner = rule;
    }
    dfa_.Accept.push_back(winner);
    if (winner >= 0) (*reports_)[static_cast<std::size_t>(winner)].Matched = true;
    for (const std::int32_t s : subset_) {
      const std::int32_t rule = nfa_.Accept[static_cast<std::size_t>(s)];
      if (rule >= 0 && rule != winner) ++shadow_[static_cast<std::size_t>(rule)][winner];
    }
    return true;
  }

  void Push(std::int32_t s) {
    const auto u = static_cast<std::size_t>(s);
    if (stamp_[u] == generation_) return;
    stamp_[u] = generation_;
    stack_.push_back(s);
  }

  const Nfa& nfa_;
  const Limits& limits_;
  Dfa& dfa_;
  std::vector<std::vector<std::uint16_t>> classLists_;
  std::vector<char> kept_;
  std::vector<std::uint32_t> stamp_;
  std::uint32_t generation_ = 0;
  std::vector<std::int32_t> stack_;
  std::vector<std::int32_t> subset_;
  std::unordered_map<std::vector<std::int32_t>, std::int32_t, VectorHash> index_;
  std::vector<const std::vector<std::int32_t>*> subsets_;  // per state, its key in index_
  std::vector<std::map<std::int32_t, std::int32_t>> shadow_;  // per rule: its winners and their state counts
  std::vector<RuleReport>* reports_ = nullptr;
  std::size_t work_ = 0;
};

}  // namespace

int ByteClasses(const std::vector<std::bitset<256>>& sets, std::array<std::uint16_t, 256>& classOf) {
  std::array<int, 256> cls{};
  int count = 1;
  std::vector<int> split(512);
  for (const auto& set : sets) {
    // Each class splits into its members inside and outside the set.
    std::fill(split.begin(), split.begin() + 2 * count, -1);
    int next = 0;
    for (std::size_t b = 0; b < 256; ++b) {
      const auto key = static_cast<std::size_t>(cls[b] * 2 + (set[b] ? 1 : 0));
      if (split[key] < 0) split[key] = next++;
      cls[b] = split[key];
    }
    count = next;
    if (count == 256) break;
  }
  // Numbered afresh in the order of first bytes (the loop above already does so).
  for (std::size_t b = 0; b < 256; ++b) classOf[b] = static_cast<std::uint16_t>(cls[b]);
  return count;
}

BuildOutcome Determinise(const Nfa& nfa, const Limits& limits, Dfa& dfa, std::vector<RuleReport>& reports,
                         std::size_t* work) {
  Construction construction(nfa, limits, dfa);
  const BuildOutcome outcome = construction.Run(reports);
  if (work != nullptr) *work += construction.Work();
  return outcome;
}

}  // namespace parvolen::regex
