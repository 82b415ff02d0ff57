#include "analysis/view_walk.h"

#include <algorithm>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "analysis/edges.h"
#include "analysis/view_table.h"
#include "analysis/views.h"
#include "base/stack_room.h"
#include "model/key_index.h"

namespace parvolen {
namespace {

// Two 32-bit numbers as one key.
std::uint64_t PairKey(std::int32_t high, std::int32_t low) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32) | static_cast<std::uint32_t>(low);
}

struct TrieNode {
  std::int32_t parent;
  std::int32_t term;
};

// What a trie works in while it is filled: its nodes, the index of their children and Graft's
// mapping. Tries live one inside the other, so the workspace of the innermost is the last one
// lent, and a trie of the same depth reuses the room of the one before.
struct TrieWorkspace {
  std::vector<TrieNode> nodes;
  KeyIndex children;                 // (parent, term) -> child
  std::vector<std::int32_t> mapped;  // Graft: where each node of the other trie went
};

class WorkspacePool {
 public:
  TrieWorkspace& Lend() {
    if (lent_ == spaces_.size()) spaces_.push_back(std::make_unique<TrieWorkspace>());
    TrieWorkspace& space = *spaces_[lent_++];
    space.nodes.assign(1, TrieNode{0, 0});
    space.children.Clear();
    return space;
  }
  void GiveBack() { --lent_; }

 private:
  std::vector<std::unique_ptr<TrieWorkspace>> spaces_;
  std::size_t lent_ = 0;
};

// Strings as a trie of their own: node 0 is the root, every other node one terminal (0 for the
// lambda view) below its parent, numbered in the order the walk first reached it. Every trie
// adds its nodes to a count shared by the walk, which bounds the memory the walk may take.
class StringTrie {
 public:
  using Node = TrieNode;

  StringTrie(std::size_t& live, std::size_t& made, WorkspacePool& pool)
      : space_(pool.Lend()), pool_(pool), live_(live), made_(made) {
    ++live_;
  }
  ~StringTrie() {
    live_ -= space_.nodes.size();
    pool_.GiveBack();
  }
  StringTrie(const StringTrie&) = delete;
  StringTrie& operator=(const StringTrie&) = delete;

  // The child of parent for term, made when it is new.
  std::int32_t Insert(std::int32_t parent, std::int32_t term) {
    std::vector<Node>& nodes = space_.nodes;
    const auto [child, fresh] = space_.children.TryEmplace(PairKey(parent, term), static_cast<std::int32_t>(nodes.size()));
    if (fresh) {
      nodes.push_back({parent, term});
      ++live_;
      ++made_;
    }
    return child;
  }

  // Adds the nodes of another trie below node `at`, in that trie's order.
  void Graft(std::int32_t at, std::span<const Node> other) {
    std::vector<std::int32_t>& mapped = space_.mapped;
    mapped.resize(other.size());
    mapped[0] = at;
    for (std::size_t i = 1; i < other.size(); ++i)
      mapped[i] = Insert(mapped[static_cast<std::size_t>(other[i].parent)], other[i].term);
  }

  [[nodiscard]] const std::vector<Node>& Nodes() const { return space_.nodes; }
  // Appends the nodes to `into`; the trie is left empty.
  void MoveTo(std::vector<Node>& into) {
    live_ -= space_.nodes.size();
    into.insert(into.end(), space_.nodes.begin(), space_.nodes.end());
    space_.nodes.clear();
    space_.children.Clear();
  }

 private:
  TrieWorkspace& space_;
  WorkspacePool& pool_;
  std::size_t& live_;
  std::size_t& made_;
};

}  // namespace

struct ViewWalker::State {
  Language* lang;
  // Continuations of the view being made: stack 0 is empty, stack i holds edge list
  // conts[i].edges above stack conts[i].below; a push costs one element and no copy.
  struct Cont {
    std::int32_t edges;
    std::int32_t below;
    std::int32_t height;  // number of edge lists on the stack
    std::int32_t same;    // the number of this stack among all equal stacks, -1 until asked
  };
  std::vector<Cont> conts{{0, 0, 0, 0}};
  // Numbers of stacks by content, kept from view to view so that they can be part of a key.
  std::vector<std::pair<std::int32_t, std::int32_t>> sameStacks{{0, 0}};
  KeyIndex sameIndex;

  // How much of the continuation a walk has read: the height of the lowest stack element it
  // went on with, 0 when it met the empty stack (where the follow flag decides), kUntouched
  // while it read none. Strings that read the top c elements only depend on those.
  static constexpr std::int32_t kUntouched = INT32_MAX;
  std::int32_t lowest = kUntouched;
  // Strings that depend on more of the continuation than this are not kept: keys that long are
  // rarely met again, and keeping them would cost memory in proportion to the nesting.
  static constexpr std::int32_t kLongestKey = 64;

  // Strings worked out once, with what they read of the continuation they were made on: the
  // top `consulted` edge lists, and with `bottom` the emptiness below them and the follow flag.
  // The strings and the edge lists lie in the blocks `keptNodes` and `keptTops`.
  struct Known {
    std::int32_t consulted = 0;
    bool bottom = false;
    bool follow = false;
    std::uint32_t topAt = 0;
    std::uint32_t topCount = 0;
    std::uint32_t stringsAt = 0;
    std::uint32_t stringsCount = 0;
    std::int32_t next = -1;  // the next one of the same mark and lookahead (segments)
  };
  std::vector<Known> known;
  std::vector<StringTrie::Node> keptNodes;
  std::vector<std::int32_t> keptTops;
  [[nodiscard]] std::span<const StringTrie::Node> Strings(const Known& k) const {
    return std::span<const StringTrie::Node>(keptNodes).subspan(k.stringsAt, k.stringsCount);
  }
  [[nodiscard]] std::span<const std::int32_t> Top(const Known& k) const {
    return std::span<const std::int32_t>(keptTops).subspan(k.topAt, k.topCount);
  }
  // What follows a terminal: (edges, continuation, lookahead, follow flag) -> strings. After a
  // terminal no work mark of the lower lookahead is set, so the key says everything. The pair
  // (edges, continuation) gets a number of its own in `afterPairs`; `after` maps that number
  // with the lookahead and the flag to the entry of `known`.
  KeyIndex afterPairs;
  KeyIndex after;

  // Work marks within one lookahead. Entering nonterminal n reads mark n, passing the end of a
  // production of o reads mark Nonterminals + 1 + o. A walk from a mark reads only marks it can
  // reach in this graph, and the marks set by the walks around it can all reach it; where its
  // mark lies on no cycle, none of those is read, and its strings are the same whatever is set
  // around it. `alone` tells those marks; their walks are kept in `segments` by mark, lookahead
  // and what they read of the continuation.
  std::vector<bool> alone;
  // (mark, lookahead) -> the first and last entries of `known` of its list, in `segmentLists`.
  KeyIndex segments;
  std::vector<std::pair<std::int32_t, std::int32_t>> segmentLists;

  // Forgets every string kept for reuse.
  void DropKnown() {
    known.clear();
    keptNodes.clear();
    keptTops.clear();
    afterPairs.Clear();
    after.Clear();
    segments.Clear();
    segmentLists.clear();
    held = 0;
  }

  // Memory and time: the nodes of the tries being filled (`live`) and of the strings kept in
  // `after` and `segments` (`held`) stay within `room`, which the capacity of the view table
  // sets, and one view makes at most kMadePerRoom times as many nodes in all (`made`). A walk
  // that would pass either is given up, and the plain unfolding fills the table as far as it
  // goes; what is kept is dropped before the next view once it fills half the room.
  WorkspacePool tries;
  std::size_t live = 0;
  std::size_t made = 0;
  std::size_t held = 0;
  std::size_t room = 0;
  static constexpr std::size_t kNodesPerView = 2;
  static constexpr std::size_t kMadePerRoom = 8;
  static constexpr std::size_t kLeastRoom = std::size_t{1} << 16;

  [[nodiscard]] Status Within() const {
    return live > room || made > kMadePerRoom * room ? stTooManyViews : stOk;
  }

  // Keeps strings for reuse, as a new entry of `known`; stTooManyViews, and nothing kept, when
  // they do not fit.
  Status Keep(const Known& fresh, std::int32_t& entry) {
    if (held + fresh.stringsCount > room) {
      Forget(fresh);
      return stTooManyViews;
    }
    held += fresh.stringsCount;
    entry = static_cast<std::int32_t>(known.size());
    known.push_back(fresh);
    return stOk;
  }
  // Gives back the room of strings that Record made and nobody keeps (they were made last).
  void Forget(const Known& fresh) {
    keptNodes.resize(fresh.stringsAt);
    keptTops.resize(fresh.topAt);
  }

  std::int32_t Push(std::int32_t k, std::int32_t edges) {
    conts.push_back({edges, k, conts[static_cast<std::size_t>(k)].height + 1, -1});
    return static_cast<std::int32_t>(conts.size() - 1);
  }
  const Cont& At(std::int32_t k) const { return conts[static_cast<std::size_t>(k)]; }

  // The number that stack k shares with every stack of the same content.
  std::vector<std::int32_t> unknown;  // Same's work list, kept for its room
  std::vector<std::int32_t> views, lastChild;  // Make's work lists, kept for their room
  std::int32_t Same(std::int32_t k) {
    unknown.clear();
    for (std::int32_t s = k; At(s).same < 0; s = At(s).below) unknown.push_back(s);
    for (auto it = unknown.rbegin(); it != unknown.rend(); ++it) {
      Cont& c = conts[static_cast<std::size_t>(*it)];
      const std::int32_t below = At(c.below).same;
      const std::uint64_t key = PairKey(c.edges, below);
      const auto [found, fresh] = sameIndex.TryEmplace(key, static_cast<std::int32_t>(sameStacks.size()));
      if (fresh) sameStacks.emplace_back(c.edges, below);
      c.same = found;
    }
    return At(k).same;
  }

  std::uint8_t& FirstMark(std::int32_t nont, std::int32_t d) { return lang->FirstMarks[nont].Depth[d]; }
  std::uint8_t& FollowMark(std::int32_t nont, std::int32_t d) { return lang->FollowMarks[nont].Depth[d]; }

  // Runs body into a trie of its own and records what it read of continuation k.
  template <class Body>
  Status Record(std::int32_t k, bool f, Known& fresh, Body body) {
    const std::int32_t around = lowest;
    lowest = kUntouched;
    StringTrie own(live, made, tries);
    const Status st = body(own);
    const std::int32_t reached = lowest;
    lowest = std::min(around, reached);
    if (st != stOk) return st;
    const std::int32_t height = At(k).height;
    fresh.bottom = reached == 0;
    fresh.follow = f;
    fresh.consulted = reached == kUntouched ? 0 : (fresh.bottom ? height : std::max(0, height - reached + 1));
    fresh.topAt = static_cast<std::uint32_t>(keptTops.size());
    if (fresh.consulted <= kLongestKey)
      for (std::int32_t s = k, i = 0; i < fresh.consulted; s = At(s).below, ++i) keptTops.push_back(At(s).edges);
    fresh.topCount = static_cast<std::uint32_t>(keptTops.size() - fresh.topAt);
    fresh.stringsAt = static_cast<std::uint32_t>(keptNodes.size());
    own.MoveTo(keptNodes);
    fresh.stringsCount = static_cast<std::uint32_t>(keptNodes.size() - fresh.stringsAt);
    return stOk;
  }

  // Whether strings recorded on another continuation hold on continuation k with flag f.
  bool Holds(const Known& one, std::int32_t k, bool f) const {
    const std::int32_t height = At(k).height;
    if (one.bottom && (height != one.consulted || one.follow != f)) return false;
    if (height < one.consulted) return false;
    std::int32_t s = k;
    for (std::int32_t edges : Top(one)) {
      if (At(s).edges != edges) return false;
      s = At(s).below;
    }
    return true;
  }

  // Uses known strings at node `at`: they read of k what they read when they were made.
  Status Use(const Known& one, std::int32_t k, StringTrie& out, std::int32_t at) {
    if (one.bottom) lowest = 0;
    else if (one.consulted > 0) lowest = std::min(lowest, At(k).height - one.consulted + 1);
    out.Graft(at, Strings(one));
    return Within();
  }

  // The strings after a terminal, from the table of known ones or worked out now.
  Status After(std::int32_t edges, std::int32_t d, std::int32_t k, bool f, StringTrie& out, std::int32_t at) {
    if (Status st = CheckEdge(lang, edges); st != stOk) return st;
    if (d <= 0) return stOk;
    if (At(k).height > kLongestKey) return Walk(edges, out, at, d, k, f);
    const std::int32_t pair =
        afterPairs.TryEmplace(PairKey(edges, Same(k)), static_cast<std::int32_t>(afterPairs.Size())).first;
    const std::uint64_t key = (static_cast<std::uint64_t>(pair) << 4) | (static_cast<std::uint64_t>(d) << 1) | (f ? 1 : 0);
    std::int32_t entry = after.Find(key);
    if (entry < 0) {
      Known fresh;
      if (Status st = Record(k, f, fresh, [&](StringTrie& own) { return Walk(edges, own, 0, d, k, f); }); st != stOk)
        return st;
      // The key holds the whole continuation: what was read of it need not be compared.
      keptTops.resize(fresh.topAt);
      fresh.topCount = 0;
      if (Status st = Keep(fresh, entry); st != stOk) return st;
      after.Entry(key) = entry;
    }
    return Use(known[static_cast<std::size_t>(entry)], k, out, at);
  }

  // The walk from a mark, reused where it holds (see `alone`).
  template <class Body>
  Status FromMark(std::int32_t mark, std::int32_t d, std::int32_t k, bool f, StringTrie& out, std::int32_t at,
                  Body body) {
    if (!alone[static_cast<std::size_t>(mark)]) return body(out, at);
    const std::uint64_t key = (static_cast<std::uint64_t>(mark) << 3) | static_cast<std::uint64_t>(d);
    const std::int32_t list = segments.Find(key);
    if (list >= 0) {
      for (std::int32_t e = segmentLists[static_cast<std::size_t>(list)].first; e >= 0;
           e = known[static_cast<std::size_t>(e)].next) {
        if (Holds(known[static_cast<std::size_t>(e)], k, f)) return Use(known[static_cast<std::size_t>(e)], k, out, at);
      }
    }
    Known fresh;
    if (Status st = Record(k, f, fresh, [&](StringTrie& own) { return body(own, 0); }); st != stOk) return st;
    out.Graft(at, Strings(fresh));
    if (fresh.consulted > kLongestKey) {
      Forget(fresh);
      return Within();
    }
    std::int32_t entry = -1;
    if (Status st = Keep(fresh, entry); st != stOk) return st;
    // The list of the key is made with its first entry.
    const auto [at2, fresh2] = segments.TryEmplace(key, static_cast<std::int32_t>(segmentLists.size()));
    if (fresh2) {
      segmentLists.emplace_back(entry, entry);
    } else {
      auto& ends = segmentLists[static_cast<std::size_t>(at2)];
      known[static_cast<std::size_t>(ends.second)].next = entry;
      ends.second = entry;
    }
    return Within();
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
          const std::int32_t inner = Push(k, edge.Next);
          st = FromMark(nont, d, inner, f, out, at, [&](StringTrie& into, std::int32_t where) {
            return Walk(lang->NontTab[nont].ProdEdges, into, where, d, inner, f);
          });
          FirstMark(nont, d) = 0;
          break;
        }
        case kEdgeEnd: {
          std::int32_t owner = 0;
          if (Status bad = EndOwner(lang, edge.Code, owner); bad != stOk) return bad;
          if (FollowMark(owner, d) != 0) return stOk;
          FollowMark(owner, d) = 1;
          st = FromMark(lang->LastNonterminal + 1 + owner, d, k, f, out, at,
                        [&](StringTrie& into, std::int32_t where) { return PassEnd(owner, into, where, d, k, f); });
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
      if (st == stOk) st = Within();
      if (st != stOk) return st;
    }
    return stOk;
  }

  // The end of a production of owner: its left-recursive tails, then the innermost continuation,
  // or else what follows the owner (follow flag set) or the end of the string (flag clear).
  Status PassEnd(std::int32_t owner, StringTrie& out, std::int32_t at, std::int32_t d, std::int32_t k, bool f) {
    if (Status st = Walk(lang->NontTab[owner].RecEdges, out, at, d, k, f); st != stOk) return st;
    if (k != 0) {
      lowest = std::min(lowest, At(k).height);
      return Walk(At(k).edges, out, at, d, At(k).below, f);
    }
    lowest = 0;
    if (f) return Walk(lang->NontTab[owner].FolEdges, out, at, d, 0, f);
    out.Insert(at, 0);
    return stOk;
  }

  // The marks that each mark's walk can read directly: entering n reads the marks at the head of
  // its productions; passing the end of o those at the head of its tails and of what follows it.
  void Heads(std::int32_t list, std::vector<std::int32_t>& marks) const {
    std::vector<std::int32_t> lists{list};
    while (!lists.empty()) {
      const std::int32_t first = lists.back();
      lists.pop_back();
      for (std::int32_t m = first; m > 0 && m <= lang->LastEdge; m = lang->EdgeTab[m].Altr) {
        const EdgeRec& edge = lang->EdgeTab[m];
        std::int32_t owner = 0;
        if (edge.WhoAmI == kEdgeNonterminal && edge.Code >= 1 && edge.Code <= lang->LastNonterminal)
          marks.push_back(edge.Code);
        else if (edge.WhoAmI == kEdgeEnd && EndOwner(lang, edge.Code, owner) == stOk)
          marks.push_back(lang->LastNonterminal + 1 + owner);
        else if (edge.WhoAmI == kEdgeAction || edge.WhoAmI == kEdgeOutput)
          lists.push_back(edge.Next);
      }
    }
  }

  // Marks on no cycle of the graph of direct reads (strongly connected components, iteratively).
  void FindAlone() {
    const std::int32_t nonts = lang->LastNonterminal;
    const auto count = static_cast<std::size_t>(2 * nonts + 2);
    std::vector<std::vector<std::int32_t>> reads(count);
    for (std::int32_t n = 1; n <= nonts; ++n) {
      Heads(lang->NontTab[n].ProdEdges, reads[static_cast<std::size_t>(n)]);
      Heads(lang->NontTab[n].RecEdges, reads[static_cast<std::size_t>(nonts + 1 + n)]);
      Heads(lang->NontTab[n].FolEdges, reads[static_cast<std::size_t>(nonts + 1 + n)]);
    }
    alone.assign(count, false);
    std::vector<std::int32_t> index(count, -1), low(count, 0), stack;
    std::vector<bool> onStack(count, false);
    std::int32_t next = 0;
    struct Frame {
      std::int32_t node;
      std::size_t edge;
    };
    for (std::size_t root = 0; root < count; ++root) {
      if (index[root] >= 0) continue;
      std::vector<Frame> frames{{static_cast<std::int32_t>(root), 0}};
      index[root] = low[root] = next++;
      stack.push_back(static_cast<std::int32_t>(root));
      onStack[root] = true;
      while (!frames.empty()) {
        Frame& fr = frames.back();
        const auto v = static_cast<std::size_t>(fr.node);
        if (fr.edge < reads[v].size()) {
          const auto w = static_cast<std::size_t>(reads[v][fr.edge++]);
          if (index[w] < 0) {
            index[w] = low[w] = next++;
            stack.push_back(static_cast<std::int32_t>(w));
            onStack[w] = true;
            frames.push_back({static_cast<std::int32_t>(w), 0});
          } else if (onStack[w]) {
            low[v] = std::min(low[v], index[w]);
          }
          continue;
        }
        if (low[v] == index[v]) {
          std::size_t size = 0;
          std::int32_t w = -1;
          do {
            w = stack.back();
            stack.pop_back();
            onStack[static_cast<std::size_t>(w)] = false;
            ++size;
          } while (static_cast<std::size_t>(w) != v);
          bool selfRead = false;
          for (std::int32_t r : reads[v]) selfRead = selfRead || static_cast<std::size_t>(r) == v;
          alone[v] = size == 1 && !selfRead;
        }
        frames.pop_back();
        if (!frames.empty()) {
          const auto u = static_cast<std::size_t>(frames.back().node);
          low[u] = std::min(low[u], low[v]);
        }
      }
    }
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
  State& s = *state_;
  s.room = std::max(s.kLeastRoom, State::kNodesPerView * static_cast<std::size_t>(std::max(lang->Views, 0)));
  // Also before the edge lists kept would outgrow the 32-bit places of Known.
  if (s.held >= s.room / 2 || s.keptTops.size() >= (std::size_t{1} << 31)) {
    s.DropKnown();
    s.sameStacks.resize(1);
    s.sameIndex.Clear();
  }
  s.made = 0;
  StringTrie strings(s.live, s.made, s.tries);
  state_->conts.resize(1);
  state_->lowest = State::kUntouched;
  if (state_->alone.empty()) state_->FindAlone();
  unfold = state_->Walk(edges, strings, 0, lookahead, 0, follow) != stOk;
  if (unfold) return stOk;
  // Into the view table in the order of first reach: the plain unfolding makes the same views.
  const std::vector<StringTrie::Node>& nodes = strings.Nodes();
  std::vector<std::int32_t>& views = s.views;
  std::vector<std::int32_t>& lastChild = s.lastChild;  // where the next search in that list may start
  views.assign(nodes.size(), 0);
  lastChild.assign(nodes.size(), 0);
  for (std::size_t i = 1; i < nodes.size(); ++i) {
    const auto parent = static_cast<std::size_t>(nodes[i].parent);
    std::int32_t* into = parent == 0 ? slot : &lang->ViewTab[views[parent]].Next;
    if (Status st = ViewIns(lang, into, nodes[i].term, &views[i], lastChild[parent]); st != stOk) return st;
    lastChild[parent] = views[i];
  }
  return stOk;
}

}  // namespace parvolen
