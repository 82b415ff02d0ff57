#include "codegen/classic/parser_routines.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "base/stack_room.h"
#include "codegen/shared/framing.h"
#include "codegen/shared/trie_reader.h"

namespace parvolen {
namespace {

// Writes the statements of one routine by walking the tries, decision lists and views of the
// record, each index read checked by the TrieReader.
class RoutineWriter {
 public:
  RoutineWriter(CodeWriter& out, const Language& lang) : out_(out), trie_(lang) {}

  // The statement of the edge and of what follows it: calls along a one-member chain, a switch
  // where the chain branches. No edge writes nothing.
  Status ConNontSeq(std::int32_t edge, int level) {
    const std::string tabs = CodeWriter::Tabs(level);
    while (edge != 0) {
      const EdgeRec* e = nullptr;
      if (Status st = EdgeAt(edge, e); st != stOk) return st;
      if (Status st = ConCall(*e, tabs); st != stOk) return st;
      if (e->Next == 0) return stOk;
      const EdgeRec* next = nullptr;
      if (Status st = EdgeAt(e->Next, next); st != stOk) return st;
      if (next->Altr != 0) return ConNontSwitch(e->Node, e->Next, level);
      edge = e->Next;
    }
    return stOk;
  }

  // Fetches the coming terminal and switches over the members of the list from first.
  Status ConNontSwitch(std::int32_t nodes, std::int32_t first, int level) {
    return ConSwitch(nodes, first, level, true);
  }

  // The switch of a tail loop: the loop has fetched the terminal already.
  Status ConLoopSwitch(std::int32_t nodes, std::int32_t first, int level) {
    return ConSwitch(nodes, first, level, false);
  }

  // The condition of the tail loop: the terminals of the view list (lambda views name none);
  // "0" without any, one bare comparison for one, else parenthesised comparisons joined by
  // "||", two to a line.
  Status ConLoopCond(std::int32_t views) {
    std::vector<std::string> terms;
    for (std::int32_t v = views; v != 0;) {
      const ViewRec* w = nullptr;
      if (Status st = ViewAt(v, w); st != stOk) return st;
      if (w->Term != 0) {
        std::string ident;
        if (Status st = NameOf(kEdgeTerminal, w->Term, ident); st != stOk) return st;
        terms.push_back(std::move(ident));
      }
      v = w->Altr;
    }
    if (terms.empty()) {
      out_.Put("0");
      return stOk;
    }
    if (terms.size() == 1) {
      out_.Put("Terminal == Term_%s", terms.front());
      return stOk;
    }
    int joins = 0;
    for (std::size_t i = 0; i < terms.size(); ++i) {
      out_.Put("( Terminal == Term_%s )", terms[i]);
      if (i + 1 == terms.size()) break;
      out_.Put("||");
      if (++joins % 2 == 0) out_.Put("\n\t\t ");
    }
    return stOk;
  }

  Status NameOf(std::int32_t whoAmI, std::int32_t code, std::string& ident) const {
    return trie_.NameOf(whoAmI, code, ident);
  }
  Status EdgeAt(std::int32_t index, const EdgeRec*& edge) const { return trie_.EdgeAt(index, edge); }

 private:
  Status NodeAt(std::int32_t index, const NodeRec*& node) const { return trie_.NodeAt(index, node); }
  Status ViewAt(std::int32_t index, const ViewRec*& view) const { return trie_.ViewAt(index, view); }

  // The call of one edge with the return of its failure; an end edge writes nothing.
  Status ConCall(const EdgeRec& e, const std::string& tabs) {
    if (e.WhoAmI == kEdgeEnd) return stOk;
    std::string ident;
    if (Status st = NameOf(e.WhoAmI, e.Code, ident); st != stOk) return st;
    switch (e.WhoAmI) {
      case kEdgeTerminal: out_.Put("%sif  ( ( e = MatchTerm(Term_%s) ) != ecOk )\n", {tabs, ident}); break;
      case kEdgeNonterminal: out_.Put("%sif  ( ( e = Nont_%s() ) != ecOk )\n", {tabs, ident}); break;
      case kEdgeAction: out_.Put("%sif  ( ( e = Action_%s() ) != ecOk )\n", {tabs, ident}); break;
      default: out_.Put("%sif  ( ( e = OutTerm_%s() ) != ecOk )\n", {tabs, ident}); break;
    }
    out_.Put("%s\treturn\te;\n", tabs);
    return stOk;
  }

  // One case per member, labelled by the level-1 nodes that select it; a member that no node
  // selects gets no label (its statements are never reached), a terminal no node names falls
  // to the default and is a syntax error.
  Status ConSwitch(std::int32_t nodes, std::int32_t first, int level, bool fetch) {
    // Every nested switch is one more level of recursion: stop before the stack runs out.
    if (StackNearlyFull()) return stNoMem;
    const std::string tabs = CodeWriter::Tabs(level);
    if (fetch) {
      out_.Put("%sif  ( ( e = LookTerm(&Terminal) ) != ecOk )\n", tabs);
      out_.Put("%s\treturn\te;\n", tabs);
    }
    out_.Put("%sswitch  ( Terminal ) {\n", tabs);
    // The terminals of each member, in the order of the decision list: one pass over the list.
    std::unordered_map<std::int32_t, std::vector<const NodeRec*>> byMember;
    for (std::int32_t n = nodes; n != 0;) {
      const NodeRec* node = nullptr;
      if (Status st = NodeAt(n, node); st != stOk) return st;
      byMember[node->Edge].push_back(node);
      n = node->Altr;
    }
    for (std::int32_t m = first; m != 0;) {
      const EdgeRec* member = nullptr;
      if (Status st = EdgeAt(m, member); st != stOk) return st;
      if (const auto found = byMember.find(m); found != byMember.end()) {
        for (const NodeRec* node : found->second) {
          std::string ident;
          if (Status st = NameOf(kEdgeTerminal, node->Term, ident); st != stOk) return st;
          out_.Put("%s\tcase Term_%s:\n", {tabs, ident});
        }
      }
      if (Status st = ConNontSeq(m, level + 2); st != stOk) return st;
      out_.Put("%s\t\tbreak;\n", tabs);
      m = member->Altr;
    }
    out_.Put("%s\tdefault:\n%s\t\treturn\tecSyntax;\n%s}\n", {tabs, tabs, tabs});
    return stOk;
  }

  CodeWriter& out_;
  TrieReader trie_;
};

}  // namespace

Status ConNont(CodeWriter& out, const Language& lang, std::int32_t nont, const ConsOptions& options) {
  if (!lang.NontTab.Exists() || nont < 1 || nont > lang.LastNonterminal) return stBadNonterminalCode;
  const NontRec& n = lang.NontTab[nont];
  const std::string name(n.Name.View());
  const std::string id = MkIdent(name);
  const bool trace = options.DebugSupport != 0;
  RoutineWriter w(out, lang);

  // The border is exactly as wide as the comment line between the two borders.
  const std::string border = "/" + std::string(2 * id.size() + 48, '*') + "/";
  out.Put("%s\n", border);
  out.Put("/* Nont_%s: parsing subroutine for nonterminal `%s' */\n", {id, name});
  out.Put("%s\n", border);
  out.Put("\nErrCode Nont_%s(void) {\n", id);
  out.Put("\tErrCode \te;\n\tTermCode\tTerminal;\n\n");
  // Input nested deeper than the stack allows is rejected before the stack runs out.
  out.Put("\tif  ( (uintptr_t)&e < StackLow )\n\t\treturn\tecSyntax;\t/* nested too deeply */\n\n");
  if (trace) out.Put("\tprintf(\"-> %s\\n\");\n\n", id);

  const EdgeRec* first = nullptr;
  if (n.ProdEdges != 0) {
    if (Status st = w.EdgeAt(n.ProdEdges, first); st != stOk) return st;
  }
  if (first == nullptr || first->Altr == 0) {
    if (Status st = w.ConNontSeq(n.ProdEdges, 1); st != stOk) return st;
  } else {
    if (Status st = w.ConNontSwitch(n.ProdNodes, n.ProdEdges, 1); st != stOk) return st;
  }

  if (n.RecEdges != 0) {
    const EdgeRec* tail = nullptr;
    if (Status st = w.EdgeAt(n.RecEdges, tail); st != stOk) return st;
    out.Put("\tif  ( ( e = LookTerm(&Terminal) ) != ecOk )\n");
    out.Put("\t\treturn\te;\n\twhile  ( ");
    if (Status st = w.ConLoopCond(n.DLRF); st != stOk) return st;
    out.Put(" ) {\n");
    if (tail->Altr == 0) {
      if (Status st = w.ConNontSeq(n.RecEdges, 2); st != stOk) return st;
    } else {
      if (Status st = w.ConLoopSwitch(n.RecNodes, n.RecEdges, 2); st != stOk) return st;
    }
    out.Put("\t\tif  ( ( e = LookTerm(&Terminal) ) != ecOk )\n");
    out.Put("\t\t\treturn\te;\n");
    out.Put("\t}\n");
  }

  if (trace) out.Put("\n\tprintf(\"   %s ->\\n\");\n\n", id);
  out.Put("\treturn\tecOk;\n}\n\n");
  return stOk;
}

}  // namespace parvolen
