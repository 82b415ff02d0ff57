#include "analysis/follow.h"

#include "analysis/edges.h"
#include "base/console.h"
#include "base/stack_room.h"

namespace parvolen {

Status EdgeFol(Language* lang, std::int32_t first) {
  if (lang == nullptr || !lang->EdgeTab.Exists() || !lang->NontTab.Exists()) {
    PrintDiagHeader("EdgeFol");
    return stNotAllocated;
  }
  if (Status st = CheckEdge(lang, first); st != stOk) return st;
  if (StackNearlyFull()) return stNoMem;
  for (std::int32_t m = first; m != 0; m = lang->EdgeTab[m].Altr) {
    if (m < 1 || m > lang->LastEdge) return stBadEdgeCode;
    const EdgeRec& edge = lang->EdgeTab[m];
    if (edge.WhoAmI == kEdgeNonterminal) {
      if (edge.Code < 1 || edge.Code > lang->LastNonterminal) return stBadNonterminalCode;
      if (Status st = EdgeCopy(lang, &lang->NontTab[edge.Code].FolEdges, edge.Next); st != stOk) return st;
    }
    if (Status st = EdgeFol(lang, edge.Next); st != stOk) return st;
  }
  return stOk;
}

Status MkFolEdge(Language* lang) {
  if (lang == nullptr || !lang->NontTab.Exists()) {
    PrintDiagHeader("MkFolEdge");
    return stNotAllocated;
  }
  for (std::int32_t n = 1; n <= lang->LastNonterminal; ++n) {
    if (Status st = EdgeFol(lang, lang->NontTab[n].ProdEdges); st != stOk) return st;
    if (lang->NontTab[n].RecEdges != 0) {
      if (Status st = EdgeFol(lang, lang->NontTab[n].RecEdges); st != stOk) return st;
    }
  }
  return stOk;
}

}  // namespace parvolen
