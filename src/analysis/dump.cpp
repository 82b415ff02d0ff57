#include "analysis/dump.h"

#include "base/stack_room.h"

namespace parvolen {
namespace {

std::string Number(const char* prefix, std::int32_t n) { return prefix + std::to_string(n); }

std::string TerminalName(const Language& lang, std::int32_t t) {
  if (t >= 1 && t <= lang.LastTerminal && lang.TermTab.Exists()) return std::string(lang.TermTab[t].Name.View());
  return Number("#", t);
}

std::string EdgeText(const Language& lang, std::int32_t e) {
  if (e < 1 || e > lang.LastEdge) return Number("?edge", e);
  const EdgeRec& edge = lang.EdgeTab[e];
  auto named = [&](const auto& table, std::int32_t last, const char* open, const char* close) {
    if (edge.Code >= 1 && edge.Code <= last && table.Exists())
      return open + std::string(table[edge.Code].Name.View()) + close;
    return open + Number("#", edge.Code) + close;
  };
  switch (edge.WhoAmI) {
    case kEdgeTerminal: return named(lang.TermTab, lang.LastTerminal, "(", ")");
    case kEdgeNonterminal: return named(lang.NontTab, lang.LastNonterminal, "[", "]");
    case kEdgeAction: return named(lang.ActionTab, lang.LastAction, "{", "}");
    case kEdgeOutput: return named(lang.OutTermTab, lang.LastOutTerm, "<", ">");
    case kEdgeEnd: return "end(" + std::to_string(edge.Code) + ")";
    default: return Number("?type", edge.WhoAmI);
  }
}

// What every trie shares: a record with Next and Altr fields in a table with a count.
template <class Record, class Label>
std::string DumpList(const Table<Record>& table, std::int32_t last, std::int32_t first, const Label& label) {
  if (first == 0) return "-";
  if (StackNearlyFull()) return "...";
  std::string items;
  std::int32_t count = 0;
  for (std::int32_t i = first; i != 0; i = table[i].Altr) {
    if (count++ > 0) items += " | ";
    // An index out of range, or more members than records (a list running in a circle).
    if (i < 0 || i > last || count > last) {
      items += "?";
      break;
    }
    items += label(i);
    if (table[i].Next != 0) items += " -> " + DumpList(table, last, table[i].Next, label);
  }
  return count == 1 ? items : "[ " + items + " ]";
}

void DumpEdgeNodes(const Language& lang, std::int32_t first, std::string& out) {
  if (StackNearlyFull()) return;
  for (std::int32_t e = first; e >= 1 && e <= lang.LastEdge; e = lang.EdgeTab[e].Altr) {
    if (lang.EdgeTab[e].Node != 0)
      out += "  Node of edge " + std::to_string(e) + " " + EdgeText(lang, e) + ": " +
             DumpNodes(lang, lang.EdgeTab[e].Node) + "\n";
    DumpEdgeNodes(lang, lang.EdgeTab[e].Next, out);
  }
}

}  // namespace

std::string DumpEdges(const Language& lang, std::int32_t first) {
  return DumpList(lang.EdgeTab, lang.LastEdge, first, [&](std::int32_t e) { return EdgeText(lang, e); });
}

std::string DumpViews(const Language& lang, std::int32_t first) {
  return DumpList(lang.ViewTab, lang.LastView, first, [&](std::int32_t v) {
    const std::int32_t t = lang.ViewTab[v].Term;
    return t == 0 ? std::string("lambda") : TerminalName(lang, t);
  });
}

std::string DumpNodes(const Language& lang, std::int32_t first) {
  return DumpList(lang.NodeTab, lang.LastNode, first, [&](std::int32_t n) {
    const NodeRec& node = lang.NodeTab[n];
    return TerminalName(lang, node.Term) + " => " + (node.Edge == 0 ? std::string("*") : EdgeText(lang, node.Edge));
  });
}

std::string DumpLanguage(const Language& lang) {
  std::string out;
  for (std::int32_t n = 1; n <= lang.LastNonterminal; ++n) {
    const NontRec& nont = lang.NontTab[n];
    out += std::string(nont.Name.View()) + ":\n";
    out += "  ProdEdges: " + DumpEdges(lang, nont.ProdEdges) + "\n";
    out += "  RecEdges: " + DumpEdges(lang, nont.RecEdges) + "\n";
    out += "  FolEdges: " + DumpEdges(lang, nont.FolEdges) + "\n";
    out += "  First: " + DumpViews(lang, nont.First) + "\n";
    out += "  PureDLRF: " + DumpViews(lang, nont.PureDLRF) + "\n";
    out += "  DLRF: " + DumpViews(lang, nont.DLRF) + "\n";
    out += "  NLRF: " + DumpViews(lang, nont.NLRF) + "\n";
    out += "  Follow: " + DumpViews(lang, nont.Follow) + "\n";
    out += "  ProdNodes: " + DumpNodes(lang, nont.ProdNodes) + "\n";
    out += "  RecNodes: " + DumpNodes(lang, nont.RecNodes) + "\n";
    DumpEdgeNodes(lang, nont.ProdEdges, out);
    DumpEdgeNodes(lang, nont.RecEdges, out);
  }
  return out;
}

}  // namespace parvolen
