#include "analysis/productions.h"

#include "analysis/edges.h"
#include "analysis/follow.h"
#include "analysis/nodes.h"
#include "analysis/views.h"
#include "base/console.h"
#include "base/stack_room.h"
#include "base/text.h"
#include "model/symbol_tables.h"

namespace parvolen {

Status ProdLine(Language& lang, std::string_view line) {
  if (!lang.NontTab.Exists()) return stNotAllocated;
  std::string_view left;
  std::string_view right;
  if (Status st = SplitAtDefines(line, left, right); st != stOk) return st;
  std::int32_t nont = 0;
  if (Status st = FindNonterminal(lang, left, nont); st != stOk) return st;
  return ProdAdd(lang, line, left, nont, right);
}

Status ProdAdd(Language& lang, std::string_view text, std::string_view left, std::int32_t nont,
               std::string_view right, std::vector<std::int32_t>* path) {
  if (nont < 1 || nont > lang.LastNonterminal) return stBadNonterminalCode;
  std::int32_t prod = 0;
  if (Status st = ProdNew(&lang, text, nont, prod); st != stOk) return st;

  // Direct left recursion: the right side begins with exactly "[" Left "]".
  const bool recursive = right.size() >= left.size() + 2 && right.front() == '[' &&
                         right.substr(1, left.size()) == left && right[left.size() + 1] == ']';
  if (recursive) return ProdIns(&lang, &lang.NontTab[nont].RecEdges, right.substr(left.size() + 2), prod, path);
  return ProdIns(&lang, &lang.NontTab[nont].ProdEdges, right, prod, path);
}

Status ProdNew(Language* lang, std::string_view line, std::int32_t nont, std::int32_t& prod) {
  if (lang == nullptr) {
    PrintDiagHeader("ProdNew");
    return stNotAllocated;
  }
  const TableGrowth grow{lang->ProdTab, lang->Productions, lang->LastProduction, stTooManyProductions};
  if (Status st = grow.Ready(); st != stOk) return st;
  // Record 0 holds the new text as cut to its field, the key the earlier lines are compared with.
  const std::string_view key = decltype(ProdRec::Text)::Cut(line.substr(0, kProdTextLength));
  lang->ProdTab[0].Text.Set(key);
  const std::int32_t same =
      lang->ProdIndex.Find(key, &lang->ProdTab[0], lang->LastProduction,
                           [lang](std::int32_t i) { return lang->ProdTab[i].Text.View(); });
  if (same > 0) {
    prod = same;
    return stProductionDefined;
  }
  if (Status st = grow.Take(prod); st != stOk) return st;
  lang->ProdTab[prod].Nont = nont;
  lang->ProdTab[prod].Text = lang->ProdTab[0].Text;
  return stOk;
}

Status ProdIns(Language* lang, std::int32_t* slot, std::string_view right, std::int32_t prod,
               std::vector<std::int32_t>* path) {
  if (lang == nullptr || slot == nullptr) {
    PrintDiagHeader("ProdIns");
    return stNotAllocated;
  }
  std::size_t pos = 0;
  while (pos < right.size()) {
    std::int32_t code = 0;
    std::int32_t whoAmI = 0;
    if (Status st = EdgeScan(lang, right, pos, code, whoAmI); st != stOk) return st;
    std::int32_t edge = 0;
    if (Status st = EdgeIns(lang, slot, code, whoAmI, &edge); st != stOk) return st;
    if (path != nullptr) path->push_back(edge);
    slot = &lang->EdgeTab[edge].Next;
  }
  std::int32_t end = 0;
  const Status st = EdgeIns(lang, slot, prod, kEdgeEnd, &end);
  if (st == stOk && path != nullptr) path->push_back(end);
  return st;
}

Status ProductionsEnd(LanguagePool& pool, std::int32_t handle) {
  Language* lang = pool.Record(handle);
  if (lang == nullptr) return stBadLanguageHandle;
  return RunWithStack(kAnalysisStackBytes, [lang]() -> Status {
    if (Status st = MkFolEdge(lang); st != stOk) return st;
    if (Status st = ViewMakeAll(lang); st != stOk) return st;
    return NodeRebuild(lang);
  });
}

}  // namespace parvolen
