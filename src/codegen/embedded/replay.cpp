#include "codegen/embedded/replay.h"

namespace parvolen {
namespace {

constexpr std::int64_t kSteps = 1'000'000;
constexpr int kDepth = 2'000;

class Replayer {
 public:
  Replayer(const Language& lang, const EmbeddedDecisions& decisions, const std::vector<std::int32_t>& input)
      : lang_(lang), decisions_(decisions), input_(input) {}

  Replay Run() {
    Replay r = Routine(lang_.StartNont, 0);
    if (r == Replay::Accepts && Token(0) != lang_.EoiCode) r = Replay::Rejects;
    return r;
  }

 private:
  [[nodiscard]] std::int32_t Token(std::size_t ahead) const {
    return at_ + ahead < input_.size() ? input_[at_ + ahead] : lang_.EoiCode;
  }
  [[nodiscard]] const EdgeRec* Edge(std::int32_t e) const {
    return e >= 1 && e <= lang_.LastEdge ? &lang_.EdgeTab[e] : nullptr;
  }

  // The leaf the decision reaches on the coming terminals; nullptr where no terminal continues,
  // with `first` telling whether that happened at the coming terminal.
  const DecisionNode* Walk(const DecisionNode& node, bool& first) const {
    const DecisionNode* at = &node;
    for (std::size_t level = 0; !at->Leaf(); ++level) {
      const auto child = at->Next.find(Token(level));
      if (child == at->Next.end()) {
        first = level == 0;
        return nullptr;
      }
      at = &child->second;
    }
    return at;
  }

  Replay Routine(std::int32_t nont, int depth) {
    if (nont < 1 || nont > lang_.LastNonterminal || depth > kDepth) return Replay::Unknown;
    const NontRec& n = lang_.NontTab[nont];
    const EdgeRec* first = Edge(n.ProdEdges);
    Replay r = first == nullptr || first->Altr == 0 ? Sequence(n.ProdEdges, depth) : Choice(n.ProdEdges, depth);
    if (r != Replay::Accepts || n.RecEdges == 0) return r;
    for (;;) {
      if (++steps_ > kSteps) return Replay::Unknown;
      const DecisionNode* node = decisions_.At(n.RecEdges);
      std::int32_t member = 0;
      if (node != nullptr) {
        bool atFirst = false;
        const DecisionNode* leaf = Walk(*node, atFirst);
        if (leaf == nullptr) return atFirst ? Replay::Accepts : Replay::Rejects;
        member = leaf->Member;
      }
      if (member <= 0) return Replay::Accepts;
      const std::size_t before = at_;
      if (r = Sequence(member, depth); r != Replay::Accepts) return r;
      if (at_ == before) return Replay::Rejects;  // the same pass again and again: it never ends
    }
  }

  Replay Choice(std::int32_t first, int depth) {
    const DecisionNode* node = decisions_.At(first);
    if (node == nullptr) return Replay::Rejects;
    bool atFirst = false;
    const DecisionNode* leaf = Walk(*node, atFirst);
    if (leaf == nullptr || leaf->Member <= 0) return Replay::Rejects;
    return Sequence(leaf->Member, depth);
  }

  Replay Sequence(std::int32_t edge, int depth) {
    while (const EdgeRec* e = Edge(edge)) {
      if (++steps_ > kSteps) return Replay::Unknown;
      if (e->WhoAmI == kEdgeTerminal) {
        if (Token(0) != e->Code) return Replay::Rejects;
        ++at_;
      } else if (e->WhoAmI == kEdgeNonterminal) {
        if (Replay r = Routine(e->Code, depth + 1); r != Replay::Accepts) return r;
      }
      const EdgeRec* next = Edge(e->Next);
      if (next == nullptr) return Replay::Accepts;
      if (next->Altr != 0) return Choice(e->Next, depth);
      edge = e->Next;
    }
    return Replay::Accepts;
  }

  const Language& lang_;
  const EmbeddedDecisions& decisions_;
  const std::vector<std::int32_t>& input_;
  std::size_t at_ = 0;
  std::int64_t steps_ = 0;
};

}  // namespace

Replay ReplayParse(const Language& lang, const EmbeddedDecisions& decisions, const std::vector<std::int32_t>& input) {
  if (!lang.EdgeTab.Exists() || !lang.NontTab.Exists()) return Replay::Unknown;
  return Replayer(lang, decisions, input).Run();
}

}  // namespace parvolen
