// Edge tries of the productions: reading one token of a right side, and the sorted sibling
// lists of edges (find-or-insert through a slot, merging one trie into another).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// CheckEdge for an edge that fails it: prints the header without a record, else stBadEdgeCode.
[[nodiscard]] Status CheckEdgeFault(const Language* lang, std::int32_t edge);

// stBadEdgeCode for an index below 0 or above LastEdge; 0 (the empty list) is valid. Inline:
// every step of the analysis checks the edge it is given.
[[nodiscard]] inline Status CheckEdge(const Language* lang, std::int32_t edge) {
  if (lang != nullptr && edge >= 0 && edge <= lang->LastEdge) return stOk;
  return CheckEdgeFault(lang, edge);
}

// The nonterminal whose production prod an end edge closes; stBadEdgeCode for a production or
// owner out of range.
[[nodiscard]] Status EndOwner(const Language* lang, std::int32_t prod, std::int32_t& owner);

// Reads the token at text[pos] ("(t)", "[N]", "{a}", "<o>"): gives its number and type and
// moves pos past it. Statuses stEdgeLeftDelim, stEdgeRightDelim, stUnknownTerminal
// to stUnknownAction, or stNotAllocated when the name's table does not exist.
[[nodiscard]] Status EdgeScan(Language* lang, std::string_view text, std::size_t& pos, std::int32_t& code,
                              std::int32_t& whoAmI);

// Takes the next edge number, allocating the table on first use (stTooManyEdges when full or capacity 0).
[[nodiscard]] Status EdgeNew(Language* lang, std::int32_t& edge);

// Finds or inserts the edge (whoAmI, code) in the sorted list headed by the slot; gives its index.
[[nodiscard]] Status EdgeIns(Language* lang, std::int32_t* slot, std::int32_t code, std::int32_t whoAmI,
                             std::int32_t* edge);

// Merges the trie whose first list begins at source into the list headed by the slot.
[[nodiscard]] Status EdgeCopy(Language* lang, std::int32_t* slot, std::int32_t source);

}  // namespace parvolen
