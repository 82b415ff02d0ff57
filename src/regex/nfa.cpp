// Note [nfa exits]
// Make(node, from) adds the states and moves of a node to the automaton, starting at the existing
// state `from`, and returns the state where a match of the node ends (its exit). Two facts hold
// for every node and let the parts be chained without extra empty moves:
//  1. Make adds no move into `from` or any other state that existed before: every move it adds
//     leads to a state it has just made. So a part that starts at the exit of the part before it
//     cannot lead back into that earlier part, and branches of an alternation may share `from`.
//  2. Every path from `from` to the exit spells a match of the node, and the states the node made
//     are entered only from `from` or from each other. So whatever is added after the exit
//     follows a whole match of the node.
// A loop therefore needs a state of its own: `x*` makes a loop state L with from -> L, the body
// from L, and its exit -> L, and L is the exit; `x+` keeps the exit of the body as its exit and
// moves from it back to L. The counts of NfaStates follow this construction state by state.
#include "regex/nfa.h"

#include <algorithm>
#include <unordered_map>

#include "regex/byte_text.h"

namespace parvolen::regex {
namespace {

constexpr std::uint64_t kSaturated = std::uint64_t{1} << 50;

std::uint64_t Sat(std::uint64_t n) { return std::min(n, kSaturated); }
std::uint64_t Times(std::uint64_t count, std::uint64_t size) {
  return size != 0 && count > kSaturated / size ? kSaturated : Sat(count * size);
}

class Maker {
 public:
  explicit Maker(Nfa& nfa) : nfa_(nfa) {}

  std::int32_t NewState() {
    accept_.push_back(-1);
    return static_cast<std::int32_t>(accept_.size() - 1);
  }

  void Rule(const Tree* tree, std::int32_t rule, std::int32_t start) {
    const std::int32_t own = NewState();
    eps_.push_back({start, own});
    if (tree == nullptr) return;  // matches nothing: no accepting state
    const std::int32_t exit = tree->Root < 0 ? own : Make(*tree, tree->Root, own);
    accept_[static_cast<std::size_t>(exit)] = rule;
  }

  // Puts the moves in per-state order, each state's in the order they were made.
  void Finish() {
    const std::size_t n = accept_.size();
    nfa_.Accept = std::move(accept_);
    nfa_.EdgeStart.assign(n + 1, 0);
    nfa_.EpsStart.assign(n + 1, 0);
    for (const auto& e : edges_) ++nfa_.EdgeStart[static_cast<std::size_t>(e.from) + 1];
    for (const auto& e : eps_) ++nfa_.EpsStart[static_cast<std::size_t>(e.from) + 1];
    for (std::size_t s = 0; s < n; ++s) {
      nfa_.EdgeStart[s + 1] += nfa_.EdgeStart[s];
      nfa_.EpsStart[s + 1] += nfa_.EpsStart[s];
    }
    std::vector<std::int32_t> fill(nfa_.EdgeStart.begin(), nfa_.EdgeStart.end() - 1);
    nfa_.Edges.resize(edges_.size());
    for (const auto& e : edges_) nfa_.Edges[static_cast<std::size_t>(fill[static_cast<std::size_t>(e.from)]++)] = {e.set, e.to};
    fill.assign(nfa_.EpsStart.begin(), nfa_.EpsStart.end() - 1);
    nfa_.Eps.resize(eps_.size());
    for (const auto& e : eps_) nfa_.Eps[static_cast<std::size_t>(fill[static_cast<std::size_t>(e.from)]++)] = e.to;
  }

 private:
  struct Move {
    std::int32_t from, to;
  };
  struct ByteMove {
    std::int32_t from, set, to;
  };

  std::int32_t SetIndex(const std::bitset<256>& set) {
    const auto [it, fresh] = setIndex_.try_emplace(set, static_cast<std::int32_t>(nfa_.Sets.size()));
    if (fresh) nfa_.Sets.push_back(set);
    return it->second;
  }

  void Eps(std::int32_t from, std::int32_t to) {
    if (from != to) eps_.push_back({from, to});
  }

  // See note [nfa exits].
  std::int32_t Make(const Tree& tree, std::int32_t index, std::int32_t from) {
    const Node& node = tree.Nodes[static_cast<std::size_t>(index)];
    switch (node.Kind) {
      case NodeKind::Empty:
        return from;
      case NodeKind::Bytes: {
        const std::int32_t to = NewState();
        edges_.push_back({from, SetIndex(node.Set), to});
        return to;
      }
      case NodeKind::Concat:
        for (const std::int32_t c : node.Children) from = Make(tree, c, from);
        return from;
      case NodeKind::Alt: {
        const std::int32_t end = NewState();
        for (const std::int32_t c : node.Children) Eps(Make(tree, c, from), end);
        return end;
      }
      case NodeKind::Fragment:
        return Make(*node.Fragment, node.Fragment->Root, from);
      case NodeKind::Repeat:
        break;
    }
    const std::int32_t body = node.Children[0];
    if (node.Max == 0) return from;
    if (node.Max == kUnbounded) {
      for (std::int32_t i = 1; i < node.Min; ++i) from = Make(tree, body, from);
      const std::int32_t loop = NewState();
      Eps(from, loop);
      const std::int32_t exit = Make(tree, body, loop);
      Eps(exit, loop);
      return node.Min == 0 ? loop : exit;
    }
    for (std::int32_t i = 0; i < node.Min; ++i) from = Make(tree, body, from);
    if (node.Max == node.Min) return from;
    const std::int32_t end = NewState();
    Eps(from, end);
    for (std::int32_t i = node.Min; i < node.Max; ++i) {
      from = Make(tree, body, from);
      Eps(from, end);
    }
    return end;
  }

  Nfa& nfa_;
  std::vector<std::int32_t> accept_;
  std::vector<ByteMove> edges_;
  std::vector<Move> eps_;
  std::unordered_map<std::bitset<256>, std::int32_t> setIndex_;
};

// The states that the tree's root makes, each tree worked out once (`known`): a fragment node
// makes those of its tree.
std::uint64_t RootStates(const Tree& tree, std::unordered_map<const Tree*, std::uint64_t>& known) {
  if (const auto found = known.find(&tree); found != known.end()) return found->second;
  // Children come before their parents, so one pass in order counts every node.
  std::vector<std::uint64_t> size(tree.Nodes.size(), 0);
  for (std::size_t i = 0; i < tree.Nodes.size(); ++i) {
    const Node& node = tree.Nodes[i];
    std::uint64_t n = 0;
    switch (node.Kind) {
      case NodeKind::Empty:
        break;
      case NodeKind::Bytes:
        n = 1;
        break;
      case NodeKind::Concat:
      case NodeKind::Alt:
        n = node.Kind == NodeKind::Alt ? 1 : 0;
        for (const std::int32_t c : node.Children) n = Sat(n + size[static_cast<std::size_t>(c)]);
        break;
      case NodeKind::Repeat: {
        const std::uint64_t body = size[static_cast<std::size_t>(node.Children[0])];
        const auto min = static_cast<std::uint64_t>(node.Min);
        if (node.Max == 0) {
          n = 0;
        } else if (node.Max == kUnbounded) {
          n = Sat(Times(min == 0 ? 1 : min, body) + 1);
        } else {
          const auto max = static_cast<std::uint64_t>(node.Max);
          n = Sat(Times(max, body) + (max > min ? 1 : 0));
        }
        break;
      }
      case NodeKind::Fragment:
        n = RootStates(*node.Fragment, known);
        break;
    }
    size[i] = n;
  }
  return known[&tree] = size[static_cast<std::size_t>(tree.Root)];
}

}  // namespace

std::uint64_t NfaStates(const Tree* rule) {
  if (rule == nullptr || rule->Root < 0) return 1;
  std::unordered_map<const Tree*, std::uint64_t> known;
  return Sat(1 + RootStates(*rule, known));
}

Nfa MakeNfa(const std::vector<const Tree*>& rules) {
  Nfa nfa;
  nfa.RuleCount = static_cast<std::int32_t>(rules.size());
  Maker maker(nfa);
  nfa.Start = maker.NewState();
  for (std::size_t r = 0; r < rules.size(); ++r) maker.Rule(rules[r], static_cast<std::int32_t>(r), nfa.Start);
  maker.Finish();
  return nfa;
}

std::string Dump(const Nfa& nfa) {
  std::string out = "start " + std::to_string(nfa.Start) + "\n";
  for (std::int32_t s = 0; s < nfa.StateCount(); ++s) {
    const auto u = static_cast<std::size_t>(s);
    out += std::to_string(s) + ":";
    for (std::int32_t e = nfa.EdgeStart[u]; e < nfa.EdgeStart[u + 1]; ++e) {
      const Nfa::Edge& edge = nfa.Edges[static_cast<std::size_t>(e)];
      out += " " + BytesText(nfa.Sets[static_cast<std::size_t>(edge.Set)]) + "->" + std::to_string(edge.To);
    }
    for (std::int32_t e = nfa.EpsStart[u]; e < nfa.EpsStart[u + 1]; ++e)
      out += " eps->" + std::to_string(nfa.Eps[static_cast<std::size_t>(e)]);
    if (nfa.Accept[u] >= 0) out += " accept " + std::to_string(nfa.Accept[u]);
    out += "\n";
  }
  return out;
}

}  // namespace parvolen::regex
