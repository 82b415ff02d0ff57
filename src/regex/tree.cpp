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

#include "regex/byte_text.h"
#include "regex/syntax.h"

namespace parvolen::regex {
namespace {

// What each node matches, worked out bottom-up: children come before their parents.
struct Facts {
  std::vector<char> empty;    // matches the empty string
  std::vector<char> nothing;  // matches no string
};

Facts Analyse(const Tree& tree) {
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
    }
  }
  return f;
}

void DumpNode(const Tree& tree, std::int32_t index, std::string& out) {
  const Node& node = tree.Nodes[static_cast<std::size_t>(index)];
  const std::string at = "@" + std::to_string(node.Offset);
  switch (node.Kind) {
    case NodeKind::Empty:
      out += "()" + at;
      return;
    case NodeKind::Bytes:
      out += BytesText(node.Set) + at;
      return;
    case NodeKind::Concat:
    case NodeKind::Alt: {
      const bool alt = node.Kind == NodeKind::Alt;
      out += (alt ? "alt" : "cat") + at + "(";
      for (std::size_t i = 0; i < node.Children.size(); ++i) {
        if (i > 0) out += alt ? " | " : " ";
        DumpNode(tree, node.Children[i], out);
      }
      out += ")";
      return;
    }
    case NodeKind::Repeat:
      out += "rep{" + std::to_string(node.Min) + "," + (node.Max == kUnbounded ? "" : std::to_string(node.Max)) +
             "}" + at + "(";
      DumpNode(tree, node.Children[0], out);
      out += ")";
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
  return Analyse(tree).empty[static_cast<std::size_t>(tree.Root)] != 0;
}

bool MatchesNothing(const Tree& tree) {
  if (tree.Root < 0) return false;
  return Analyse(tree).nothing[static_cast<std::size_t>(tree.Root)] != 0;
}

std::bitset<256> BytesUsed(const Tree& tree) {
  std::bitset<256> used;
  if (tree.Root < 0) return used;
  const Facts f = Analyse(tree);
  std::vector<char> live(tree.Nodes.size(), 0);
  live[static_cast<std::size_t>(tree.Root)] = !f.nothing[static_cast<std::size_t>(tree.Root)];
  // Parents come after their children, so a walk from the end meets each node after its parents.
  for (std::size_t i = tree.Nodes.size(); i-- > 0;) {
    if (!live[i]) continue;
    const Node& node = tree.Nodes[i];
    if (node.Kind == NodeKind::Bytes) used |= node.Set;
    if (node.Kind == NodeKind::Repeat && node.Max == 0) continue;
    for (const std::int32_t c : node.Children) {
      const auto k = static_cast<std::size_t>(c);
      if (!f.nothing[k]) live[k] = 1;
    }
  }
  return used;
}

std::string Dump(const Tree& tree) {
  if (tree.Root < 0) return "()@0";
  std::string out;
  DumpNode(tree, tree.Root, out);
  return out;
}

}  // namespace parvolen::regex
