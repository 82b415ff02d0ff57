#include "codegen/embedded_parser.h"

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/stack_room.h"
#include "codegen/framing.h"
#include "codegen/trie_reader.h"

namespace parvolen {
namespace {

// Which nonterminals derive the empty string, and which members of an edge list can: without an
// end-of-input terminal the decision lists name no terminal for the end of the input, and there
// the member that derives nothing more is the one to take.
class Emptiness {
 public:
  explicit Emptiness(const Language& lang) : lang_(lang), empty_(static_cast<std::size_t>(lang.LastNonterminal) + 1) {
    // A nonterminal is empty when a path of its production trie passes only empty nonterminals,
    // actions and output terminals; repeated until nothing changes.
    for (bool changed = true; changed;) {
      changed = false;
      for (std::int32_t n = 1; n <= lang.LastNonterminal; ++n) {
        if (empty_[n] || !ListEmpty(lang.NontTab[n].ProdEdges)) continue;
        empty_[n] = true;
        changed = true;
      }
    }
  }

  // Some path from the edge (itself included) to an end edge passes nothing but empty parts.
  [[nodiscard]] bool EdgeEmpty(std::int32_t edge) const {
    std::vector<std::int32_t> todo{edge};
    while (!todo.empty()) {
      const std::int32_t e = todo.back();
      todo.pop_back();
      if (e < 1 || e > lang_.LastEdge) continue;
      const EdgeRec& rec = lang_.EdgeTab[e];
      switch (rec.WhoAmI) {
        case kEdgeEnd: return true;
        case kEdgeTerminal: continue;
        case kEdgeNonterminal:
          if (rec.Code < 1 || rec.Code > lang_.LastNonterminal || !empty_[rec.Code]) continue;
          break;
        default: break;
      }
      for (std::int32_t next = rec.Next; next >= 1 && next <= lang_.LastEdge; next = lang_.EdgeTab[next].Altr)
        todo.push_back(next);
    }
    return false;
  }

 private:
  [[nodiscard]] bool ListEmpty(std::int32_t first) const {
    for (std::int32_t e = first; e >= 1 && e <= lang_.LastEdge; e = lang_.EdgeTab[e].Altr)
      if (EdgeEmpty(e)) return true;
    return false;
  }

  const Language& lang_;
  std::vector<bool> empty_;
};

// Writes the statements of one routine along its tries; the decisions on the coming terminal
// are the level-1 nodes of the decision lists.
class EmbeddedRoutine {
 public:
  EmbeddedRoutine(const EmbeddedPlan& x, CodeWriter& out, const Emptiness& emptiness, ExpectedLists& expected)
      : x_(x), out_(out), trie_(x.lang), emptiness_(emptiness), expected_(expected) {}

  Status Sequence(std::int32_t edge, int level, bool looked) {
    const std::string tabs = CodeWriter::Tabs(level);
    while (edge != 0) {
      const EdgeRec* e = nullptr;
      if (Status st = trie_.EdgeAt(edge, e); st != stOk) return st;
      if (Status st = Call(*e, tabs, looked); st != stOk) return st;
      looked = false;
      if (e->Next == 0) return stOk;
      const EdgeRec* next = nullptr;
      if (Status st = trie_.EdgeAt(e->Next, next); st != stOk) return st;
      if (next->Altr != 0) return Switch(e->Node, e->Next, level, true);
      edge = e->Next;
    }
    return stOk;
  }

  // A switch over the members of the list from first, labelled by the level-1 nodes.
  Status Switch(std::int32_t nodes, std::int32_t first, int level, bool fetch) {
    if (StackNearlyFull()) return stNoMem;
    const std::string tabs = CodeWriter::Tabs(level);
    if (fetch) out_.Put("%sTRY(Look(p));\n", tabs);
    out_.Put("%sswitch  ( p->tok.kind ) {\n", tabs);
    std::unordered_map<std::int32_t, std::vector<std::int32_t>> labels;  // member -> terminals
    for (std::int32_t n = nodes; n != 0;) {
      const NodeRec* node = nullptr;
      if (Status st = trie_.NodeAt(n, node); st != stOk) return st;
      if (node->Term < 1 || node->Term > x_.lang.LastTerminal) return stBadTerminalCode;
      labels[node->Edge].push_back(node->Term);
      n = node->Altr;
    }
    std::vector<std::int32_t> expected;
    bool endTaken = x_.lang.EoiCode != 0;
    for (std::int32_t m = first; m != 0;) {
      const EdgeRec* member = nullptr;
      if (Status st = trie_.EdgeAt(m, member); st != stOk) return st;
      const std::vector<std::int32_t>& terms = labels[m];
      for (std::int32_t t : terms) {
        out_.Put("%s\tcase %s:\n", {tabs, x_.TermConst(t)});
        expected.push_back(t);
      }
      if (!endTaken && emptiness_.EdgeEmpty(m)) {
        out_.Put("%s\tcase %s:\n", {tabs, x_.EndConst()});
        endTaken = true;
      }
      // Where every label is the member's own first terminal, the decision has matched it.
      bool matched = member->WhoAmI == kEdgeTerminal && !terms.empty();
      for (std::int32_t t : terms) matched = matched && t == member->Code;
      if (Status st = Sequence(m, level + 2, matched); st != stOk) return st;
      out_.Put("%s\t\tbreak;\n", tabs);
      m = member->Altr;
    }
    out_.Put("%s\tdefault:\n%s\t\treturn\tUnexpected(p, %s);\n%s}\n", {tabs, tabs, expected_.Name(expected), tabs});
    return stOk;
  }

  // The condition of the tail loop: the terminals of the view list. Names the list of them.
  Status LoopCondition(std::int32_t views, std::string& list) {
    std::vector<std::string> terms;
    std::vector<std::int32_t> codes;
    for (std::int32_t v = views; v != 0;) {
      const ViewRec* w = nullptr;
      if (Status st = trie_.ViewAt(v, w); st != stOk) return st;
      if (w->Term != 0) {
        if (w->Term < 1 || w->Term > x_.lang.LastTerminal) return stBadTerminalCode;
        terms.push_back(x_.TermConst(w->Term));
        codes.push_back(w->Term);
      }
      v = w->Altr;
    }
    list = expected_.Name(codes);
    if (terms.empty()) out_.Put("0");
    for (std::size_t i = 0; i < terms.size(); ++i) {
      if (i > 0) out_.Put(i % 3 == 0 ? "\n\t\t|| " : " || ");
      out_.Put("p->tok.kind == %s", terms[i]);
    }
    return stOk;
  }

 private:
  // The call of one edge; a terminal that the decision has matched already is only taken.
  Status Call(const EdgeRec& e, const std::string& tabs, bool looked) {
    if (e.WhoAmI == kEdgeEnd) return stOk;
    std::string ident;
    if (Status st = trie_.NameOf(e.WhoAmI, e.Code, ident); st != stOk) return st;
    switch (e.WhoAmI) {
      case kEdgeTerminal:
        if (looked) {
          out_.Put("%sShift(p);\n", tabs);
        } else {
          out_.Put("%sTRY(Match(p, %s));\n", {tabs, x_.TermConst(e.Code)});
        }
        break;
      case kEdgeNonterminal: out_.Put("%sTRY(Nont_%s(p));\n", {tabs, ident}); break;
      case kEdgeAction:
        if (x_.UserActions()) {
          out_.Put("%sTRY(%s_action_%s(p));\n", {tabs, x_.prefix, ident});
        } else {
          out_.Put("%sTRY(Action_%s(p));\n", {tabs, ident});
        }
        break;
      default: out_.Put("%sTRY(OutTerm_%s(p));\n", {tabs, ident}); break;
    }
    return stOk;
  }

  const EmbeddedPlan& x_;
  CodeWriter& out_;
  TrieReader trie_;
  const Emptiness& emptiness_;
  ExpectedLists& expected_;
};

Status WriteRoutine(const EmbeddedPlan& x, CodeWriter& out, std::int32_t nont, const Emptiness& emptiness,
                    ExpectedLists& expected) {
  const NontRec& n = x.lang.NontTab[nont];
  const std::string id = Ident(n.Name);
  EmbeddedRoutine w(x, out, emptiness, expected);
  TrieReader trie(x.lang);
  out.Put("/* %s */\n", CStringBody(n.Name.View()));
  out.Put("static int Nont_%s(Parser *p) {\n", id);
  out.Put("\tif  ( ++p->depth > p->maxDepth )\n\t\treturn\tTooDeep(p);\n");
  if (x.Trace()) out.Put("\tif  ( p->trace != NULL )\n\t\tfprintf(p->trace, \"-> %s\\n\");\n", id);
  const EdgeRec* first = nullptr;
  if (n.ProdEdges != 0) {
    if (Status st = trie.EdgeAt(n.ProdEdges, first); st != stOk) return st;
  }
  if (first == nullptr || first->Altr == 0) {
    if (Status st = w.Sequence(n.ProdEdges, 1, false); st != stOk) return st;
  } else {
    if (Status st = w.Switch(n.ProdNodes, n.ProdEdges, 1, true); st != stOk) return st;
  }
  if (n.RecEdges != 0) {
    const EdgeRec* tail = nullptr;
    if (Status st = trie.EdgeAt(n.RecEdges, tail); st != stOk) return st;
    out.Put("\tTRY(Look(p));\n\twhile  ( ");
    std::string loopTerms;
    if (Status st = w.LoopCondition(n.DLRF, loopTerms); st != stOk) return st;
    out.Put(" ) {\n");
    if (tail->Altr == 0) {
      if (Status st = w.Sequence(n.RecEdges, 2, false); st != stOk) return st;
    } else {
      if (Status st = w.Switch(n.RecNodes, n.RecEdges, 2, false); st != stOk) return st;
    }
    out.Put("\t\tTRY(Look(p));\n\t}\n");
    out.Put("\tLeftLoop(p, %s);\n", loopTerms);
  }
  if (x.Trace()) out.Put("\tif  ( p->trace != NULL )\n\t\tfprintf(p->trace, \"   %s ->\\n\");\n", id);
  out.Put("\tp->depth--;\n\treturn\tOK;\n}\n\n");
  return stOk;
}

}  // namespace

std::string ExpectedLists::Name(const std::vector<std::int32_t>& terms) {
  std::string key;
  for (std::int32_t t : terms) key += std::to_string(t) + ",";
  const auto [it, added] = index_.emplace(key, static_cast<std::int32_t>(lists_.size()));
  if (added) lists_.push_back(terms);
  return "Expect" + std::to_string(it->second);
}

void ExpectedLists::Write(CodeWriter& out) const {
  out.Put("/* The terminals each decision expects, for the message of a syntax error. */\n");
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    out.Put("static const short Expect%d[] = {", std::to_string(i));
    for (std::int32_t t : lists_[i]) out.Put("%d, ", std::to_string(t));
    out.Put("-1};\n");
  }
  out.Put("\n");
}

Status WriteEmbeddedRoutines(const EmbeddedPlan& x, CodeWriter& body, ExpectedLists& expected) {
  const Language& lang = x.lang;
  const Emptiness emptiness(lang);
  for (std::int32_t n = 1; n <= lang.LastNonterminal; ++n)
    if (Status st = WriteRoutine(x, body, n, emptiness, expected); st != stOk) return st;
  return stOk;
}

void WriteEmbeddedDeclarations(const EmbeddedPlan& x, CodeWriter& out) {
  out.Put("/* The parsing routines, one per nonterminal. */\n");
  for (std::int32_t n = 1; n <= x.lang.LastNonterminal; ++n)
    out.Put("static int Nont_%s(Parser *p);\n", Ident(x.lang.NontTab[n].Name));
  out.Put("\n");
}

}  // namespace parvolen
