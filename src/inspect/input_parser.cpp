#include "inspect/input_parser.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "base/stack_room.h"
#include "codegen/embedded/plan.h"
#include "inspect/input_messages.h"
#include "inspect/input_recovery.h"

namespace parvolen::inspect {
namespace {

// A routine's status beside those of NAME.h: a call of its own nonterminal in tail position
// (see note [tail calls] in codegen/embedded/parser.cpp) goes back to the routine's start.
constexpr int kJump = -1;
constexpr int kOk = 0;
constexpr std::size_t kLoopLists = 8;  // the tail loops a syntax error names, as loopExpect holds

class InputParser {
 public:
  InputParser(const Grammar& grammar, const EmbeddedDecisions& decisions, const regex::Lexicon& lexicon,
              std::string_view input, int maxDepth)
      : lang_(grammar.Lang()),
        decisions_(decisions),
        lexer_(grammar.Lang(), lexicon, input),
        words_{TerminalTexts(grammar.Lang()), ValuedTerminals(grammar.Lang())},
        maxDepth_(maxDepth > 0 ? maxDepth : 1) {
    endOf_.assign(static_cast<std::size_t>(std::max(lang_.LastEdge, 0)) + 1, 0);
    for (const Production& p : grammar.Productions())
      if (p.Number != 0 && !p.Path.empty() && ValidEdge(p.Path.back()))
        endOf_[static_cast<std::size_t>(p.Path.back())] = p.Number;
  }

  ParseOutcome Run() {
    ParseOutcome outcome;
    const std::int32_t root = NewNode(lang_.StartNont, -1);
    tree_.Root = root;
    int status = lang_.StartNont >= 1 && lang_.StartNont <= lang_.LastNonterminal ? Routine(lang_.StartNont, root)
                                                                                  : Internal();
    if (status == kOk && (status = Look()) == kOk && tok_.Kind != lang_.EoiCode)
      status = Unexpected({lang_.EoiCode}, 1);
    outcome.Accepted = status == kOk;
    if (outcome.Accepted) outcome.Tree = std::move(tree_);
    outcome.Failure = failure_;
    return outcome;
  }

 private:
  // One routine's place: its nonterminal and the node its statements add to.
  struct Frame {
    std::int32_t Nont;
    std::int32_t Node;
  };

  [[nodiscard]] bool ValidEdge(std::int32_t e) const { return e >= 1 && e <= lang_.LastEdge; }

  std::int32_t NewNode(std::int32_t nont, std::int32_t parent) {
    const auto index = static_cast<std::int32_t>(tree_.Nodes.size());
    SyntaxNode node;
    node.Nonterminal = nont;
    node.Parent = parent;
    tree_.Nodes.push_back(std::move(node));
    if (parent >= 0) tree_.Nodes[static_cast<std::size_t>(parent)].Children.push_back(index);
    return index;
  }

  // A tail of a left-recursive nonterminal: the node so far becomes the first child of a new one.
  void Wrap(Frame& f) {
    const std::int32_t old = f.Node;
    const std::int32_t parent = tree_.Nodes[static_cast<std::size_t>(old)].Parent;
    const std::int32_t wrapper = NewNode(f.Nont, -1);
    SyntaxNode& w = tree_.Nodes[static_cast<std::size_t>(wrapper)];
    w.Parent = parent;
    w.Children.push_back(old);
    tree_.Nodes[static_cast<std::size_t>(old)].Parent = wrapper;
    if (parent >= 0) {
      for (std::int32_t& child : tree_.Nodes[static_cast<std::size_t>(parent)].Children)
        if (child == old) child = wrapper;
    } else {
      tree_.Root = wrapper;
    }
    f.Node = wrapper;
  }

  int Fail(const char* status, int line, int column, std::string text) {
    failure_ = {EmbeddedStatusValue(status), line, column, text.substr(0, 200)};
    return failure_.Status;
  }

  // A record the tries cannot have after a successful reading.
  int Internal() { return Fail("UNFINISHED", lexer_.Line(), lexer_.Column(), "internal: the production tries are damaged"); }

  // A tail loop or a tail-call jump that took no terminal meets the same terminals again and
  // decides the same way: the generated routine would repeat it forever (only a grammar whose
  // conflicts a preference settled can do that). The interpreter stops instead.
  int Forever() {
    return Fail("UNFINISHED", lexer_.Line(), lexer_.Column(), "the parse would repeat forever here without reading input");
  }

  int Scan(InputToken& t) { return lexer_.Scan(t, failure_) ? kOk : failure_.Status; }

  int Look() {
    if (have_) return kOk;
    if (const int st = Scan(tok_); st != kOk) return st;
    have_ = true;
    return kOk;
  }

  int Peek(int level) {
    if (const int st = Look(); st != kOk) return st;
    while (static_cast<int>(ahead_.size()) < level - 1) {
      InputToken t;
      if (const int st = Scan(t); st != kOk) return st;
      ahead_.push_back(t);
    }
    return kOk;
  }

  // The coming terminal becomes the last one matched, and a leaf of the node.
  void Shift(std::int32_t node) {
    last_ = tok_;
    if (!ahead_.empty()) {
      tok_ = ahead_.front();
      ahead_.erase(ahead_.begin());
    } else {
      have_ = false;
    }
    ++shifted_;
    const std::int32_t leaf = NewNode(0, node);
    SyntaxNode& l = tree_.Nodes[static_cast<std::size_t>(leaf)];
    l.Terminal = last_.Kind;
    l.Text = std::string(lexer_.Text(last_));
    l.Line = last_.Line;
    l.Column = last_.Column;
  }

  int Match(std::int32_t kind, std::int32_t node) {
    if (const int st = Look(); st != kOk) return st;
    if (tok_.Kind != kind) return Unexpected({kind}, 1);
    Shift(node);
    return kOk;
  }

  // A syntax error at the terminal of the level: "expected A, B or C, found D", the terminals
  // of tail loops left at this terminal among the expected, as the generated Unexpected words it.
  int Unexpected(const std::vector<std::int32_t>& expected, int level) {
    const InputToken& t = level > 1 ? ahead_[static_cast<std::size_t>(level - 2)] : tok_;
    std::vector<std::int32_t> all;
    const auto add = [&all](const std::vector<std::int32_t>& list) {
      for (std::int32_t term : list)
        if (std::find(all.begin(), all.end(), term) == all.end()) all.push_back(term);
    };
    if (loopAt_ == shifted_ && level == 1)
      for (const std::vector<std::int32_t>* list : loopExpect_) add(*list);
    add(expected);
    return Fail("SYNTAX", t.Line, t.Column, DescribeUnexpected(words_, all, t.Kind, lexer_.Text(t)));
  }

  // A tail loop was left at the coming terminal: a syntax error there names its terminals.
  void LeftLoop(const std::vector<std::int32_t>* terms) {
    if (loopAt_ != shifted_) {
      loopExpect_.clear();
      loopAt_ = shifted_;
    }
    if (loopExpect_.size() < kLoopLists) loopExpect_.push_back(terms);
  }

  // Only for the explanation of a tree: the production whose end edge it is.
  void NoteEnd(std::int32_t edge, std::int32_t node) {
    if (ValidEdge(edge) && endOf_[static_cast<std::size_t>(edge)] != 0)
      tree_.Nodes[static_cast<std::size_t>(node)].Production = endOf_[static_cast<std::size_t>(edge)];
  }

  // True when nothing follows in the production: no edge, or only its end.
  [[nodiscard]] bool EndsAt(std::int32_t next) const {
    if (next == 0) return true;
    if (!ValidEdge(next)) return false;
    const EdgeRec& e = lang_.EdgeTab[next];
    return e.WhoAmI == kEdgeEnd && e.Altr == 0 && e.Next == 0;
  }

  int Members(std::int32_t first, std::vector<std::int32_t>& members) const {
    for (std::int32_t m = first; m != 0; m = lang_.EdgeTab[m].Altr) {
      if (!ValidEdge(m) || members.size() > static_cast<std::size_t>(lang_.LastEdge)) return -2;
      members.push_back(m);
    }
    return kOk;
  }

  static std::vector<std::int32_t> Keys(const DecisionNode& node) {
    std::vector<std::int32_t> keys;
    for (const auto& [term, child] : node.Next) keys.push_back(term);
    return keys;
  }

  static int Number(const std::vector<std::int32_t>& members, std::int32_t member) {
    const auto at = std::find(members.begin(), members.end(), member);
    return at == members.end() ? 0 : static_cast<int>(at - members.begin()) + 1;
  }

  int Routine(std::int32_t nont, std::int32_t node) {
    if (++depth_ > maxDepth_) return Fail("TOO_DEEP", lexer_.Line(), lexer_.Column(), "nesting too deep");
    if (StackNearlyFull()) return Fail("NO_MEMORY", lexer_.Line(), lexer_.Column(), "no room to nest deeper");
    Frame f{nont, node};
    const NontRec& n = lang_.NontTab[nont];
    for (;;) {
      const unsigned long start = shifted_;
      int st = kOk;
      if (n.ProdEdges == 0 || (ValidEdge(n.ProdEdges) && lang_.EdgeTab[n.ProdEdges].Altr == 0)) {
        st = Sequence(f, n.ProdEdges);
      } else if (ValidEdge(n.ProdEdges)) {
        st = Choice(f, n.ProdEdges);
      } else {
        st = Internal();
      }
      if (st == kOk && n.RecEdges != 0) st = Loop(f, n.RecEdges);
      if (st == kJump && shifted_ == start) return Forever();
      if (st == kJump) {
        f.Node = NewNode(nont, f.Node);
        continue;
      }
      if (st != kOk) return st;
      break;
    }
    --depth_;
    return kOk;
  }

  // The statements along the edges from edge; kJump where they end in a call of the routine's own
  // nonterminal in tail position.
  int Sequence(Frame& f, std::int32_t edge) {
    while (edge != 0) {
      if (!ValidEdge(edge)) return Internal();
      const EdgeRec& e = lang_.EdgeTab[edge];
      if (e.WhoAmI == kEdgeNonterminal && e.Code == f.Nont && EndsAt(e.Next)) {
        NoteEnd(e.Next, f.Node);
        return kJump;
      }
      if (const int st = Call(f, edge, e); st != kOk) return st;
      if (e.Next == 0) return kOk;
      if (!ValidEdge(e.Next)) return Internal();
      if (lang_.EdgeTab[e.Next].Altr != 0) return Choice(f, e.Next);
      edge = e.Next;
    }
    return kOk;
  }

  int Call(Frame& f, std::int32_t edge, const EdgeRec& e) {
    switch (e.WhoAmI) {
      case kEdgeEnd:
        NoteEnd(edge, f.Node);
        return kOk;
      case kEdgeTerminal:
        return Match(e.Code, f.Node);
      case kEdgeNonterminal:
        if (e.Code < 1 || e.Code > lang_.LastNonterminal) return Internal();
        return Routine(e.Code, NewNode(e.Code, f.Node));
      default:
        return kOk;  // actions and output terminals are not run
    }
  }

  // Sets `choice` to the member's number (0: none, or leaving a loop) from the decision, level by
  // level; a terminal that no string continues is a syntax error there, except at level 1 of a
  // loop, where it leaves the loop.
  int Dispatch(const DecisionNode& node, const std::vector<std::int32_t>& members, int depth, bool loop, int& choice) {
    if (depth > 1)
      if (const int st = Peek(depth); st != kOk) return st;
    const InputToken& t = depth == 1 ? tok_ : ahead_[static_cast<std::size_t>(depth - 2)];
    const auto found = node.Next.find(t.Kind);
    const bool leaves = found != node.Next.end() && loop && depth == 1 && found->second.Leaf() &&
                        found->second.Member == kLeaveLoop;
    if (found == node.Next.end() || leaves) return loop && depth == 1 ? kOk : Unexpected(Keys(node), depth);
    if (!found->second.Leaf()) return Dispatch(found->second, members, depth + 1, loop, choice);
    if (const int number = Number(members, found->second.Member); number > 0) choice = number;
    return kOk;
  }

  // The members of the list from first, selected by its decision.
  int Choice(Frame& f, std::int32_t first) {
    if (StackNearlyFull()) return Fail("NO_MEMORY", lexer_.Line(), lexer_.Column(), "no room to nest deeper");
    const DecisionNode* node = decisions_.At(first);
    // The other members can never complete: the list is a plain sequence of the one left.
    if (node != nullptr && node->Leaf() && node->Member > 0) return Sequence(f, node->Member);
    std::vector<std::int32_t> members;
    if (Members(first, members) != kOk) return Internal();
    if (const int st = Look(); st != kOk) return st;
    if (node == nullptr || node->Leaf()) return Unexpected({}, 1);
    if (DecisionDepth(*node) == 1) {
      const auto found = node->Next.find(tok_.Kind);
      const int number = found == node->Next.end() ? 0 : Number(members, found->second.Member);
      if (number == 0) return Unexpected(Keys(*node), 1);
      return Sequence(f, members[static_cast<std::size_t>(number - 1)]);
    }
    int choice = 0;
    if (const int st = Dispatch(*node, members, 1, false, choice); st != kOk) return st;
    return choice > 0 ? Sequence(f, members[static_cast<std::size_t>(choice - 1)]) : kOk;
  }

  // The tail loop of the nonterminal: another tail while the decision selects one.
  int Loop(Frame& f, std::int32_t first) {
    std::vector<std::int32_t> members;
    if (Members(first, members) != kOk) return Internal();
    const DecisionNode* node = decisions_.At(first);
    auto& tails = loopTerms_[first];  // the terminals at level 1 that may go on in the loop
    if (tails.empty() && node != nullptr)
      for (const auto& [term, child] : node->Next)
        if (!(child.Leaf() && child.Member == kLeaveLoop)) tails.push_back(term);
    for (;;) {
      int choice = 0;
      if (node == nullptr || node->Leaf()) {
        if (node != nullptr && node->Member > 0) choice = Number(members, node->Member);
        if (node != nullptr && node->Member > 0 && choice == 0) return Internal();
      } else if (DecisionDepth(*node) == 1) {
        if (const int st = Look(); st != kOk) return st;
        const auto found = node->Next.find(tok_.Kind);
        if (found != node->Next.end()) choice = Number(members, found->second.Member);
      } else {
        if (const int st = Look(); st != kOk) return st;
        if (const int st = Dispatch(*node, members, 1, true, choice); st != kOk) return st;
      }
      if (choice == 0) break;
      Wrap(f);
      const unsigned long start = shifted_;
      if (const int st = Sequence(f, members[static_cast<std::size_t>(choice - 1)]); st != kOk) return st;
      if (shifted_ == start) return Forever();
    }
    LeftLoop(&tails);
    return kOk;
  }

  const Language& lang_;
  const EmbeddedDecisions& decisions_;
  InputLexer lexer_;
  TerminalWords words_;
  int maxDepth_;
  std::vector<std::int32_t> endOf_;  // by end edge: its production
  std::map<std::int32_t, std::vector<std::int32_t>> loopTerms_;

  SyntaxTree tree_;
  InputFailure failure_;
  InputToken tok_, last_;
  bool have_ = false;
  std::vector<InputToken> ahead_;
  unsigned long shifted_ = 0;
  unsigned long loopAt_ = 0;
  std::vector<const std::vector<std::int32_t>*> loopExpect_;
  int depth_ = 0;
};

}  // namespace

ParseOutcome ParseInput(const Grammar& grammar, const EmbeddedDecisions& decisions, const regex::Lexicon& lexicon,
                        std::string_view input, int maxDepth, int maxErrors) {
  InputParser parser(grammar, decisions, lexicon, input, maxDepth);
  ParseOutcome outcome = parser.Run();
  if (maxErrors > 0 && !outcome.Accepted)
    outcome.Errors = RecoverErrors(grammar.Lang(), decisions, lexicon, input, maxDepth, maxErrors, outcome.Failure);
  return outcome;
}

}  // namespace parvolen::inspect
