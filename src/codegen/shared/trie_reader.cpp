#include "codegen/shared/trie_reader.h"

#include "codegen/shared/framing.h"

namespace parvolen {
namespace {

template <class Record>
bool InTable(const Table<Record>& table, std::int32_t index, std::int32_t last) {
  return table.Exists() && index >= 1 && index <= last && static_cast<std::size_t>(index) < table.Size();
}

}  // namespace

Status TrieReader::EdgeAt(std::int32_t index, const EdgeRec*& edge) const {
  if (!InTable(lang_.EdgeTab, index, lang_.LastEdge)) return stBadEdgeCode;
  edge = &lang_.EdgeTab[index];
  return stOk;
}

Status TrieReader::NodeAt(std::int32_t index, const NodeRec*& node) const {
  if (!InTable(lang_.NodeTab, index, lang_.LastNode)) return stBadNodeCode;
  node = &lang_.NodeTab[index];
  return stOk;
}

Status TrieReader::ViewAt(std::int32_t index, const ViewRec*& view) const {
  if (!InTable(lang_.ViewTab, index, lang_.LastView)) return stBadViewCode;
  view = &lang_.ViewTab[index];
  return stOk;
}

Status TrieReader::NameOf(std::int32_t whoAmI, std::int32_t code, std::string& ident) const {
  switch (whoAmI) {
    case kEdgeTerminal:
      if (!InTable(lang_.TermTab, code, lang_.LastTerminal)) return stBadTerminalCode;
      ident = Ident(lang_.TermTab[code].Name);
      return stOk;
    case kEdgeNonterminal:
      if (!InTable(lang_.NontTab, code, lang_.LastNonterminal)) return stBadNonterminalCode;
      ident = Ident(lang_.NontTab[code].Name);
      return stOk;
    case kEdgeAction:
      if (!InTable(lang_.ActionTab, code, lang_.LastAction)) return stBadActionCode;
      ident = Ident(lang_.ActionTab[code].Name);
      return stOk;
    case kEdgeOutput:
      if (!InTable(lang_.OutTermTab, code, lang_.LastOutTerm)) return stBadOutTermCode;
      ident = Ident(lang_.OutTermTab[code].Name);
      return stOk;
    default:
      return stBadEdgeType;
  }
}

}  // namespace parvolen
