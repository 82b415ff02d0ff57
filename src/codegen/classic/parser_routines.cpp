#include "codegen/classic/parser_routines.h"

#include <string>
#include <vector>

#include "base/stack_room.h"
#include "codegen/shared/framing.h"

namespace parvolen {

// The statement of the edge and of what follows it: calls along a one-member chain, a switch
// where the chain branches. No edge writes nothing.
Status ParserRoutines::ConNontSeq(std::int32_t edge, int level) {
  const std::string tabs = CodeWriter::Tabs(level);
  while (edge != 0) {
    const EdgeRec* e = nullptr;
    if (Status st = trie_.EdgeAt(edge, e); st != stOk) return st;
    if (Status st = ConCall(*e, tabs); st != stOk) return st;
    if (e->Next == 0) return stOk;
    const EdgeRec* next = nullptr;
    if (Status st = trie_.EdgeAt(e->Next, next); st != stOk) return st;
    // Fetches the coming terminal and switches over the members of the list from e->Next.
    if (next->Altr != 0) return ConSwitch(e->Node, e->Next, level, true);
    edge = e->Next;
  }
  return stOk;
}

// The condition of the tail loop: the terminals of the view list (lambda views name none);
// "0" without any, one bare comparison for one, else parenthesised comparisons joined by
// "||", two to a line.
Status ParserRoutines::ConLoopCond(std::int32_t views) {
  std::vector<std::string_view> terms;
  for (std::int32_t v = views; v != 0;) {
    const ViewRec* w = nullptr;
    if (Status st = trie_.ViewAt(v, w); st != stOk) return st;
    if (w->Term != 0) {
      std::string_view ident;
      if (Status st = trie_.NameOf(kEdgeTerminal, w->Term, ident); st != stOk) return st;
      terms.push_back(ident);
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

// The call of one edge with the return of its failure; an end edge writes nothing.
Status ParserRoutines::ConCall(const EdgeRec& e, std::string_view tabs) {
  if (e.WhoAmI == kEdgeEnd) return stOk;
  std::string_view ident;
  if (Status st = trie_.NameOf(e.WhoAmI, e.Code, ident); st != stOk) return st;
  switch (e.WhoAmI) {
    case kEdgeTerminal:
      out_.Put("%sif  ( ( e = MatchTerm(Term_%s) ) != ecOk )\n%s\treturn\te;\n", {tabs, ident, tabs});
      break;
    case kEdgeNonterminal:
      out_.Put("%sif  ( ( e = Nont_%s() ) != ecOk )\n%s\treturn\te;\n", {tabs, ident, tabs});
      break;
    case kEdgeAction:
      out_.Put("%sif  ( ( e = Action_%s() ) != ecOk )\n%s\treturn\te;\n", {tabs, ident, tabs});
      break;
    default:
      out_.Put("%sif  ( ( e = OutTerm_%s() ) != ecOk )\n%s\treturn\te;\n", {tabs, ident, tabs});
      break;
  }
  return stOk;
}

// The members from members_[members] on get their labels in labels_ from labels on: the nodes
// of the decision list that select each, in the order of the list, by one counting pass.
// Nodes that select no member of the switch are left out.
Status ParserRoutines::GroupLabels(std::int32_t nodes, std::size_t members, std::size_t labels) {
  const std::size_t count = members_.size() - members;
  // Members passed EdgeAt: each index is at most LastEdge.
  const auto edges = static_cast<std::size_t>(trie_.Lang().LastEdge) + 1;
  if (memberPos_.size() < edges) memberPos_.resize(edges, 0);
  for (std::size_t k = 0; k < count; ++k) memberPos_[static_cast<std::size_t>(members_[members + k])] =
      static_cast<std::int32_t>(k + 1);
  const auto placeOf = [&](const NodeRec& node) -> std::size_t {
    return node.Edge >= 1 && static_cast<std::size_t>(node.Edge) < edges
               ? static_cast<std::size_t>(memberPos_[static_cast<std::size_t>(node.Edge)]) : 0;
  };
  // Counts per member, then the starts, then each node into its member's place.
  const std::size_t starts = starts_.size();
  starts_.resize(starts + count + 1, 0);
  Status status = stOk;
  std::size_t total = 0;
  for (std::int32_t n = nodes; n != 0;) {
    const NodeRec* node = nullptr;
    if (status = trie_.NodeAt(n, node); status != stOk) break;
    if (const std::size_t place = placeOf(*node); place != 0) {
      ++starts_[starts + place];
      ++total;
    }
    n = node->Altr;
  }
  if (status == stOk) {
    for (std::size_t k = 1; k <= count; ++k) starts_[starts + k] += starts_[starts + k - 1];
    labels_.resize(labels + total);
    std::vector<std::size_t> fill(starts_.begin() + static_cast<std::ptrdiff_t>(starts),
                                  starts_.begin() + static_cast<std::ptrdiff_t>(starts + count));
    for (std::int32_t n = nodes; n != 0;) {
      const NodeRec* node = &trie_.Lang().NodeTab[n];
      if (const std::size_t place = placeOf(*node); place != 0) labels_[labels + fill[place - 1]++] = node;
      n = node->Altr;
    }
  }
  for (std::size_t k = 0; k < count; ++k) memberPos_[static_cast<std::size_t>(members_[members + k])] = 0;
  return status;
}

// One case per member, labelled by the level-1 nodes that select it; a member that no node
// selects gets no label (its statements are never reached), a terminal no node names falls
// to the default and is a syntax error. With fetch the switch first fetches the coming
// terminal; the switch of a tail loop finds it fetched already.
Status ParserRoutines::ConSwitch(std::int32_t nodes, std::int32_t first, int level, bool fetch) {
  // Every nested switch is one more level of recursion: stop before the stack runs out.
  if (StackNearlyFull()) return stNoMem;
  const std::string tabs = CodeWriter::Tabs(level);
  if (fetch) {
    out_.Put("%sif  ( ( e = LookTerm(&Terminal) ) != ecOk )\n%s\treturn\te;\n%sswitch  ( Terminal ) {\n",
             {tabs, tabs, tabs});
  } else {
    out_.Put("%sswitch  ( Terminal ) {\n", tabs);
  }
  // This switch's part of the stacks; nested switches use what lies above it.
  const std::size_t members = members_.size();
  const std::size_t starts = starts_.size();
  const std::size_t labels = labels_.size();
  for (std::int32_t m = first; m != 0;) {
    const EdgeRec* member = nullptr;
    if (Status st = trie_.EdgeAt(m, member); st != stOk) return st;
    members_.push_back(m);
    m = member->Altr;
  }
  if (Status st = GroupLabels(nodes, members, labels); st != stOk) return st;
  const std::size_t count = members_.size() - members;
  for (std::size_t k = 0; k < count; ++k) {
    for (std::size_t i = starts_[starts + k]; i < starts_[starts + k + 1]; ++i) {
      std::string_view ident;
      if (Status st = trie_.NameOf(kEdgeTerminal, labels_[labels + i]->Term, ident); st != stOk) return st;
      out_.Put("%s\tcase Term_%s:\n", {tabs, ident});
    }
    if (Status st = ConNontSeq(members_[members + k], level + 2); st != stOk) return st;
    out_.Put("%s\t\tbreak;\n", tabs);
  }
  members_.resize(members);
  starts_.resize(starts);
  labels_.resize(labels);
  out_.Put("%s\tdefault:\n%s\t\treturn\tecSyntax;\n%s}\n", {tabs, tabs, tabs});
  return stOk;
}

Status ParserRoutines::ConNont(std::int32_t nont) {
  const Language& lang = trie_.Lang();
  if (!lang.NontTab.Exists() || nont < 1 || nont > lang.LastNonterminal) return stBadNonterminalCode;
  // A routine that stopped on a status may have left its part of the stacks.
  members_.clear();
  starts_.clear();
  labels_.clear();
  const NontRec& n = lang.NontTab[nont];
  const std::string_view name = n.Name.View();
  std::string_view id;
  if (Status st = trie_.NameOf(kEdgeNonterminal, nont, id); st != stOk) return st;

  // The border is exactly as wide as the comment line between the two borders.
  std::string border(2 * id.size() + 50, '*');
  border.front() = '/';
  border.back() = '/';
  out_.Put(border);
  out_.Put("\n/* Nont_%s: parsing subroutine for nonterminal `%s' */\n", {id, name});
  out_.Put(border);
  out_.Put("\n\nErrCode Nont_%s(void) {\n", id);
  out_.Put("\tErrCode \te;\n\tTermCode\tTerminal;\n\n");
  // Input nested deeper than the stack allows is rejected before the stack runs out.
  out_.Put("\tif  ( (uintptr_t)&e < StackLow )\n\t\treturn\tecSyntax;\t/* nested too deeply */\n\n");
  if (trace_) out_.Put("\tprintf(\"-> %s\\n\");\n\n", id);

  const EdgeRec* first = nullptr;
  if (n.ProdEdges != 0) {
    if (Status st = trie_.EdgeAt(n.ProdEdges, first); st != stOk) return st;
  }
  if (first == nullptr || first->Altr == 0) {
    if (Status st = ConNontSeq(n.ProdEdges, 1); st != stOk) return st;
  } else {
    if (Status st = ConSwitch(n.ProdNodes, n.ProdEdges, 1, true); st != stOk) return st;
  }

  if (n.RecEdges != 0) {
    const EdgeRec* tail = nullptr;
    if (Status st = trie_.EdgeAt(n.RecEdges, tail); st != stOk) return st;
    out_.Put("\tif  ( ( e = LookTerm(&Terminal) ) != ecOk )\n");
    out_.Put("\t\treturn\te;\n\twhile  ( ");
    if (Status st = ConLoopCond(n.DLRF); st != stOk) return st;
    out_.Put(" ) {\n");
    if (tail->Altr == 0) {
      if (Status st = ConNontSeq(n.RecEdges, 2); st != stOk) return st;
    } else {
      // The switch of the tail loop: the loop has fetched the terminal already.
      if (Status st = ConSwitch(n.RecNodes, n.RecEdges, 2, false); st != stOk) return st;
    }
    out_.Put("\t\tif  ( ( e = LookTerm(&Terminal) ) != ecOk )\n");
    out_.Put("\t\t\treturn\te;\n");
    out_.Put("\t}\n");
  }

  if (trace_) out_.Put("\n\tprintf(\"   %s ->\\n\");\n\n", id);
  out_.Put("\treturn\tecOk;\n}\n\n");
  return stOk;
}

}  // namespace parvolen
