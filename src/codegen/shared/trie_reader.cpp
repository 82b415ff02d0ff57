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

template <class Record>
std::string_view TrieReader::IdentOf(Idents& idents, const Table<Record>& table, std::int32_t code,
                                     std::int32_t last) const {
  const auto at = static_cast<std::size_t>(code);
  if (idents.views.size() <= at) idents.views.resize(static_cast<std::size_t>(last) + 1);
  std::string_view& view = idents.views[at];
  if (view.empty()) {
    view = table[code].Name.View();
    if (view.find(' ') != std::string_view::npos)
      view = *idents.made.emplace_back(std::make_unique<std::string>(MkIdent(view)));
  }
  return view;
}

Status TrieReader::NameOf(std::int32_t whoAmI, std::int32_t code, std::string_view& ident) const {
  switch (whoAmI) {
    case kEdgeTerminal:
      if (!InTable(lang_.TermTab, code, lang_.LastTerminal)) return stBadTerminalCode;
      ident = IdentOf(idents_[0], lang_.TermTab, code, lang_.LastTerminal);
      return stOk;
    case kEdgeNonterminal:
      if (!InTable(lang_.NontTab, code, lang_.LastNonterminal)) return stBadNonterminalCode;
      ident = IdentOf(idents_[1], lang_.NontTab, code, lang_.LastNonterminal);
      return stOk;
    case kEdgeAction:
      if (!InTable(lang_.ActionTab, code, lang_.LastAction)) return stBadActionCode;
      ident = IdentOf(idents_[2], lang_.ActionTab, code, lang_.LastAction);
      return stOk;
    case kEdgeOutput:
      if (!InTable(lang_.OutTermTab, code, lang_.LastOutTerm)) return stBadOutTermCode;
      ident = IdentOf(idents_[3], lang_.OutTermTab, code, lang_.LastOutTerm);
      return stOk;
    default:
      return stBadEdgeType;
  }
}

}  // namespace parvolen
