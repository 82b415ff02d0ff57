#include "findings/classic_replay.h"

#include <optional>
#include <set>
#include <vector>

#include "base/stack_room.h"

namespace parvolen {
namespace {

constexpr std::int64_t kSteps = 1'000'000;
constexpr int kDepth = 2'000;

class Replayer {
 public:
  Replayer(const Language& lang, const TermString& input, const DecisionOverride* override)
      : lang_(lang), input_(input), override_(override) {}

  ClassicVerdict Run() { return Routine(lang_.StartNont, 0); }
  [[nodiscard]] std::size_t Read() const { return at_; }

 private:
  [[nodiscard]] std::int32_t Token(std::size_t ahead) const {
    return at_ + ahead < input_.size() ? input_[at_ + ahead] : lang_.EoiCode;
  }
  [[nodiscard]] const EdgeRec* Edge(std::int32_t e) const {
    return e >= 1 && e <= lang_.LastEdge ? &lang_.EdgeTab[e] : nullptr;
  }
  [[nodiscard]] const NodeRec* Node(std::int32_t n) const {
    return n >= 1 && n <= lang_.LastNode ? &lang_.NodeTab[n] : nullptr;
  }
  bool Step() { return ++steps_ <= kSteps; }

  // The member the decision list selects on the coming terminals; 0 for none.
  std::int32_t Decide(std::int32_t nodes, std::int32_t first) {
    if (override_ != nullptr && override_->First == first && override_->At == at_) {
      bool same = true;
      for (std::size_t i = 0; i < override_->String.size() && same; ++i) same = Token(i) == override_->String[i];
      if (same) return override_->Member;
    }
    std::size_t level = 0;
    for (std::int32_t n = nodes; n != 0 && Step();) {
      const NodeRec* node = Node(n);
      if (node == nullptr) return 0;
      if (node->Term != Token(level)) {
        n = node->Altr;
        continue;
      }
      if (node->Edge != 0) return node->Edge;
      n = node->Next;
      ++level;
    }
    return 0;
  }

  // The terminals of the top list of the nonterminal's DLRF: the tail loop goes on at them.
  const std::set<std::int32_t>& LoopTerms(std::int32_t nont) {
    if (loopTerms_.empty()) loopTerms_.resize(static_cast<std::size_t>(lang_.LastNonterminal) + 1);
    std::optional<std::set<std::int32_t>>& terms = loopTerms_[nont];
    if (!terms) terms = ViewTopTerms(lang_, lang_.NontTab[nont].DLRF);
    return *terms;
  }

  ClassicVerdict Routine(std::int32_t nont, int depth) {
    if (nont < 1 || nont > lang_.LastNonterminal || depth > kDepth || StackNearlyFull()) return ClassicVerdict::Unknown;
    const NontRec& n = lang_.NontTab[nont];
    const EdgeRec* first = Edge(n.ProdEdges);
    ClassicVerdict r = first == nullptr || first->Altr == 0 ? Sequence(n.ProdEdges, depth) : Choice(n.ProdNodes, n.ProdEdges, depth);
    if (r != ClassicVerdict::Accepts || n.RecEdges == 0) return r;
    const EdgeRec* tail = Edge(n.RecEdges);
    if (tail == nullptr) return ClassicVerdict::Unknown;
    while (LoopTerms(nont).contains(Token(0))) {
      if (!Step()) return ClassicVerdict::Unknown;
      const std::size_t before = at_;
      r = tail->Altr == 0 ? Sequence(n.RecEdges, depth) : Choice(n.RecNodes, n.RecEdges, depth);
      if (r != ClassicVerdict::Accepts) return r;
      if (at_ == before) return ClassicVerdict::Unknown;  // the same pass for ever
    }
    return ClassicVerdict::Accepts;
  }

  ClassicVerdict Choice(std::int32_t nodes, std::int32_t first, int depth) {
    const std::int32_t member = Decide(nodes, first);
    if (steps_ > kSteps) return ClassicVerdict::Unknown;
    return member == 0 ? ClassicVerdict::Rejects : Sequence(member, depth);
  }

  ClassicVerdict Sequence(std::int32_t edge, int depth) {
    while (const EdgeRec* e = Edge(edge)) {
      if (!Step()) return ClassicVerdict::Unknown;
      if (e->WhoAmI == kEdgeTerminal) {
        if (Token(0) != e->Code) return ClassicVerdict::Rejects;
        ++at_;
      } else if (e->WhoAmI == kEdgeNonterminal) {
        if (ClassicVerdict r = Routine(e->Code, depth + 1); r != ClassicVerdict::Accepts) return r;
      }
      const EdgeRec* next = Edge(e->Next);
      if (next == nullptr) return ClassicVerdict::Accepts;
      if (next->Altr != 0) return Choice(e->Node, e->Next, depth);
      edge = e->Next;
    }
    return ClassicVerdict::Accepts;
  }

  const Language& lang_;
  const TermString& input_;
  const DecisionOverride* override_;
  std::size_t at_ = 0;
  std::int64_t steps_ = 0;
  std::vector<std::optional<std::set<std::int32_t>>> loopTerms_;
};

}  // namespace

ClassicVerdict ReplayClassic(const Language& lang, const TermString& input, const DecisionOverride* override,
                             std::size_t* read) {
  if (read != nullptr) *read = 0;
  if (!lang.EdgeTab.Exists() || !lang.NontTab.Exists()) return ClassicVerdict::Unknown;
  Replayer replayer(lang, input, override);
  const ClassicVerdict verdict = replayer.Run();
  if (read != nullptr) *read = replayer.Read();
  return verdict;
}

}  // namespace parvolen
