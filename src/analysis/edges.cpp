#include "analysis/edges.h"

#include "base/console.h"
#include "base/stack_room.h"
#include "model/symbol_tables.h"

namespace parvolen {
namespace {

// Order of sibling lists: by type first, then by number.
bool Less(const EdgeRec& e, std::int32_t whoAmI, std::int32_t code) {
  return e.WhoAmI < whoAmI || (e.WhoAmI == whoAmI && e.Code < code);
}

}  // namespace

Status CheckEdgeFault(const Language* lang, std::int32_t edge) {
  if (lang == nullptr) {
    PrintDiagHeader("CheckEdge");
    return stNotAllocated;
  }
  if (edge < 0 || edge > lang->LastEdge) return stBadEdgeCode;
  return stOk;
}

Status EndOwner(const Language* lang, std::int32_t prod, std::int32_t& owner) {
  if (!lang->ProdTab.Exists() || prod < 1 || prod > lang->LastProduction) return stBadEdgeCode;
  owner = lang->ProdTab[prod].Nont;
  if (owner < 1 || owner > lang->LastNonterminal) return stBadEdgeCode;
  return stOk;
}

Status EdgeScan(Language* lang, std::string_view text, std::size_t& pos, std::int32_t& code,
                std::int32_t& whoAmI) {
  if (lang == nullptr) {
    PrintDiagHeader("EdgeScan");
    return stNotAllocated;
  }
  if (pos >= text.size()) return stEdgeLeftDelim;
  char close = 0;
  switch (text[pos]) {
    case '(': whoAmI = kEdgeTerminal; close = ')'; break;
    case '[': whoAmI = kEdgeNonterminal; close = ']'; break;
    case '{': whoAmI = kEdgeAction; close = '}'; break;
    case '<': whoAmI = kEdgeOutput; close = '>'; break;
    default: return stEdgeLeftDelim;
  }
  const std::size_t end = text.find(close, pos + 1);
  if (end == std::string_view::npos) return stEdgeRightDelim;
  // The name as it stands between the delimiters; the lookups compare its first 25 characters.
  const std::string_view name = text.substr(pos + 1, end - pos - 1);
  Status st = stOk;
  switch (whoAmI) {
    case kEdgeTerminal: st = FindTerminal(*lang, name, code); break;
    case kEdgeNonterminal: st = FindNonterminal(*lang, name, code); break;
    case kEdgeAction: st = FindAction(*lang, name, code); break;
    default: st = FindOutTerm(*lang, name, code); break;
  }
  if (st != stOk) return st;
  pos = end + 1;
  return stOk;
}

Status EdgeNew(Language* lang, std::int32_t& edge) {
  if (lang == nullptr) {
    PrintDiagHeader("EdgeNew");
    return stNotAllocated;
  }
  return TableGrowth{lang->EdgeTab, lang->Edges, lang->LastEdge, stTooManyEdges}.Append(edge);
}

Status EdgeIns(Language* lang, std::int32_t* slot, std::int32_t code, std::int32_t whoAmI, std::int32_t* edge) {
  if (lang == nullptr || slot == nullptr || edge == nullptr) {
    PrintDiagHeader("EdgeIns");
    if (lang == nullptr) Print(" Language handle\n");
    if (slot == nullptr) Print(" Target position\n");
    if (edge == nullptr) Print(" Next insertion position\n");
    return stNotAllocated;
  }
  // The finger only says where the search may start; a list's head needs none, so only lists
  // with a member past their head have one.
  const auto key = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(slot));
  std::int32_t* link = slot;
  if (*slot != 0) {
    const std::int32_t finger = lang->EdgeFingers.Find(key);
    if (finger >= 1 && finger <= lang->LastEdge && Less(lang->EdgeTab[finger], whoAmI, code))
      link = &lang->EdgeTab[finger].Altr;
  }
  while (*link != 0 && Less(lang->EdgeTab[*link], whoAmI, code)) link = &lang->EdgeTab[*link].Altr;
  if (*link != 0 && lang->EdgeTab[*link].WhoAmI == whoAmI && lang->EdgeTab[*link].Code == code) {
    *edge = *link;
    if (link != slot) lang->EdgeFingers.Entry(key) = *edge;
    return stOk;
  }
  const std::int32_t greater = *link;
  std::int32_t fresh = 0;
  if (Status st = EdgeNew(lang, fresh); st != stOk) return st;
  lang->EdgeTab[fresh] = EdgeRec{0, greater, 0, code, whoAmI};
  *link = fresh;
  *edge = fresh;
  if (link != slot) lang->EdgeFingers.Entry(key) = fresh;
  return stOk;
}

Status EdgeCopy(Language* lang, std::int32_t* slot, std::int32_t source) {
  if (lang == nullptr || slot == nullptr || !lang->EdgeTab.Exists()) {
    PrintDiagHeader("EdgeCopy");
    return stNotAllocated;
  }
  if (Status st = CheckEdge(lang, source); st != stOk) return st;
  if (StackNearlyFull()) return stNoMem;
  for (std::int32_t m = source; m != 0; m = lang->EdgeTab[m].Altr) {
    std::int32_t copy = 0;
    if (Status st = EdgeIns(lang, slot, lang->EdgeTab[m].Code, lang->EdgeTab[m].WhoAmI, &copy); st != stOk)
      return st;
    if (Status st = EdgeCopy(lang, &lang->EdgeTab[copy].Next, lang->EdgeTab[m].Next); st != stOk) return st;
  }
  return stOk;
}

}  // namespace parvolen
