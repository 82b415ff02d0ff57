#include "findings/grammar.h"
#include "inspect/json.h"
#include "inspect/writers.h"

namespace parvolen::inspect {
namespace {

// A Graphviz string: quotes and backslashes escaped, a line end as the escape \n, other
// control characters and bytes that are not UTF-8 replaced by '?'.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t n = Utf8Length(text, i);
      out.append(n != 0 ? text.substr(i, n) : "?");
      i += n != 0 ? n : 1;
      continue;
    }
    if (c == '\n') {
      out += "\\n";
    } else {
      if (c == '"' || c == '\\') out += '\\';
      out += c < 0x20 ? '?' : static_cast<char>(c);
    }
    ++i;
  }
  return out + "\"";
}

class DotWriter {
 public:
  DotWriter(const Grammar& grammar) : grammar_(grammar), lang_(grammar.Lang()) {}

  void Nonterminal(std::int32_t n, std::string& out) {
    const NontRec& nont = lang_.NontTab[n];
    const std::string id = std::to_string(n);
    out += "  subgraph \"cluster_" + id + "\" {\n    label=" + Quoted(grammar_.NontName(n)) + ";\n";
    out += "    n" + id + " [label=" + Quoted(grammar_.NontName(n)) + ", shape=ellipse];\n";
    Trie("n" + id, nont.ProdEdges, nont.ProdNodes, out);
    if (nont.RecEdges != 0) {
      out += "    t" + id + " [label=" + Quoted(grammar_.NontName(n) + " tails") + ", shape=ellipse];\n";
      Trie("t" + id, nont.RecEdges, nont.RecNodes, out);
    }
    out += "  }\n";
  }

 private:
  [[nodiscard]] bool ValidEdge(std::int32_t e) const { return e >= 1 && e <= lang_.LastEdge; }

  std::string EdgeLabel(std::int32_t e) const {
    const EdgeRec& edge = lang_.EdgeTab[e];
    if (edge.WhoAmI != kEdgeEnd) return grammar_.EdgeText(e);
    const auto& prods = grammar_.Productions();
    if (edge.Code >= 1 && static_cast<std::size_t>(edge.Code) < prods.size() && prods[edge.Code].Line != 0)
      return "end\nline " + std::to_string(prods[edge.Code].Line);
    return "end\nproduction " + std::to_string(edge.Code);
  }

  // The list at first hangs below `parent`; its decision list (when any) is drawn beside it.
  void Trie(const std::string& parent, std::int32_t first, std::int32_t decision, std::string& out) {
    struct Pending {
      std::string parent;
      std::int32_t first;
      std::int32_t decision;
    };
    std::vector<Pending> lists{{parent, first, decision}};
    std::int64_t budget = lang_.LastEdge;
    while (!lists.empty()) {
      const Pending at = lists.back();
      lists.pop_back();
      for (std::int32_t e = at.first; ValidEdge(e) && budget-- > 0; e = lang_.EdgeTab[e].Altr) {
        const EdgeRec& edge = lang_.EdgeTab[e];
        const std::string id = "e" + std::to_string(e);
        out += "    " + id + " [label=" + Quoted(EdgeLabel(e)) + (edge.WhoAmI == kEdgeEnd ? ", shape=plaintext" : "") + "];\n";
        out += "    " + at.parent + " -> " + id + ";\n";
        if (ValidEdge(edge.Next)) lists.push_back({id, edge.Next, edge.Node});
      }
      Decisions(at.parent, at.decision, out);
    }
  }

  // Decision nodes: a diamond per terminal, levels linked, a dashed arrow to the member chosen;
  // a level-1 node that leaves the choice to a later level is red: the parser cannot take it.
  void Decisions(const std::string& owner, std::int32_t decision, std::string& out) {
    struct Pending {
      std::string from;
      std::int32_t first;
      bool top;
    };
    std::vector<Pending> lists{{owner, decision, true}};
    std::int64_t budget = lang_.LastNode;
    while (!lists.empty()) {
      const Pending at = lists.back();
      lists.pop_back();
      for (std::int32_t d = at.first; d >= 1 && d <= lang_.LastNode && budget-- > 0; d = lang_.NodeTab[d].Altr) {
        const NodeRec& node = lang_.NodeTab[d];
        const std::string id = "d" + std::to_string(d);
        out += "    " + id + " [label=" + Quoted(grammar_.TermName(node.Term)) + ", shape=diamond";
        if (at.top && node.Edge == 0) out += ", color=red";
        out += "];\n    " + at.from + " -> " + id + (at.top ? " [style=dotted]" : "") + ";\n";
        if (node.Edge != 0) out += "    " + id + " -> e" + std::to_string(node.Edge) + " [style=dashed, color=blue];\n";
        if (node.Next != 0) lists.push_back({id, node.Next, false});
      }
    }
  }

  const Grammar& grammar_;
  const Language& lang_;
};

}  // namespace

std::string WriteDot(const Language& lang, const ReadProgress* progress, std::int32_t only) {
  const Grammar grammar(lang, progress);
  std::string out = "digraph " + Quoted(lang.Name.Empty() ? "grammar" : std::string(lang.Name.View())) + " {\n";
  out += "  rankdir=LR;\n  node [shape=box, fontname=\"Helvetica\"];\n";
  DotWriter writer(grammar);
  if (lang.NontTab.Exists() && lang.EdgeTab.Exists()) {
    for (std::int32_t n = 1; n <= lang.LastNonterminal; ++n)
      if (only == 0 || only == n) writer.Nonterminal(n, out);
  }
  return out + "}\n";
}

}  // namespace parvolen::inspect
