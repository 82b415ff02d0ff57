// Third stage: the nondeterministic automaton made deterministic by the subset construction,
// over classes of bytes that no edge tells apart.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

#include "regex/automaton.h"
#include "regex/nfa.h"

namespace parvolen::regex {

// Classes of the bytes that every set treats alike, numbered in the order of their first byte;
// returns the number of classes.
int ByteClasses(const std::vector<std::bitset<256>>& sets, std::array<std::uint16_t, 256>& classOf);

// The deterministic automaton of `nfa`, states numbered in the order they are found (breadth
// first, classes in order), the start first; each state accepts the lowest rule whose accepting
// state is in its subset. Fills one report per rule. TooBig past a limit, `dfa` then incomplete.
// The work counted against Limits::MaxSubsetWork (NFA states visited, classes examined) is
// added to `work` when given.
[[nodiscard]] BuildOutcome Determinise(const Nfa& nfa, const Limits& limits, Dfa& dfa,
                                       std::vector<RuleReport>& reports, std::size_t* work = nullptr);

}  // namespace parvolen::regex
