// Decision lists and the kind check: for every edge list where the productions part, a trie
// of lookahead strings that tells which member to take. Two members claiming the same full
// string make the grammar not kind for its lookahead (stNotKindGiven).
#pragma once

#include <cstdint>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Builds the decision lists of the ProdEdges and RecEdges tries of every nonterminal.
[[nodiscard]] Status NodeRebuild(Language* lang);

// Builds, into the slot, the decision list of the edge list at `edges` (when it has two or
// more members, or always with AllAheads), and those of every list below it.
[[nodiscard]] Status MakeNodeTree(Language* lang, std::int32_t* slot, std::int32_t edges);

// `c` is the lookahead: the number of terminals of each string the decision list tells apart.

// Adds the strings of `first` and of each later member of its list, each member selecting itself.
[[nodiscard]] Status NodeNarrow(Language* lang, std::int32_t* slot, std::int32_t first, std::int32_t c);

// Adds the strings of the whole edge list at `edges`, all selecting `chosen`.
[[nodiscard]] Status NodeWide(Language* lang, std::int32_t* slot, std::int32_t edges, std::int32_t chosen,
                              std::int32_t c);

// Merges the strings of the view list at `views` for `chosen`: a lambda view goes on with the
// recurring list, then the continuation edges, or else the end-of-input terminal. A string
// claimed by another member at the last level is stNotKindGiven, or is passed over when tolerant.
[[nodiscard]] Status NodeFromView(Language* lang, std::int32_t* slot, std::int32_t views, std::int32_t chosen,
                                  std::int32_t c, std::int32_t continuation, std::int32_t recurring, bool tolerant);

}  // namespace parvolen
