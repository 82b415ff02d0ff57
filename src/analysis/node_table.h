// The node table: decision lists, tries of lookahead terminals in sorted sibling lists whose
// nodes name the member of an edge list that their path selects.
#pragma once

#include <cstdint>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Takes the next node number (allocating the table on first use; stTooManyNodes when full or capacity 0)
// and writes it into the slot; the node is zero.
[[nodiscard]] Status NodeNew(Language* lang, std::int32_t* slot);

// Finds the node of terminal term (0 standing for EoiCode) in the list headed by the slot, or
// inserts one that selects `chosen`; a node found keeps its member. Gives 0 when term and
// EoiCode are both 0. `after` is 0 or a node of that list where the search may start when its
// terminal is smaller than term.
[[nodiscard]] Status NodeIns(Language* lang, std::int32_t* slot, std::int32_t term, std::int32_t chosen,
                             std::int32_t* node, std::int32_t after = 0);

// Where the search for term in the list headed by the slot may start: behind `after` (0 or a
// node of that list) when its terminal is smaller, else at the slot.
std::int32_t* NodeSearchStart(Language* lang, std::int32_t* slot, std::int32_t after, std::int32_t term);

}  // namespace parvolen
