// Note [blame by prefixes]
// When the automaton of all rules is too big, the rule to blame is found by building a
// logarithmic number of prefixes. The subset construction of some of the rules has no more
// states than that of all of them: every subset it makes is reached by some input, and is the
// part, over those rules' states, of the subset of the whole that the same input reaches. So the
// prefixes that exceed the state limit are the longer ones, and a binary search finds the
// shortest, rules[0..p]; its last rule is the one whose addition makes the automaton too big (the
// work limit follows the same argument closely if not exactly, and the search still ends at a
// prefix that exceeds while the one before it fits). A rule that is too big alone makes every
// prefix holding it too big, so none lies before p; the rules after p are tried alone, in order,
// and the first that is too big by itself is blamed instead of p. Those trials share the work of
// one construction (Limits::MaxSubsetWork), so that many rules that each come near a limit cannot
// make the search slow; when that work is spent, p is blamed. The counts of the NFA are known
// without building it, and are checked first in the same order.
#include <algorithm>

#include "regex/automaton.h"
#include "regex/byte_text.h"
#include "regex/minimise.h"
#include "regex/nfa.h"
#include "regex/subset.h"

namespace parvolen::regex {
namespace {

bool TooBig(const std::vector<const Tree*>& rules, const Limits& limits, std::size_t* work = nullptr) {
  Dfa dfa;
  std::vector<RuleReport> reports;
  return Determinise(MakeNfa(rules), limits, dfa, reports, work) == BuildOutcome::TooBig;
}

// See note [blame by prefixes]; all of `rules` together are too big.
std::int32_t Blame(const std::vector<const Tree*>& rules, const Limits& limits) {
  std::size_t fits = 0, exceeds = rules.size();  // prefixes by length: none fits, all exceed
  while (exceeds - fits > 1) {
    const std::size_t mid = fits + (exceeds - fits) / 2;
    const std::vector<const Tree*> prefix(rules.begin(), rules.begin() + static_cast<std::ptrdiff_t>(mid));
    (TooBig(prefix, limits) ? exceeds : fits) = mid;
  }
  std::size_t work = 0;
  for (std::size_t i = exceeds; i < rules.size() && work <= limits.MaxSubsetWork; ++i)
    if (TooBig({rules[i]}, limits, &work)) return static_cast<std::int32_t>(i);
  return static_cast<std::int32_t>(exceeds - 1);
}

}  // namespace

BuildOutcome Build(const std::vector<const Tree*>& rules, const Limits& limits, Dfa& dfa,
                   std::vector<RuleReport>& reports, std::int32_t& blamed) {
  dfa = Dfa{};
  reports.assign(rules.size(), RuleReport{});
  blamed = -1;
  std::uint64_t total = 1;  // the start state
  for (std::size_t i = 0; i < rules.size(); ++i) {
    if (1 + NfaStates(rules[i]) > limits.MaxNfaStates) {
      blamed = static_cast<std::int32_t>(i);
      return BuildOutcome::TooBig;
    }
  }
  for (std::size_t i = 0; i < rules.size(); ++i) {
    total += NfaStates(rules[i]);
    if (total > limits.MaxNfaStates) {
      blamed = static_cast<std::int32_t>(i);
      return BuildOutcome::TooBig;
    }
  }
  Dfa raw;
  if (Determinise(MakeNfa(rules), limits, raw, reports) == BuildOutcome::TooBig) {
    reports.assign(rules.size(), RuleReport{});
    blamed = Blame(rules, limits);
    return BuildOutcome::TooBig;
  }
  dfa = Minimise(raw);
  return BuildOutcome::Ok;
}

std::string Dump(const Dfa& dfa) {
  std::string out = "start " + std::to_string(dfa.Start) + ", " + std::to_string(dfa.StateCount()) + " states, " +
                    std::to_string(dfa.ClassCount) + " classes\n";
  const auto k = static_cast<std::size_t>(dfa.ClassCount);
  for (std::int32_t s = 0; s < dfa.StateCount(); ++s) {
    const auto u = static_cast<std::size_t>(s);
    out += std::to_string(s);
    if (dfa.Accept[u] >= 0) out += " accept " + std::to_string(dfa.Accept[u]);
    out += ":";
    // The bytes of each target together, targets in the order of their first byte.
    std::vector<std::int32_t> targets;
    std::vector<std::bitset<256>> sets;
    for (std::size_t b = 0; b < 256; ++b) {
      const std::int32_t t = dfa.Next[u * k + dfa.ClassOf[b]];
      if (t < 0) continue;
      const auto at = std::find(targets.begin(), targets.end(), t);
      if (at == targets.end()) {
        targets.push_back(t);
        sets.emplace_back();
        sets.back().set(b);
      } else {
        sets[static_cast<std::size_t>(at - targets.begin())].set(b);
      }
    }
    for (std::size_t i = 0; i < targets.size(); ++i) out += " " + BytesText(sets[i]) + "->" + std::to_string(targets[i]);
    out += "\n";
  }
  return out;
}

Match Longest(const Dfa& dfa, std::string_view text, std::size_t pos) {
  Match best;
  if (dfa.StateCount() == 0 || pos > text.size()) return best;
  const auto k = static_cast<std::size_t>(dfa.ClassCount);
  std::int32_t s = dfa.Start;
  if (dfa.Accept[static_cast<std::size_t>(s)] >= 0) best = {dfa.Accept[static_cast<std::size_t>(s)], 0};
  for (std::size_t i = pos; i < text.size(); ++i) {
    s = dfa.Next[static_cast<std::size_t>(s) * k + dfa.ClassOf[static_cast<unsigned char>(text[i])]];
    if (s < 0) break;
    if (const std::int32_t rule = dfa.Accept[static_cast<std::size_t>(s)]; rule >= 0) best = {rule, i - pos + 1};
  }
  return best;
}

}  // namespace parvolen::regex
