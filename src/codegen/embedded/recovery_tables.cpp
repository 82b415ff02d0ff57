#include "codegen/embedded/recovery_tables.h"

#include <algorithm>
#include <vector>

#include "codegen/shared/trie_reader.h"

namespace parvolen {
namespace {

// Builds the tables: the edges of the tries first, then their rows, the nodes of the decisions
// numbered in the order the rows ask for them.
class TableBuilder {
 public:
  TableBuilder(const Language& lang, const EmbeddedDecisions& decisions, RecoveryTables& t)
      : lang_(lang),
        trie_(lang),
        decisions_(decisions),
        t_(t),
        edgeIndex_(static_cast<std::size_t>(std::max(lang.LastEdge, 0)) + 1, -1),
        choices_(edgeIndex_.size(), -1) {}

  // Collects the edges of the tries of the nonterminals.
  Status Collect(const std::vector<bool>& nonterminals) {
    for (std::int32_t n = 1; n < static_cast<std::int32_t>(nonterminals.size()); ++n) {
      if (!nonterminals[static_cast<std::size_t>(n)]) continue;
      const NontRec& rec = lang_.NontTab[n];
      for (std::int32_t root : {rec.ProdEdges, rec.RecEdges}) {
        std::vector<std::int32_t> todo;
        if (root != 0) todo.push_back(root);
        while (!todo.empty()) {
          const std::int32_t e = todo.back();
          todo.pop_back();
          if (EdgeIndex(e) >= 0) continue;
          const EdgeRec* rec2 = nullptr;
          if (Status st = trie_.EdgeAt(e, rec2); st != stOk) return st;
          edgeIndex_[static_cast<std::size_t>(e)] = static_cast<int>(edges_.size());
          edges_.push_back(e);
          owner_.push_back(n);
          if (rec2->Next != 0) todo.push_back(rec2->Next);
          if (rec2->Altr != 0) todo.push_back(rec2->Altr);
        }
      }
    }
    return stOk;
  }

  Status Rows() {
    for (std::size_t i = 0; i < edges_.size(); ++i) {
      const EdgeRec* e = nullptr;
      if (Status st = trie_.EdgeAt(edges_[i], e); st != stOk) return st;
      RecTableEdge row;
      if (e->WhoAmI == kEdgeTerminal) {
        row.Kind = RecEdgeKind::Term;
        row.Code = e->Code;
      } else if (e->WhoAmI == kEdgeNonterminal) {
        row.Kind = e->Code == owner_[i] && EndsAt(e->Next) ? RecEdgeKind::Jump : RecEdgeKind::Call;
        row.Code = e->Code;
      } else if (e->WhoAmI == kEdgeEnd) {
        row.Kind = RecEdgeKind::End;
      } else {
        row.Kind = RecEdgeKind::Skip;
      }
      if (Status st = ListStart(e->Next, row.Next, row.NextNode); st != stOk) return st;
      t_.Edges.push_back(row);
    }
    t_.Nonts.assign(static_cast<std::size_t>(lang_.LastNonterminal > 0 ? lang_.LastNonterminal : 0) + 1, RecTableNont{});
    for (std::int32_t n = 1; n <= lang_.LastNonterminal; ++n) {
      const NontRec& rec = lang_.NontTab[n];
      if (rec.ProdEdges == 0 && rec.RecEdges == 0) continue;
      if (EdgeIndex(rec.ProdEdges) < 0 && EdgeIndex(rec.RecEdges) < 0) continue;  // not written
      RecTableNont& row = t_.Nonts[static_cast<std::size_t>(n)];
      if (Status st = ListStart(rec.ProdEdges, row.Edge, row.Node); st != stOk) return st;
      row.Loop = rec.RecEdges != 0 ? LoopNode(rec.RecEdges) : -1;
    }
    return stOk;
  }

 private:
  int EdgeIndex(std::int32_t edge) const {
    return edge >= 0 && static_cast<std::size_t>(edge) < edgeIndex_.size() ? edgeIndex_[static_cast<std::size_t>(edge)]
                                                                           : -1;
  }

  // The node of the decision of a list of the productions; a list that no input selects gets
  // a node without member, and one where a single member can complete a node that takes it.
  int ChoiceNode(std::int32_t first) {
    // The list's first edge passed EdgeAt: it is within the table.
    int& known = choices_[static_cast<std::size_t>(first)];
    if (known >= 0) return known;
    const DecisionNode* node = decisions_.At(first);
    const bool none = node == nullptr || (node->Leaf() && node->Member <= 0);
    const int index = none ? NewNode(kRecNone, 0) : Serialize(*node);
    choices_[static_cast<std::size_t>(first)] = index;
    return index;
  }

  // The node of the decision of a tail loop, or -1 when the loop is always left.
  int LoopNode(std::int32_t first) {
    const DecisionNode* node = decisions_.At(first);
    if (node == nullptr || (node->Leaf() && node->Member <= 0)) return -1;
    return Serialize(*node);
  }

  // True when nothing follows in the production: no edge, or only its end.
  bool EndsAt(std::int32_t next) const {
    if (next == 0) return true;
    const EdgeRec* e = nullptr;
    return trie_.EdgeAt(next, e) == stOk && e->WhoAmI == kEdgeEnd && e->Altr == 0 && e->Next == 0;
  }

  // Where a list begins: an edge or a node (the other -1), or both -1 for none.
  Status ListStart(std::int32_t first, int& edge, int& node) {
    edge = node = -1;
    if (first == 0) return stOk;
    const EdgeRec* e = nullptr;
    if (Status st = trie_.EdgeAt(first, e); st != stOk) return st;
    if (e->Altr != 0) {
      node = ChoiceNode(first);
    } else {
      edge = EdgeIndex(first);
    }
    return stOk;
  }

  int NewNode(int member, int arcs) {
    t_.Nodes.push_back(RecTableNode{member, static_cast<int>(t_.Arcs.size()), arcs});
    return static_cast<int>(t_.Nodes.size()) - 1;
  }

  int Serialize(const DecisionNode& node) {
    if (node.Leaf()) {
      if (node.Member == kLeaveLoop) return NewNode(kRecLeave, 0);
      const int edge = EdgeIndex(node.Member);
      return NewNode(edge < 0 ? kRecNone : edge, 0);
    }
    const int index = NewNode(kRecNone, static_cast<int>(node.Next.size()));
    const std::size_t first = t_.Arcs.size();
    for (const auto& [term, child] : node.Next) t_.Arcs.push_back(RecTableArc{term, 0});
    std::size_t i = first;
    for (const auto& [term, child] : node.Next) {
      const int at = Serialize(child);
      t_.Arcs[i++].Node = at;
    }
    return index;
  }

  const Language& lang_;
  TrieReader trie_;
  const EmbeddedDecisions& decisions_;
  RecoveryTables& t_;
  std::vector<int> edgeIndex_;  // by edge: its compact number, or -1
  std::vector<std::int32_t> edges_;  // by compact number: the edge
  std::vector<std::int32_t> owner_;  // ... and the nonterminal whose trie holds it
  std::vector<int> choices_;    // by the first edge of a list: the node of its decision, or -1
};

}  // namespace

Status BuildRecoveryTables(const Language& lang, const EmbeddedDecisions& decisions,
                           const std::vector<bool>& nonterminals, RecoveryTables& tables) {
  tables = RecoveryTables{};
  TableBuilder builder(lang, decisions, tables);
  if (Status st = builder.Collect(nonterminals); st != stOk) return st;
  return builder.Rows();
}

}  // namespace parvolen
