// Regular expressions of token definitions, last stage: every rule (keyword, symbol, token,
// skip pattern) in one minimal deterministic automaton over bytes.
//
//   regex::Dfa dfa;
//   std::vector<regex::RuleReport> reports;
//   std::int32_t blamed = -1;
//   if (regex::Build(rules, regex::Limits{}, dfa, reports, blamed) == regex::BuildOutcome::TooBig) ...
//   regex::Match m = regex::Longest(dfa, text, pos);   // the longest match, the first rule at equal length
//
// The stages: nfa.h (the rules as one nondeterministic automaton), subset.h (made deterministic over
// classes of equivalent bytes), minimise.h (the minimal automaton); each has a text dump.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "regex/syntax.h"

namespace parvolen::regex {

struct Dfa {
  std::array<std::uint16_t, 256> ClassOf{};  // byte -> equivalence class
  int ClassCount = 0;
  std::vector<std::int32_t> Next;    // Next[state * ClassCount + class]: the next state, -1: none (dead)
  std::vector<std::int32_t> Accept;  // per state: the rule matched when the match ends here, -1: none
  std::int32_t Start = 0;
  [[nodiscard]] std::int32_t StateCount() const { return static_cast<std::int32_t>(Accept.size()); }
};

// The bounds that keep a build finite in time and memory; beyond one of them Build gives TooBig.
struct Limits {
  std::size_t MaxNfaStates = 100000;  // states of the nondeterministic automaton (repetitions expand)
  std::size_t MaxDfaStates = 20000;   // states of the subset construction, the dead state not counted
  // NFA states the subset construction may visit, all states together: bounds its time and the
  // memory of the subsets it keeps, which the state count alone does not.
  std::size_t MaxSubsetWork = 10000000;
};

struct RuleReport {
  bool Matched = false;          // some input is matched by this rule (it wins in some state)
  std::int32_t ShadowedBy = -1;  // when not matched but it does accept some input: the rule that wins there
};

enum class BuildOutcome { Ok, TooBig };

// Builds the minimal automaton of the rules, given in priority order: at equal match length the
// rule with the lower index wins (the longest match first). A null rule matches nothing. Fills
// one report per rule (see note [shadowed rules] in subset.cpp). On TooBig, `blamed` names the
// first rule whose automaton alone exceeds the limits, else the rule whose addition, rules taken
// in order, first makes the automaton exceed them; `dfa` is then left empty.
[[nodiscard]] BuildOutcome Build(const std::vector<const Tree*>& rules, const Limits& limits, Dfa& dfa,
                                 std::vector<RuleReport>& reports, std::int32_t& blamed);

// States, accepts and transitions by byte ranges: a line per state, `1 accept 0: [0-9a-z]->1`.
[[nodiscard]] std::string Dump(const Dfa& dfa);

struct Match {
  std::int32_t Rule = -1;
  std::size_t Length = 0;
};

// The longest match of the automaton at text[pos]: the rule and length; rule -1 when nothing
// matches. A rule that matches the empty string gives a match of length 0.
[[nodiscard]] Match Longest(const Dfa& dfa, std::string_view text, std::size_t pos);

}  // namespace parvolen::regex
