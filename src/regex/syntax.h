// Regular expressions of token definitions, first stage: the pattern parsed to a tree over bytes.
//
//   regex::Tree tree;
//   regex::SyntaxError error;
//   if (!regex::Parse("[a-z_][a-z0-9_]*", lookup, tree, error)) report(error.Offset, error.Length, error.Text);
//
// The tree has five kinds of node: the empty string, one byte out of a set, a concatenation, an
// alternation and a repetition min..max. Everything else of the syntax is written in those
// terms by the parser: a string is a concatenation of bytes, a code point its UTF-8 bytes, a class
// of code points an alternation of UTF-8 byte sequences. A named fragment is a sixth kind, a
// reference to the fragment's own tree, which is shared and not copied: a chain of fragments that
// each use the one before twice costs its text, not the doubled size. Every pass over a tree
// treats a reference as the fragment's tree written out in its place, and the limits below count
// the nodes written out, so they bound every pass alike.
// Each node keeps the place of its text in the pattern for diagnostics (a fragment's nodes are
// placed at the reference).
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace parvolen::regex {

// The largest count of a repetition {n,m}.
inline constexpr std::int32_t kMaxRepeat = 1000;
// The deepest nesting of a tree (groups, repetitions of repetitions, fragments in fragments),
// which keeps every recursive pass over a tree within a small stack.
inline constexpr std::int32_t kMaxDepth = 500;
// The most nodes of one tree, every fragment counted as written out where it is used.
inline constexpr std::size_t kMaxNodes = 100000;

enum class NodeKind : std::uint8_t { Empty, Bytes, Concat, Alt, Repeat, Fragment };

struct Tree;

// A repetition without an upper bound has Max == kUnbounded.
inline constexpr std::int32_t kUnbounded = -1;

struct Node {
  NodeKind Kind = NodeKind::Empty;
  std::size_t Offset = 0;  // where the node's text begins in the pattern
  std::size_t Length = 0;  // and its length in bytes
  std::bitset<256> Set;    // Bytes: the bytes it matches (none: it matches nothing)
  std::vector<std::int32_t> Children;  // Concat and Alt: in order; Repeat: the one repeated
  std::int32_t Min = 0;                // Repeat: the counts
  std::int32_t Max = 0;
  std::int32_t Height = 1;  // 1 for a leaf, else one more than its highest child (a Fragment: its root's)
  std::shared_ptr<const Tree> Fragment;  // Fragment: the fragment's tree (never empty: an empty one is Empty)
  std::size_t Reference = 0;  // Fragment: where the reference stands, the place of the fragment's nodes
};

// A parse tree: nodes by number, children before their parents. A default Tree is the empty pattern.
struct Tree {
  std::vector<Node> Nodes;
  std::int32_t Root = -1;
  std::size_t Size = 0;  // the nodes with every fragment written out
};

struct SyntaxError {
  std::size_t Offset = 0;  // offset of the offending text in the pattern
  std::size_t Length = 1;
  std::string Text;
};

// Looks up a named fragment `{name}`; null when unknown. The tree is shared by the references to it.
using FragmentLookup = std::function<std::shared_ptr<const Tree>(std::string_view name)>;

// Parses a pattern; false with the error (offset, length, message) on a syntax error.
[[nodiscard]] bool Parse(std::string_view pattern, const FragmentLookup& fragments, Tree& tree, SyntaxError& error);

// A tree that matches exactly `text`; with foldCase ASCII letters match in either case.
[[nodiscard]] Tree Literal(std::string_view text, bool foldCase);

// True when the pattern matches the empty string.
[[nodiscard]] bool MatchesEmpty(const Tree& tree);

// True when the pattern matches no string at all (such as a class that excludes every byte).
[[nodiscard]] bool MatchesNothing(const Tree& tree);

// Every byte that some match may contain (exact: see note [bytes used] in tree.cpp).
[[nodiscard]] std::bitset<256> BytesUsed(const Tree& tree);

// The tree as text, each node followed by @offset: `a@0`, `[a-z]@0`, `()@3` (empty),
// `cat@0(a@0 b@1)`, `alt@0(a@0 | b@2)`, `rep{1,}@0(a@0)`.
[[nodiscard]] std::string Dump(const Tree& tree);

}  // namespace parvolen::regex
