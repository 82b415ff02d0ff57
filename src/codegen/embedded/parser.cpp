#include "codegen/embedded/parser.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/stack_room.h"
#include "codegen/shared/framing.h"
#include "codegen/shared/trie_reader.h"

namespace parvolen {
namespace {

// The kind of the terminal at a level of the lookahead (1: the coming one).
std::string KindAt(int level) {
  return level == 1 ? std::string("p->tok->kind") : "p->ahead[" + std::to_string(level - 2) + "]->kind";
}

// Note [tail calls]: a call of the routine's own nonterminal with nothing after it in its
// production becomes a jump back to the start of the routine's decision (the label `again`),
// so that a right-recursive list nests no deeper than its first item. The jump is exact: after
// such a call returns, the caller has nothing left to do but its tail loop, and that loop meets
// the same coming terminals at which the callee's own loop ended, so it ends at once as well
// (naming the same terminals in LeftLoop). `choice` is cleared again at the label, as a new
// call would find it. With -T the routine counts its jumps in `tails` and reports one entry per
// jump and one return per entry, the trace that the calls would have printed; the depth count
// grows by one for the routine, however often it jumps.

// Writes the statements of one routine along its tries; where the trie branches, the decision
// of the list selects the member on as many terminals as it needs.
class EmbeddedRoutine {
 public:
  EmbeddedRoutine(const EmbeddedPlan& x, CodeWriter& out, const TrieReader& trie, const EmbeddedDecisions& decisions,
                  ExpectedLists& expected, RoutineUse& use, std::int32_t nont)
      : x_(x), out_(out), trie_(trie), decisions_(decisions), expected_(expected), use_(use), nont_(nont) {}

  // Whether some decision of the routine set the variable `choice`.
  [[nodiscard]] bool UsedChoice() const { return usedChoice_; }
  // Whether some call of the routine's own nonterminal became a jump (see note [tail calls]).
  [[nodiscard]] bool Jumps() const { return jumps_; }
  // The nonterminals whose routines it calls.
  [[nodiscard]] const std::vector<std::int32_t>& Called() const { return called_; }

  // The statements along the edges from edge; jumped_ tells whether they end in a jump.
  Status Sequence(std::int32_t edge, int level, bool looked) {
    const std::string tabs = CodeWriter::Tabs(level);
    jumped_ = false;
    while (edge != 0) {
      const EdgeRec* e = nullptr;
      if (Status st = trie_.EdgeAt(edge, e); st != stOk) return st;
      if (e->WhoAmI == kEdgeNonterminal && e->Code == nont_ && EndsAt(e->Next)) return Jump(tabs);
      if (Status st = Call(*e, tabs, looked); st != stOk) return st;
      looked = false;
      if (e->Next == 0) return stOk;
      const EdgeRec* next = nullptr;
      if (Status st = trie_.EdgeAt(e->Next, next); st != stOk) return st;
      if (next->Altr != 0) return Choice(e->Next, level);
      edge = e->Next;
    }
    return stOk;
  }

  // The members of the list from first, selected by its decision; jumped_ tells whether the
  // statements end in a jump (only where one member is left to take).
  Status Choice(std::int32_t first, int level) {
    if (StackNearlyFull()) return stNoMem;
    const std::string tabs = CodeWriter::Tabs(level);
    const DecisionNode* node = decisions_.At(first);
    // The other members can never complete: the list is a plain sequence of the one left.
    if (node != nullptr && node->Leaf() && node->Member > 0) return Sequence(node->Member, level, false);
    jumped_ = false;
    std::vector<std::int32_t> members;
    if (Status st = Members(first, members); st != stOk) return st;
    out_.Put("%sTRY(Look(p));\n", tabs);
    if (node == nullptr || node->Leaf()) {
      // No input selects any member (the nonterminal derives nothing the starting symbol reaches).
      out_.Put("%sreturn\tUnexpected(p, %s, 1);\n", {tabs, expected_.Name({})});
      return stOk;
    }
    if (DecisionDepth(*node) == 1) {
      out_.Put("%sswitch  ( p->tok->kind ) {\n", tabs);
      for (std::int32_t m : members) {
        if (!Labels(*node, m, tabs)) continue;
        if (Status st = Sequence(m, level + 2, FirstTerminal(m) == OnlyLabel(*node, m)); st != stOk) return st;
        if (!jumped_) out_.Put("%s\t\tbreak;\n", tabs);
      }
      out_.Put("%s\tdefault:\n%s\t\treturn\tUnexpected(p, %s, 1);\n%s}\n",
               {tabs, tabs, expected_.Name(Keys(*node)), tabs});
      jumped_ = false;
      return stOk;
    }
    usedChoice_ = true;
    Dispatch(*node, members, 1, level, false);
    const Status st = Bodies(members, level, "break;");
    jumped_ = false;
    return st;
  }

  // The tail loop of the nonterminal: another tail while the decision selects one.
  Status Loop(std::int32_t first) {
    use_.Loops = true;
    const DecisionNode* node = decisions_.At(first);
    std::vector<std::int32_t> members;
    if (Status st = Members(first, members); st != stOk) return st;
    std::vector<std::int32_t> tails;  // the terminals at level 1 that may go on in the loop
    if (node != nullptr)
      for (const auto& [term, child] : node->Next)
        if (!(child.Leaf() && child.Member == kLeaveLoop)) tails.push_back(term);
    out_.Put("\tfor  ( ;; ) {\n");
    if (node == nullptr || node->Leaf()) {
      // A loop that one member or leaving alone decides.
      if (node != nullptr && node->Member > 0) {
        if (Status st = Sequence(node->Member, 2, false); st != stOk) return st;
        if (!jumped_) out_.Put("\t\tcontinue;\n");
      }
    } else if (DecisionDepth(*node) == 1) {
      out_.Put("\t\tTRY(Look(p));\n\t\tswitch  ( p->tok->kind ) {\n");
      for (std::int32_t m : members) {
        if (!Labels(*node, m, "\t\t")) continue;
        if (Status st = Sequence(m, 4, FirstTerminal(m) == OnlyLabel(*node, m)); st != stOk) return st;
        if (!jumped_) out_.Put("\t\t\t\tcontinue;\n");
      }
      out_.Put("\t\t}\n");
    } else {
      usedChoice_ = true;
      out_.Put("\t\tchoice = 0;\n\t\tTRY(Look(p));\n");
      Dispatch(*node, members, 1, 2, true);
      if (Status st = Bodies(members, 2, "continue;"); st != stOk) return st;
    }
    out_.Put("\t\tbreak;\n\t}\n");
    out_.Put("\tLeftLoop(p, %s);\n", expected_.Name(tails));
    return stOk;
  }

 private:
  // True when nothing follows in the production: no edge, or only its end.
  bool EndsAt(std::int32_t next) const {
    if (next == 0) return true;
    const EdgeRec* e = nullptr;
    return trie_.EdgeAt(next, e) == stOk && e->WhoAmI == kEdgeEnd && e->Altr == 0 && e->Next == 0;
  }

  // A call of the routine's own nonterminal in tail position (see note [tail calls]).
  Status Jump(const std::string& tabs) {
    jumps_ = jumped_ = true;
    if (x_.Trace()) {
      out_.Put("%sif  ( p->trace != NULL )\n%s\tfprintf(p->trace, \"-> %s\\n\");\n",
               {tabs, tabs, Ident(x_.lang.NontTab[nont_].Name)});
      out_.Put("%stails++;\n", tabs);
    }
    out_.Put("%sgoto again;\n", tabs);
    return stOk;
  }

  Status Members(std::int32_t first, std::vector<std::int32_t>& members) const {
    for (std::int32_t m = first; m != 0;) {
      const EdgeRec* member = nullptr;
      if (Status st = trie_.EdgeAt(m, member); st != stOk) return st;
      members.push_back(m);
      m = member->Altr;
    }
    return stOk;
  }

  // The case labels of the level-1 terminals that select the member; false for none.
  bool Labels(const DecisionNode& node, std::int32_t member, const std::string& tabs) {
    bool any = false;
    for (const auto& [term, child] : node.Next)
      if (child.Leaf() && child.Member == member) {
        out_.Put("%s\tcase %s:\n", {tabs, Label(term)});
        any = true;
      }
    return any;
  }

  // The terminal that alone selects the member at level 1, or 0.
  static std::int32_t OnlyLabel(const DecisionNode& node, std::int32_t member) {
    std::int32_t only = 0;
    for (const auto& [term, child] : node.Next) {
      if (!child.Leaf() || child.Member != member) continue;
      if (only != 0) return -2;
      only = term;
    }
    return only;
  }

  // The terminal the member begins with, or -1.
  std::int32_t FirstTerminal(std::int32_t member) const {
    const EdgeRec* e = nullptr;
    if (trie_.EdgeAt(member, e) != stOk || e->WhoAmI != kEdgeTerminal) return -1;
    return e->Code;
  }

  std::string Label(std::int32_t term) const { return term == 0 ? x_.EndConst() : x_.TermConst(term); }

  static std::vector<std::int32_t> Keys(const DecisionNode& node) {
    std::vector<std::int32_t> keys;
    for (const auto& [term, child] : node.Next) keys.push_back(term);
    return keys;
  }

  // Sets `choice` to the member's number (1 for the first; 0 leaves a loop) by a switch per
  // level; a terminal that no string continues is a syntax error there. At level 1 of a loop,
  // any other terminal leaves it.
  void Dispatch(const DecisionNode& node, const std::vector<std::int32_t>& members, int depth, int level,
                bool loop) {
    const std::string tabs = CodeWriter::Tabs(level);
    if (depth > 1) out_.Put("%sTRY(Peek(p, %d));\n", {tabs, std::to_string(depth)});
    out_.Put("%sswitch  ( %s ) {\n", {tabs, KindAt(depth)});
    for (const auto& [term, child] : node.Next) {
      if (loop && depth == 1 && child.Leaf() && child.Member == kLeaveLoop) continue;
      out_.Put("%s\tcase %s:\n", {tabs, Label(term)});
      if (child.Leaf()) {
        const auto at = std::find(members.begin(), members.end(), child.Member);
        const std::size_t number = at == members.end() ? 0 : static_cast<std::size_t>(at - members.begin()) + 1;
        if (number > 0) out_.Put("%s\t\tchoice = %d;\n", {tabs, std::to_string(number)});
      } else {
        Dispatch(child, members, depth + 1, level + 2, loop);
      }
      out_.Put("%s\t\tbreak;\n", tabs);
    }
    if (!(loop && depth == 1))
      out_.Put("%s\tdefault:\n%s\t\treturn\tUnexpected(p, %s, %d);\n",
               {tabs, tabs, expected_.Name(Keys(node)), std::to_string(depth)});
    out_.Put("%s}\n", tabs);
  }

  // The members' statements, selected by `choice`, each ended by `end`.
  Status Bodies(const std::vector<std::int32_t>& members, int level, std::string_view end) {
    const std::string tabs = CodeWriter::Tabs(level);
    out_.Put("%sswitch  ( choice ) {\n", tabs);
    for (std::size_t i = 0; i < members.size(); ++i) {
      out_.Put("%s\tcase %d:\n", {tabs, std::to_string(i + 1)});
      if (Status st = Sequence(members[i], level + 2, false); st != stOk) return st;
      if (!jumped_) out_.Put("%s\t\t%s\n", {tabs, end});
    }
    out_.Put("%s}\n", tabs);
    return stOk;
  }

  // The call of one edge; a terminal that the decision has matched already is only taken.
  Status Call(const EdgeRec& e, const std::string& tabs, bool looked) {
    if (e.WhoAmI == kEdgeEnd) return stOk;
    std::string_view ident;
    if (Status st = trie_.NameOf(e.WhoAmI, e.Code, ident); st != stOk) return st;
    switch (e.WhoAmI) {
      case kEdgeTerminal:
        if (looked) {
          out_.Put("%sShift(p);\n", tabs);
          use_.Shift = true;
        } else {
          out_.Put("%sTRY(Match(p, %s));\n", {tabs, x_.TermConst(e.Code)});
          use_.Match = use_.Shift = true;
        }
        break;
      case kEdgeNonterminal:
        out_.Put("%sTRY(Nont_%s(p));\n", {tabs, ident});
        called_.push_back(e.Code);
        break;
      case kEdgeAction:
        use_.Actions.insert(e.Code);
        if (x_.UserActions()) {
          out_.Put("%sTRY(%s_action_%s(p));\n", {tabs, x_.prefix, ident});
        } else {
          out_.Put("%sTRY(Action_%s(p));\n", {tabs, ident});
        }
        break;
      default:
        out_.Put("%sTRY(OutTerm_%s(p));\n", {tabs, ident});
        use_.OutTerms.insert(e.Code);
        break;
    }
    return stOk;
  }

  const EmbeddedPlan& x_;
  CodeWriter& out_;
  const TrieReader& trie_;
  const EmbeddedDecisions& decisions_;
  ExpectedLists& expected_;
  RoutineUse& use_;
  std::int32_t nont_;  // the nonterminal of the routine
  bool usedChoice_ = false;
  bool jumps_ = false;
  bool jumped_ = false;  // the last sequence written ends in a jump
  std::vector<std::int32_t> called_;
};

Status WriteRoutine(const EmbeddedPlan& x, CodeWriter& out, const TrieReader& trie, std::int32_t nont,
                    const EmbeddedDecisions& decisions, ExpectedLists& expected, RoutineUse& use,
                    std::vector<std::int32_t>& called) {
  const NontRec& n = x.lang.NontTab[nont];
  const std::string id = Ident(n.Name);
  // The body is collected first: only then is it known whether it needs `choice`.
  CodeWriter body;
  body.OpenMemory();
  EmbeddedRoutine w(x, body, trie, decisions, expected, use, nont);
  const EdgeRec* first = nullptr;
  if (n.ProdEdges != 0) {
    if (Status st = trie.EdgeAt(n.ProdEdges, first); st != stOk) return st;
  }
  if (first == nullptr || first->Altr == 0) {
    if (Status st = w.Sequence(n.ProdEdges, 1, false); st != stOk) return st;
  } else {
    if (Status st = w.Choice(n.ProdEdges, 1); st != stOk) return st;
  }
  if (n.RecEdges != 0) {
    if (Status st = w.Loop(n.RecEdges); st != stOk) return st;
  }
  out.Put("/* %s */\n", CStringBody(n.Name.View()));
  out.Put("static int Nont_%s(Parser *p) {\n", id);
  const bool counted = x.Trace() && w.Jumps();
  if (w.UsedChoice()) out.Put(counted ? "\tint\tchoice = 0;\n" : "\tint\tchoice = 0;\n\n");
  if (counted) out.Put("\tunsigned long\ttails = 0;\t/* jumps back to again, each a call that -T reports */\n\n");
  out.Put("\tif  ( ++p->depth > p->maxDepth )\n\t\treturn\tTooDeep(p);\n");
  if (x.Trace()) out.Put("\tif  ( p->trace != NULL )\n\t\tfprintf(p->trace, \"-> %s\\n\");\n", id);
  if (w.Jumps()) out.Put(w.UsedChoice() ? "again:\n\tchoice = 0;\n" : "again:\n");
  out.Put(body.TakeText());
  if (counted) {
    out.Put("\tif  ( p->trace != NULL )\n\t\tdo\n\t\t\tfprintf(p->trace, \"   %s ->\\n\");\n", id);
    out.Put("\t\twhile  ( tails-- > 0 );\n");
  } else if (x.Trace()) {
    out.Put("\tif  ( p->trace != NULL )\n\t\tfprintf(p->trace, \"   %s ->\\n\");\n", id);
  }
  out.Put("\tp->depth--;\n\treturn\tOK;\n}\n\n");
  called = w.Called();
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

Status WriteEmbeddedRoutines(const EmbeddedPlan& x, const EmbeddedDecisions& decisions, CodeWriter& body,
                             ExpectedLists& expected, RoutineUse& use) {
  const Language& lang = x.lang;
  const auto count = static_cast<std::size_t>(std::max(lang.LastNonterminal, 0)) + 1;
  use.Nonterminals.assign(count, false);
  std::vector<std::string> texts(count);
  std::vector<std::int32_t> todo;
  const TrieReader trie(lang);  // one for all routines: each identifier is made once
  const auto reach = [&](std::int32_t n) {
    if (n < 1 || static_cast<std::size_t>(n) >= count || use.Nonterminals[n]) return;
    use.Nonterminals[n] = true;
    todo.push_back(n);
  };
  reach(lang.StartNont);
  while (!todo.empty()) {
    const std::int32_t n = todo.back();
    todo.pop_back();
    CodeWriter routine;
    routine.OpenMemory();
    std::vector<std::int32_t> called;
    if (Status st = WriteRoutine(x, routine, trie, n, decisions, expected, use, called); st != stOk) return st;
    texts[n] = routine.TakeText();
    for (std::int32_t c : called) reach(c);
  }
  // In the order of the nonterminals, whatever order the calls found them in.
  for (std::size_t n = 1; n < count; ++n) body.Put(texts[n]);
  return stOk;
}

void WriteEmbeddedDeclarations(const EmbeddedPlan& x, const RoutineUse& use, CodeWriter& out) {
  out.Put("/* The parsing routines, one per nonterminal that the starting symbol reaches. */\n");
  for (std::int32_t n = 1; n <= x.lang.LastNonterminal; ++n)
    if (use.Nonterminals[n]) out.Put("static int Nont_%s(Parser *p);\n", Ident(x.lang.NontTab[n].Name));
  out.Put("\n");
}

}  // namespace parvolen
