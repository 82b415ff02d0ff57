// Second stage: the rules as one nondeterministic automaton over bytes, with empty moves.
// A start state moves without input to the start of each rule; each rule has one accepting state.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "regex/syntax.h"

namespace parvolen::regex {

struct Nfa {
  struct Edge {
    std::int32_t Set;  // index in Sets
    std::int32_t To;
  };
  std::vector<std::bitset<256>> Sets;   // the distinct byte sets of the edges
  std::vector<std::int32_t> EdgeStart;  // per state, one more at the end: its edges are Edges[EdgeStart[s], EdgeStart[s + 1])
  std::vector<Edge> Edges;
  std::vector<std::int32_t> EpsStart;  // the same for the empty moves
  std::vector<std::int32_t> Eps;
  std::vector<std::int32_t> Accept;  // per state: the rule whose match ends here, -1: none
  std::int32_t Start = 0;
  std::int32_t RuleCount = 0;
  [[nodiscard]] std::int32_t StateCount() const { return static_cast<std::int32_t>(Accept.size()); }
};

// The states MakeNfa makes for one rule (a null rule: its start alone). Saturates far above any
// limit, so that `x{1000}{1000}{1000}` is counted without overflow before anything is made.
[[nodiscard]] std::uint64_t NfaStates(const Tree* rule);

// The automaton of the rules: 1 + the sum of their NfaStates states.
[[nodiscard]] Nfa MakeNfa(const std::vector<const Tree*>& rules);

// A line per state: `3: a->4 eps->5 accept 0`, and the start first.
[[nodiscard]] std::string Dump(const Nfa& nfa);

}  // namespace parvolen::regex
