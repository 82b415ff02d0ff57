#include "analysis/node_table.h"

#include "analysis/edges.h"
#include "base/console.h"

namespace parvolen {

Status NodeNew(Language* lang, std::int32_t* slot) {
  if (lang == nullptr || slot == nullptr) {
    PrintDiagHeader("NodeNew");
    return stNotAllocated;
  }
  return TableGrowth{lang->NodeTab, lang->Nodes, lang->LastNode, stTooManyNodes}.Append(*slot);
}

std::int32_t* NodeSearchStart(Language* lang, std::int32_t* slot, std::int32_t after, std::int32_t term) {
  if (after != 0 && lang->NodeTab[after].Term < term) return &lang->NodeTab[after].Altr;
  return slot;
}

Status NodeIns(Language* lang, std::int32_t* slot, std::int32_t term, std::int32_t chosen, std::int32_t* node,
               std::int32_t after) {
  if (lang == nullptr || slot == nullptr || node == nullptr) {
    PrintDiagHeader("NodeIns");
    if (lang == nullptr) Print(" Language handle\n");
    if (slot == nullptr) Print(" Target position\n");
    if (node == nullptr) Print(" Next insertion position\n");
    return stNotAllocated;
  }
  if (Status st = CheckEdge(lang, chosen); st != stOk) return st;
  if (term == 0) term = lang->EoiCode;
  if (term == 0) {
    *node = 0;
    return stOk;
  }
  std::int32_t* link = NodeSearchStart(lang, slot, after, term);
  while (*link != 0 && lang->NodeTab[*link].Term < term) link = &lang->NodeTab[*link].Altr;
  if (*link != 0 && lang->NodeTab[*link].Term == term) {
    *node = *link;
    return stOk;
  }
  const std::int32_t greater = *link;
  if (Status st = NodeNew(lang, link); st != stOk) return st;
  lang->NodeTab[*link] = NodeRec{0, greater, term, chosen};
  *node = *link;
  return stOk;
}

}  // namespace parvolen
