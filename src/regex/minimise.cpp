// Note [dead states]
// A state from which no accepting state can be reached behaves, for every input, like having no
// state at all: Longest never returns through it. So the refinement works on the live states
// only, and a move into a dead state counts as no move. Every live state is reachable from the
// start, since each state on a path from the start to a live state reaches what that state
// reaches. If the start itself is not live, the minimal automaton is one state without moves.
//
// Note [refinement]
// Two live states are equivalent when they accept the same rule and, on every class, either
// neither has a move or both move to equivalent states. The blocks start as the states grouped by
// accepted rule, all of them on the worklist; a block taken from the worklist (the splitter)
// splits every block that holds both states that move into it on some class and states that do
// not. A state without a move is thus told apart from one with a move on the same class when the
// block of that move's target is a splitter, which every block is at the start. When a block on
// the worklist splits, both parts go there. When a block that is not there splits, one part is
// enough: a state has at most one move on a class, so the states moving into one part are those
// moving into the whole minus those moving into the other, and a block split by the whole and by
// one part is split by the other too. The part taken is the one with fewer moves into it, so
// each move is scanned again only after the moves into its target's block have halved: the work
// is O(m log m) for m moves. (Taking the part with fewer states would scan the moves into a state
// that many states enter, such as the inside of an identifier, again and again.)
#include "regex/minimise.h"

#include <algorithm>
#include <unordered_map>

namespace parvolen::regex {
namespace {

Dfa NoMoves() {
  Dfa dfa;
  dfa.ClassCount = 1;
  dfa.Next = {-1};
  dfa.Accept = {-1};
  return dfa;
}

// Blocks of states kept as ranges of one array: block b holds Elems[First[b], End[b]), and its
// states marked in the current round are moved to the front, up to Mid[b].
class Partition {
 public:
  explicit Partition(const std::vector<std::int32_t>& labels) {
    const std::size_t n = labels.size();
    elems_.resize(n);
    for (std::size_t i = 0; i < n; ++i) elems_[i] = static_cast<std::int32_t>(i);
    std::stable_sort(elems_.begin(), elems_.end(), [&](std::int32_t a, std::int32_t b) {
      return labels[static_cast<std::size_t>(a)] < labels[static_cast<std::size_t>(b)];
    });
    loc_.resize(n);
    block_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      const auto s = static_cast<std::size_t>(elems_[i]);
      loc_[s] = i;
      if (i == 0 || labels[s] != labels[static_cast<std::size_t>(elems_[i - 1])]) {
        first_.push_back(i);
        end_.push_back(i);
        mid_.push_back(i);
      }
      block_[s] = static_cast<std::int32_t>(first_.size() - 1);
      ++end_.back();
    }
  }

  [[nodiscard]] std::int32_t Count() const { return static_cast<std::int32_t>(first_.size()); }
  [[nodiscard]] std::int32_t BlockOf(std::int32_t s) const { return block_[static_cast<std::size_t>(s)]; }
  [[nodiscard]] std::size_t Size(std::int32_t b) const { return end_[Ub(b)] - first_[Ub(b)]; }
  [[nodiscard]] std::int32_t Member(std::int32_t b, std::size_t i) const { return elems_[first_[Ub(b)] + i]; }

  void Mark(std::int32_t s) {
    const std::size_t b = Ub(block_[static_cast<std::size_t>(s)]);
    const std::size_t at = loc_[static_cast<std::size_t>(s)];
    if (at < mid_[b]) return;
    if (mid_[b] == first_[b]) touched_.push_back(static_cast<std::int32_t>(b));
    const std::int32_t other = elems_[mid_[b]];
    std::swap(elems_[at], elems_[mid_[b]]);
    loc_[static_cast<std::size_t>(other)] = at;
    loc_[static_cast<std::size_t>(s)] = mid_[b];
    ++mid_[b];
  }

  // Splits each touched block into its marked and unmarked states; calls split(old, new) for
  // each block that split, the marked states forming the new one.
  template <class OnSplit>
  void Split(OnSplit split) {
    for (const std::int32_t b : touched_) {
      const std::size_t u = Ub(b);
      if (mid_[u] == end_[u]) {
        mid_[u] = first_[u];
        continue;
      }
      const auto fresh = static_cast<std::int32_t>(first_.size());
      first_.push_back(first_[u]);
      end_.push_back(mid_[u]);
      mid_.push_back(first_[u]);
      first_[u] = mid_[u];
      for (std::size_t i = first_.back(); i < end_.back(); ++i) block_[static_cast<std::size_t>(elems_[i])] = fresh;
      split(b, fresh);
    }
    touched_.clear();
  }

 private:
  static std::size_t Ub(std::int32_t b) { return static_cast<std::size_t>(b); }
  std::vector<std::int32_t> elems_;
  std::vector<std::size_t> loc_;
  std::vector<std::int32_t> block_;
  std::vector<std::size_t> first_, end_, mid_;
  std::vector<std::int32_t> touched_;
};

// Merges classes whose columns are equal, numbered by their first byte.
void MergeClasses(Dfa& dfa) {
  const auto k = static_cast<std::size_t>(dfa.ClassCount);
  const auto n = static_cast<std::size_t>(dfa.StateCount());
  // A hash of each column, in one pass over the rows; equal hashes are then compared in full.
  std::vector<std::uint64_t> hash(k, 0xcbf29ce484222325ull);
  for (std::size_t s = 0; s < n; ++s)
    for (std::size_t c = 0; c < k; ++c) hash[c] = (hash[c] ^ static_cast<std::uint32_t>(dfa.Next[s * k + c])) * 0x100000001b3ull;
  const auto sameColumn = [&](std::size_t a, std::size_t b) {
    for (std::size_t s = 0; s < n; ++s)
      if (dfa.Next[s * k + a] != dfa.Next[s * k + b]) return false;
    return true;
  };
  std::vector<std::size_t> kept;  // the first class of each merged class
  std::vector<std::uint16_t> merged(k);
  std::unordered_map<std::uint64_t, std::vector<std::uint16_t>> byHash;
  for (std::size_t c = 0; c < k; ++c) {
    auto& candidates = byHash[hash[c]];
    const auto found = std::find_if(candidates.begin(), candidates.end(),
                                    [&](std::uint16_t m) { return sameColumn(kept[m], c); });
    if (found != candidates.end()) {
      merged[c] = *found;
      continue;
    }
    merged[c] = static_cast<std::uint16_t>(kept.size());
    candidates.push_back(merged[c]);
    kept.push_back(c);
  }
  if (kept.size() == k) return;
  const std::size_t m = kept.size();
  std::vector<std::int32_t> next(n * m);
  for (std::size_t s = 0; s < n; ++s)
    for (std::size_t c = 0; c < m; ++c) next[s * m + c] = dfa.Next[s * k + kept[c]];
  for (auto& c : dfa.ClassOf) c = merged[c];
  dfa.Next = std::move(next);
  dfa.ClassCount = static_cast<int>(m);
}

}  // namespace

Dfa Minimise(const Dfa& in) {
  const auto n = static_cast<std::size_t>(in.StateCount());
  const auto k = static_cast<std::size_t>(in.ClassCount);
  if (n == 0 || k == 0) return NoMoves();

  // The moves backwards, per target: (source, class).
  struct In {
    std::int32_t source;
    std::int32_t cls;
  };
  std::vector<std::size_t> inStart(n + 1, 0);
  for (const std::int32_t t : in.Next)
    if (t >= 0) ++inStart[static_cast<std::size_t>(t) + 1];
  for (std::size_t t = 0; t < n; ++t) inStart[t + 1] += inStart[t];
  std::vector<In> ins(inStart[n]);
  {
    std::vector<std::size_t> fill(inStart.begin(), inStart.end() - 1);
    for (std::size_t s = 0; s < n; ++s)
      for (std::size_t c = 0; c < k; ++c)
        if (const std::int32_t t = in.Next[s * k + c]; t >= 0)
          ins[fill[static_cast<std::size_t>(t)]++] = {static_cast<std::int32_t>(s), static_cast<std::int32_t>(c)};
  }

  // Live states, found backwards from the accepting ones. See note [dead states].
  std::vector<char> live(n, 0);
  std::vector<std::int32_t> work;
  for (std::size_t s = 0; s < n; ++s)
    if (in.Accept[s] >= 0) live[s] = 1, work.push_back(static_cast<std::int32_t>(s));
  while (!work.empty()) {
    const auto t = static_cast<std::size_t>(work.back());
    work.pop_back();
    for (std::size_t i = inStart[t]; i < inStart[t + 1]; ++i)
      if (const auto p = static_cast<std::size_t>(ins[i].source); !live[p]) live[p] = 1, work.push_back(ins[i].source);
  }
  if (!live[static_cast<std::size_t>(in.Start)]) return NoMoves();

  // See note [refinement]. Dead states form blocks of their own that never split anything:
  // no move leads from them into a live state.
  std::vector<std::int32_t> labels(n);
  for (std::size_t s = 0; s < n; ++s) labels[s] = live[s] ? in.Accept[s] : -2;
  Partition part(labels);
  std::vector<std::size_t> weight(static_cast<std::size_t>(part.Count()), 0);  // moves into each block
  for (std::size_t s = 0; s < n; ++s) weight[static_cast<std::size_t>(part.BlockOf(static_cast<std::int32_t>(s)))] += inStart[s + 1] - inStart[s];
  std::vector<std::int32_t> worklist;
  std::vector<char> listed(static_cast<std::size_t>(part.Count()), 0);
  for (std::int32_t b = 0; b < part.Count(); ++b)
    if (live[static_cast<std::size_t>(part.Member(b, 0))]) worklist.push_back(b), listed[static_cast<std::size_t>(b)] = 1;
  const auto onSplit = [&](std::int32_t old, std::int32_t fresh) {
    std::size_t w = 0;
    for (std::size_t i = 0; i < part.Size(fresh); ++i) {
      const auto s = static_cast<std::size_t>(part.Member(fresh, i));
      w += inStart[s + 1] - inStart[s];
    }
    weight[static_cast<std::size_t>(old)] -= w;
    weight.push_back(w);
    listed.push_back(0);
    const bool both = listed[static_cast<std::size_t>(old)] != 0;
    const std::int32_t add = both || w <= weight[static_cast<std::size_t>(old)] ? fresh : old;
    worklist.push_back(add);
    listed[static_cast<std::size_t>(add)] = 1;
  };
  std::vector<std::int32_t> splitter;
  std::vector<std::vector<std::int32_t>> sources(k);  // per class, the states moving into the splitter
  std::vector<std::int32_t> classes;                   // the classes with sources
  while (!worklist.empty()) {
    const std::int32_t a = worklist.back();
    worklist.pop_back();
    listed[static_cast<std::size_t>(a)] = 0;
    splitter.clear();
    for (std::size_t i = 0; i < part.Size(a); ++i) splitter.push_back(part.Member(a, i));
    for (const std::int32_t t : splitter) {
      for (std::size_t i = inStart[static_cast<std::size_t>(t)]; i < inStart[static_cast<std::size_t>(t) + 1]; ++i) {
        auto& list = sources[static_cast<std::size_t>(ins[i].cls)];
        if (list.empty()) classes.push_back(ins[i].cls);
        list.push_back(ins[i].source);
      }
    }
    for (const std::int32_t c : classes) {
      auto& list = sources[static_cast<std::size_t>(c)];
      for (const std::int32_t s : list) part.Mark(s);
      part.Split(onSplit);
      list.clear();
    }
    classes.clear();
  }

  // The blocks as states, numbered breadth first from the start; a dead target is -1.
  std::vector<std::int32_t> order(static_cast<std::size_t>(part.Count()), -1);
  std::vector<std::int32_t> queue{part.BlockOf(in.Start)};
  order[static_cast<std::size_t>(queue[0])] = 0;
  Dfa out;
  out.ClassOf = in.ClassOf;
  out.ClassCount = in.ClassCount;
  out.Next.reserve(static_cast<std::size_t>(part.Count()) * k);
  for (std::size_t q = 0; q < queue.size(); ++q) {
    const auto rep = static_cast<std::size_t>(part.Member(queue[q], 0));
    out.Accept.push_back(in.Accept[rep]);
    for (std::size_t c = 0; c < k; ++c) {
      const std::int32_t t = in.Next[rep * k + c];
      std::int32_t to = -1;
      if (t >= 0 && live[static_cast<std::size_t>(t)]) {
        const std::int32_t b = part.BlockOf(t);
        std::int32_t& o = order[static_cast<std::size_t>(b)];
        if (o < 0) {
          o = static_cast<std::int32_t>(queue.size());
          queue.push_back(b);
        }
        to = o;
      }
      out.Next.push_back(to);
    }
  }
  MergeClasses(out);
  return out;
}

}  // namespace parvolen::regex
