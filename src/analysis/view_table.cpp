#include "analysis/view_table.h"

#include "base/console.h"
#include "base/stack_room.h"

namespace parvolen {

Status ViewCheckFault(const Language* lang, std::int32_t view) {
  if (lang == nullptr) {
    PrintDiagHeader("ViewCheck");
    return stNotAllocated;
  }
  if (view < 0 || view > lang->LastView) return stBadViewCode;
  return stOk;
}

Status ViewNew(Language* lang, std::int32_t* view) {
  if (lang == nullptr || view == nullptr) {
    Print("*** ViewNew:\n");
    if (lang == nullptr) Print(" Language info\n");
    if (view == nullptr) Print(" Target space\n");
    return stNotAllocated;
  }
  return TableGrowth{lang->ViewTab, lang->Views, lang->LastView, stTooManyViews}.Append(*view);
}

Status ViewIns(Language* lang, std::int32_t* slot, std::int32_t term, std::int32_t* view, std::int32_t after) {
  // The same header as ViewNew, which it calls.
  if (lang == nullptr || slot == nullptr || view == nullptr) {
    Print("*** ViewNew:\n");
    if (lang == nullptr) Print(" Language info\n");
    if (slot == nullptr) Print(" Target space\n");
    if (view == nullptr) Print(" Continue pointer\n");
    return stNotAllocated;
  }
  std::int32_t* link = slot;
  if (after != 0 && lang->ViewTab[after].Term < term) link = &lang->ViewTab[after].Altr;
  while (*link != 0 && lang->ViewTab[*link].Term < term) link = &lang->ViewTab[*link].Altr;
  if (*link != 0 && lang->ViewTab[*link].Term == term) {
    *view = *link;
    return stOk;
  }
  const std::int32_t greater = *link;
  std::int32_t fresh = 0;
  if (lang->ViewTab.Exists() && lang->LastView < lang->Views) {
    fresh = ++lang->LastView;  // what ViewNew does when the table has room
  } else if (Status st = ViewNew(lang, &fresh); st != stOk) {
    return st;
  }
  lang->ViewTab[fresh] = ViewRec{0, greater, term};
  *link = fresh;
  *view = fresh;
  return stOk;
}

Status ViewCopyTree(Language* lang, std::int32_t* slot, std::int32_t source) {
  if (lang == nullptr || slot == nullptr) {
    PrintDiagHeader("ViewCopyTree");
    if (lang == nullptr) Print(" Language info\n");
    if (slot == nullptr) Print(" Target\n");
    return stNotAllocated;
  }
  if (Status st = ViewCheck(lang, source); st != stOk) return st;
  if (StackNearlyFull()) return stNoMem;
  std::int32_t copy = 0;  // the copy made last: the source list ascends, so the next goes behind it
  for (std::int32_t m = source; m != 0; m = lang->ViewTab[m].Altr) {
    if (Status st = ViewIns(lang, slot, lang->ViewTab[m].Term, &copy, copy); st != stOk) return st;
    if (Status st = ViewCopyTree(lang, &lang->ViewTab[copy].Next, lang->ViewTab[m].Next); st != stOk) return st;
  }
  return stOk;
}

}  // namespace parvolen
