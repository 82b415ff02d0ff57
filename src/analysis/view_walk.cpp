#include "analysis/view_walk.h"

#include <unordered_map>
#include <utility>
#include <vector>

#include "analysis/edges.h"
#include "base/stack_room.h"
#include "analysis/view_table.h"
#include "analysis/views.h"

namespace parvolen {
namespace {

// Strings as a trie of their own: node 0 is the root, every other node one terminal (0 for the
// lambda view) below its parent, numbered in the order the walk first reached it.
class StringTrie {
 public:
  struct Node {
    std::int32_t parent;
    std::int32_t term;
  };

  StringTrie() : nodes_{{0, 0}} {}

  // The child of parent for term, made when it is new.
  std::int32_t Insert(std::int32_t parent, std::int32_t term) {
    const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(parent)) << 32) |
                              static_cast<std::uint32_t>(term);
    const auto [it, fresh] = children_.try_emplace(key, static_cast<std::int32_t>(nodes_.size()));
    if (fresh) nodes_.push_back({parent, term});
    return it->second;
  }

  // Adds the nodes of another trie below node `at`, in that trie's order.
  void Graft(std::int32_t at, const std::vector<Node>& other) {
    std::vector<std::int32_t> mapped(other.size());
    mapped[0] = at;
    for (std::size_t i = 1; i < other.size(); ++i)
      mapped[i] = Insert(mapped[static_cast<std::size_t>(other[i].parent)], other[i].term);
  }

  [[nodiscard]] const std::vector<Node>& Nodes() const { return nodes_; }
  std::vector<Node> Take() { return std::move(nodes_); }

 private:
  std::vector<Node> nodes_;
  std::unordered_map<std::uint64_t, std::int32_t> children_;
};

struct KeyHash {
  std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& k) const {
    return std::hash<std::uint64_t>()(k.first * 0x9E3779B97F4A7C15ull ^ k.second);
  }
};

}  // namespace

struct ViewWalker::State {
  Language* lang;
  // Continuations of the view being made: stack 0 is empty, stack i holds edge list
  // conts[i].edges above stack conts[i].below; a push costs one element and no copy.
  struct Cont {
    std::int32_t edges;
    std::int32_t below;
    std::int32_t same;  // the number of this stack among all equal stacks, -1 until asked
  };
  std::vector<Cont> conts{{0, 0, 0}};
  // Numbers of stacks by content, kept from view to view so that they can be part of a key.
  std::vector<std::pair<std::int32_t, std::int32_t>> sameStacks{{0, 0}};
  std::unordered_map<std::uint64_t, std::int32_t> sameIndex;
  // What follows a terminal: (edges, lookahead, continuation, follow flag) -> strings.
  std::unordered_map<std::pair<std::uint64_t, std::uint64_t>, std::vector<StringTrie::Node>, KeyHash> after;

  std::int32_t Push(std::int32_t k, std::int32_t edges) {
    conts.push_back({edges, k, -1});
    return static_cast<std::int32_t>(conts.size() - 1);
  }

  // The number that stack k shares with every stack of the same content.
  std::int32_t Same(std::int32_t k) {
    std::vector<std::int32_t> unknown;
    for (std::int32_t s = k; conts[static_cast<std::size_t>(s)].same < 0; s = conts[static_cast<std::size_t>(s)].below)
      unknown.push_back(s);
    for (auto it = unknown.rbegin(); it != unknown.rend(); ++it) {
      Cont& c = conts[static_cast<std::size_t>(*it)];
      const std::int32_t below = conts[static_cast<std::size_t>(c.below)].same;
      const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(c.edges)) << 32) |
                                static_cast<std::uint32_t>(below);
      const auto [found, fresh] = sameIndex.try_emplace(key, static_cast<std::int32_t>(sameStacks.size()));
      if (fresh) sameStacks.emplace_back(c.edges, below);
      c.same = found->second;
    }
    return conts[static_cast<std::size_t>(k)].same;
  }

  std::uint8_t& FirstMark(std::int32_t nont, std::int32_t d) { return lang->FirstMarks[nont].Depth[d]; }
  std::uint8_t& FollowMark(std::int32_t nont, std::int32_t d) { return lang->FollowMarks[nont].Depth[d]; }

  // The strings after a terminal, from the table of known ones or worked out now.
  Status After(std::int32_t edges, std::int32_t d, std::int32_t k, bool f, StringTrie& out, std::int32_t at) {
    if (Status st = CheckEdge(lang, edges); st != stOk) return st;
    if (d <= 0) return stOk;
    const std::pair<std::uint64_t, std::uint64_t> key{
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(edges)) << 32) | static_cast<std::uint32_t>(Same(k)),
        static_cast<std::uint64_t>(d) * 2 + (f ? 1 : 0)};
    auto found = after.find(key);
    if (found == after.end()) {
      StringTrie own;
      if (Status st = Walk(edges, own, 0, d, k, f); st != stOk) return st;
      found = after.emplace(key, own.Take()).first;
    }
    out.Graft(at, found->second);
    return stOk;
  }

  // ViewMakeOne step for step, into a trie of its own; marks as the plain unfolding sets them.
  Status Walk(std::int32_t edges, StringTrie& out, std::int32_t at, std::int32_t d, std::int32_t k, bool f) {
    if (Status st = CheckEdge(lang, edges); st != stOk) return st;
    if (d <= 0) return stOk;
    if (d > kMaxLookahead) return stValueTooHigh;
    if (edges == 0) {
      out.Insert(at, 0);
      return stOk;
    }
    if (StackNearlyFull()) return stNoMem;
    for (std::int32_t m = edges; m != 0; m = lang->EdgeTab[m].Altr) {
      const EdgeRec& edge = lang->EdgeTab[m];
      Status st = stOk;
      switch (edge.WhoAmI) {
        case kEdgeTerminal:
          st = After(edge.Next, d - 1, k, f, out, out.Insert(at, edge.Code));
          break;
        case kEdgeNonterminal: {
          const std::int32_t nont = edge.Code;
          if (nont < 1 || nont > lang->LastNonterminal) return stBadNonterminalCode;
          if (FirstMark(nont, d) != 0) return stNotKindAny;
          FirstMark(nont, d) = 1;
          st = Walk(lang->NontTab[nont].ProdEdges, out, at, d, Push(k, edge.Next), f);
          FirstMark(nont, d) = 0;
          break;
        }
        case kEdgeEnd: {
          std::int32_t owner = 0;
          if (Status bad = EndOwner(lang, edge.Code, owner); bad != stOk) return bad;
          if (FollowMark(owner, d) != 0) return stOk;
          FollowMark(owner, d) = 1;
          st = Walk(lang->NontTab[owner].RecEdges, out, at, d, k, f);
          if (st == stOk) {
            if (k != 0) st = Walk(conts[static_cast<std::size_t>(k)].edges, out, at, d, conts[static_cast<std::size_t>(k)].below, f);
            else if (f) st = Walk(lang->NontTab[owner].FolEdges, out, at, d, 0, f);
            else out.Insert(at, 0);
          }
          FollowMark(owner, d) = 0;
          break;
        }
        case kEdgeAction:
        case kEdgeOutput:
          st = Walk(edge.Next, out, at, d, k, f);
          break;
        default:
          return stBadEdgeType;
      }
      if (st != stOk) return st;
    }
    return stOk;
  }
};

ViewWalker::ViewWalker(Language* lang) : state_(std::make_unique<State>()) { state_->lang = lang; }
ViewWalker::~ViewWalker() = default;

Status ViewWalker::Make(std::int32_t edges, std::int32_t* slot, std::int32_t lookahead, bool follow, bool& unfold) {
  Language* lang = state_->lang;
  // Where ViewMakeOne would stop at once with its own diagnostic, it is left to do so.
  unfold = slot == nullptr || !lang->EdgeTab.Exists() || !lang->NontTab.Exists() || !lang->FirstMarks.Exists() ||
           !lang->FollowMarks.Exists();
  if (unfold) return stOk;
  StringTrie strings;
  state_->conts.resize(1);
  unfold = state_->Walk(edges, strings, 0, lookahead, 0, follow) != stOk;
  if (unfold) return stOk;
  // Into the view table in the order of first reach: the plain unfolding makes the same views.
  const std::vector<StringTrie::Node>& nodes = strings.Nodes();
  std::vector<std::int32_t> views(nodes.size(), 0);
  std::vector<std::int32_t> lastChild(nodes.size(), 0);  // where the next search in that list may start
  for (std::size_t i = 1; i < nodes.size(); ++i) {
    const auto parent = static_cast<std::size_t>(nodes[i].parent);
    std::int32_t* into = parent == 0 ? slot : &lang->ViewTab[views[parent]].Next;
    if (Status st = ViewIns(lang, into, nodes[i].term, &views[i], lastChild[parent]); st != stOk) return st;
    lastChild[parent] = views[i];
  }
  return stOk;
}

}  // namespace parvolen
