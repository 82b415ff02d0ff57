// Fourth stage: the minimal automaton, with canonical numbers.
#pragma once

#include "regex/automaton.h"

namespace parvolen::regex {

// The minimal automaton accepting, from every input, the same rule as `dfa` (see note
// [dead states] in minimise.cpp): states from which no rule can be reached become the dead
// state -1, equivalent states with the same accepted rule merge, classes that no state tells
// apart merge. States are numbered breadth first from the start (0), classes by their first
// byte, so that equal automata come out equal.
[[nodiscard]] Dfa Minimise(const Dfa& dfa);

}  // namespace parvolen::regex
