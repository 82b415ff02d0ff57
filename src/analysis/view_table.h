// The view table: tries of terminal strings in sorted sibling lists, a Term of 0 being the
// lambda view (the string may end here).
#pragma once

#include <cstdint>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// ViewCheck for a view that fails it: prints the header without a record, else stBadViewCode.
[[nodiscard]] Status ViewCheckFault(const Language* lang, std::int32_t view);

// stBadViewCode for an index below 0 or above LastView; 0 (the empty list) is valid.
[[nodiscard]] inline Status ViewCheck(const Language* lang, std::int32_t view) {
  if (lang != nullptr && view >= 0 && view <= lang->LastView) return stOk;
  return ViewCheckFault(lang, view);
}

// Takes the next view number, allocating the table on first use (stTooManyViews when full or capacity 0).
[[nodiscard]] Status ViewNew(Language* lang, std::int32_t* view);

// Finds or inserts the view of terminal term in the sorted list headed by the slot. `after` is 0
// or a view of that list: when its terminal is smaller than term the search starts behind it, so
// a caller that inserts in ascending order walks the list once.
[[nodiscard]] Status ViewIns(Language* lang, std::int32_t* slot, std::int32_t term, std::int32_t* view,
                             std::int32_t after = 0);

// Merges the view trie whose first list begins at source into the list headed by the slot.
[[nodiscard]] Status ViewCopyTree(Language* lang, std::int32_t* slot, std::int32_t source);

}  // namespace parvolen
