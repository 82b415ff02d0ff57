// Views of the nonterminals: for every nonterminal the lookahead strings that begin it
// (First), that begin its left-recursive tails (PureDLRF), that can follow it through those
// tails (DLRF) or elsewhere (NLRF), and the union of the last two (Follow).
#pragma once

#include <cstdint>

#include "analysis/cont_stack.h"
#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Highest lookahead; the work marks have one column per remaining lookahead 0 to this.
inline constexpr std::int32_t kMaxLookahead = 5;

// Merges into the view slot the strings of at most `d` terminals (the remaining lookahead) that
// the edge list can produce; the stack `k` holds the continuations of the nonterminals entered,
// and at the end of everything `f` (follow) continues into the follow trie of the production's
// owner. stNotKindAny when a nonterminal is entered again at the same remaining lookahead.
[[nodiscard]] Status ViewMakeOne(Language* lang, std::int32_t edges, std::int32_t* slot, std::int32_t d, ContStack& k,
                                 bool f);

// Builds the five views of every nonterminal, in the order of the nonterminal table.
[[nodiscard]] Status ViewMakeAll(Language* lang);

}  // namespace parvolen
