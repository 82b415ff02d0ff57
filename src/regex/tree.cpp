// Note [bytes used]
// BytesUsed is exact: a byte is reported only when some match of the pattern contains it. A node
// is live when it lies on the way of some match: the root when it matches anything; the children
// of a live concatenation (none of them matches nothing, or the concatenation would not), each
// child of a live alternation that matches something, and the child of a live repetition that
// may repeat at least once and matches something. A live byte set contributes its bytes: every
// one of them is the middle of a match, since each other part around it can be filled with a
// match of its own. Everything outside live nodes (`x{0}`, a branch that matches nothing, a
// concatenation with an empty class) appears in no match.
#include <algorithm>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "regex/byte_text.h"
#include "regex/syntax.h"

namespace parvolen::regex {
namespace {

// What each node matches, worked out bottom-up: children come before their parents. A fragment
// node has the facts of its tree's root, worked out once per tree of a pass (`known`), so that a
// fragment used many times, or fragments that use each other, cost their own nodes only.
struct Facts {
  std::vector<char> empty;    // matches the empty string
  std::vector<char> nothing;  // matches no string
};
using KnownFacts = std::unordered_map<const Tree*, std::pair<char, char>>;  // root: empty, nothing

Facts Analyse(const Tree& tree, KnownFacts& known);

std::pair<char, char> RootFacts(const Tree& tree, KnownFacts& known) {
  if (const auto found = known.find(&tree); found != known.end()) return found->second;
  const Facts f = Analyse(tree, known);
  const auto root = static_cast<std::size_t>(tree.Root);
  return known[&tree] = {f.empty[root], f.nothing[root]};
}

Facts Analyse(const Tree& tree, KnownFacts& known) {
  Facts f;
  const std::size_t n = tree.Nodes.size();
  f.empty.assign(n, 0);
  f.nothing.assign(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    const Node& node = tree.Nodes[i];
    const auto kid = [&](std::int32_t c) { return static_cast<std::size_t>(c); };
    switch (node.Kind) {
      case NodeKind::Empty:
        f.empty[i] = 1;
        break;
      case NodeKind::Bytes:
        f.nothing[i] = node.Set.none();
        break;
      case NodeKind::Concat:
        f.empty[i] = std::all_of(node.Children.begin(), node.Children.end(), [&](auto c) { return f.empty[kid(c)]; });
        f.nothing[i] = std::any_of(node.Children.begin(), node.Children.end(), [&](auto c) { return f.nothing[kid(c)]; });
        break;
      case NodeKind::Alt:
        f.empty[i] = std::any_of(node.Children.begin(), node.Children.end(), [&](auto c) { return f.empty[kid(c)]; });
        f.nothing[i] = std::all_of(node.Children.begin(), node.Children.end(), [&](auto c) { return f.nothing[kid(c)]; });
        break;
      case NodeKind::Repeat:
        f.empty[i] = node.Min == 0 || f.empty[kid(node.Children[0])];
        f.nothing[i] = node.Min > 0 && f.nothing[kid(node.Children[0])];
        break;
      case NodeKind::Fragment:
        std::tie(f.empty[i], f.nothing[i]) = RootFacts(*node.Fragment, known);
        break;
    }
  }
  return f;
}

// See note [bytes used]; a live fragment node contributes the bytes of its tree, worked out once
// per tree of a pass.
std::bitset<256> Used(const Tree& tree, std::unordered_map<const Tree*, std::bitset<256>>& usedBy, KnownFacts& known) {
  std::bitset<256> used;
  if (tree.Root < 0) return used;
  if (const auto found = usedBy.find(&tree); found != usedBy.end()) return found->second;
  const Facts f = Analyse(tree, known);
  std::vector<char> live(tree.Nodes.size(), 0);
  live[static_cast<std::size_t>(tree.Root)] = !f.nothing[static_cast<std::size_t>(tree.Root)];
  // Parents come after their children, so a walk from the end meets each node after its parents.
  for (std::size_t i = tree.Nodes.size(); i-- > 0;) {
    if (!live[i]) continue;
    const Node& node = tree.Nodes[i];
    if (node.Kind == NodeKind::Bytes) used |= node.Set;
    if (node.Kind == NodeKind::Fragment) used |= Used(*node.Fragment, usedBy, known);
    if (node.Kind == NodeKind::Repeat && node.Max == 0) continue;
    for (const std::int32_t c : node.Children) {
      const auto k = static_cast<std::size_t>(c);
      if (!f.nothing[k]) live[k] = 1;
    }
  }
  return usedBy[&tree] = used;
}

// The node written at `at`, and its descendants at `inner` when given (the nodes of a fragment
// stand at the reference), else each at its own place.
void DumpNode(const Tree& tree, std::int32_t index, std::size_t at, const std::optional<std::size_t>& inner,
              std::string& out) {
  const Node& node = tree.Nodes[static_cast<std::size_t>(index)];
  const std::string place = "@" + std::to_string(at);
  const auto child = [&](std::int32_t c) {
    DumpNode(tree, c, inner.value_or(tree.Nodes[static_cast<std::size_t>(c)].Offset), inner, out);
  };
  switch (node.Kind) {
    case NodeKind::Empty:
      out += "()" + place;
      return;
    case NodeKind::Bytes:
      out += BytesText(node.Set) + place;
      return;
    case NodeKind::Concat:
    case NodeKind::Alt: {
      const bool alt = node.Kind == NodeKind::Alt;
      out += (alt ? "alt" : "cat") + place + "(";
      for (std::size_t i = 0; i < node.Children.size(); ++i) {
        if (i > 0) out += alt ? " | " : " ";
        child(node.Children[i]);
      }
      out += ")";
      return;
    }
    case NodeKind::Repeat:
      out += "rep{" + std::to_string(node.Min) + "," + (node.Max == kUnbounded ? "" : std::to_string(node.Max)) +
             "}" + place + "(";
      child(node.Children[0]);
      out += ")";
      return;
    case NodeKind::Fragment:
      DumpNode(*node.Fragment, node.Fragment->Root, at, inner.value_or(node.Reference), out);
      return;
  }
}

}  // namespace

Tree Literal(std::string_view text, bool foldCase) {
  Tree tree;
  std::vector<std::int32_t> bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    Node node;
    node.Kind = NodeKind::Bytes;
    node.Offset = i;
    node.Length = 1;
    const auto byte = static_cast<unsigned char>(text[i]);
    node.Set.set(byte);
    if (foldCase && ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z'))) node.Set.set(byte ^ 0x20u);
    bytes.push_back(static_cast<std::int32_t>(tree.Nodes.size()));
    tree.Nodes.push_back(std::move(node));
  }
  tree.Size = tree.Nodes.size() + (bytes.size() == 1 ? 0 : 1);
  if (bytes.size() == 1) {
    tree.Root = 0;
    return tree;
  }
  Node top;
  top.Kind = bytes.empty() ? NodeKind::Empty : NodeKind::Concat;
  top.Length = text.size();
  top.Children = std::move(bytes);
  top.Height = top.Children.empty() ? 1 : 2;
  tree.Root = static_cast<std::int32_t>(tree.Nodes.size());
  tree.Nodes.push_back(std::move(top));
  return tree;
}

bool MatchesEmpty(const Tree& tree) {
  if (tree.Root < 0) return true;
  KnownFacts known;
  return RootFacts(tree, known).first != 0;
}

bool MatchesNothing(const Tree& tree) {
  if (tree.Root < 0) return false;
  KnownFacts known;
  return RootFacts(tree, known).second != 0;
}

std::bitset<256> BytesUsed(const Tree& tree) {
  std::unordered_map<const Tree*, std::bitset<256>> usedBy;
  KnownFacts known;
  return Used(tree, usedBy, known);
}

std::string Dump(const Tree& tree) {
  if (tree.Root < 0) return "()@0";
  std::string out;
  DumpNode(tree, tree.Root, tree.Nodes[static_cast<std::size_t>(tree.Root)].Offset, std::nullopt, out);
  return out;
}

}  // namespace parvolen::regex
