// The parser of patterns: recursive descent over
//   alternation := sequence ('|' sequence)*
//   sequence    := (atom ('*' | '+' | '?' | '{n}' | '{n,}' | '{n,m}')*)*
//   atom        := char | escape | '.' | "string" | [class] | ( alternation ) | {name}
// Nodes are appended after their children (tree.cpp relies on that order), and every node passes
// through Add, which holds the limits on nesting and size (a fragment is a reference to its tree,
// counted at its written-out size). The tree is built aside and handed out
// only when the whole pattern is read.
#include <algorithm>
#include <memory>
#include <utility>

#include "regex/syntax.h"
#include "regex/utf8.h"

namespace parvolen::regex {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
unsigned HexValue(char c) {
  if (IsDigit(c)) return static_cast<unsigned>(c - '0');
  return static_cast<unsigned>((c | 0x20) - 'a' + 10);
}

// One character of the pattern: a byte, or a code point above 7F (from \u{} or raw UTF-8).
struct Char {
  char32_t Value = 0;
  bool CodePoint = false;
};

const char kBraceHelp[] =
    "'{' must begin a repetition such as {2,5} or a name such as {digit}: write '\\{' for a literal brace";

class Parser {
 public:
  Parser(std::string_view pattern, const FragmentLookup& fragments, SyntaxError& error)
      : p_(pattern), fragments_(fragments), error_(error) {}

  bool Run(Tree& result) {
    std::int32_t root = -1;
    if (!Alternation(0, root)) return false;
    if (pos_ < p_.size()) return Fail(pos_, 1, "unbalanced ')'");  // a sequence stops only at '|', ')' or the end
    tree_.Root = root;
    result = std::move(tree_);
    return true;
  }

 private:
  bool Fail(std::size_t offset, std::size_t length, std::string text) {
    error_.Offset = offset;
    error_.Length = length;
    error_.Text = std::move(text);
    return false;
  }

  bool AtEnd() const { return pos_ >= p_.size(); }
  char Peek(std::size_t ahead = 0) const { return pos_ + ahead < p_.size() ? p_[pos_ + ahead] : '\0'; }

  // Appends a node made of its kind, place and children; false past the limits. A Fragment node
  // comes with its height and counts the nodes of the fragment written out.
  bool Add(Node node, std::int32_t& index) {
    if (node.Kind != NodeKind::Fragment) node.Height = 1;
    for (const std::int32_t c : node.Children)
      node.Height = std::max(node.Height, tree_.Nodes[static_cast<std::size_t>(c)].Height + 1);
    if (node.Height > kMaxDepth)
      return Fail(node.Offset, node.Length, "the pattern nests more than " + std::to_string(kMaxDepth) + " levels deep");
    const std::size_t size = node.Kind == NodeKind::Fragment ? node.Fragment->Size : 1;
    if (size > kMaxNodes - tree_.Size)
      return Fail(node.Offset, node.Length, "the pattern is too large: more than " + std::to_string(kMaxNodes) + " nodes");
    tree_.Size += size;
    index = static_cast<std::int32_t>(tree_.Nodes.size());
    tree_.Nodes.push_back(std::move(node));
    return true;
  }

  bool AddLeaf(NodeKind kind, std::size_t offset, std::size_t length, const std::bitset<256>& set, std::int32_t& index) {
    Node node;
    node.Kind = kind;
    node.Offset = offset;
    node.Length = length;
    node.Set = set;
    return Add(std::move(node), index);
  }

  // A concatenation or alternation of the parts; one part stands for itself, none is the empty string.
  bool AddList(NodeKind kind, std::size_t offset, std::size_t length, std::vector<std::int32_t> parts,
               std::int32_t& index) {
    if (parts.size() == 1) {
      index = parts[0];
      return true;
    }
    Node node;
    node.Kind = parts.empty() ? NodeKind::Empty : kind;
    node.Offset = offset;
    node.Length = length;
    node.Children = std::move(parts);
    return Add(std::move(node), index);
  }

  bool Alternation(std::int32_t depth, std::int32_t& index) {
    const std::size_t start = pos_;
    std::vector<std::int32_t> alternatives(1);
    if (!Sequence(depth, alternatives[0])) return false;
    while (Peek() == '|' && !AtEnd()) {
      ++pos_;
      alternatives.emplace_back();
      if (!Sequence(depth, alternatives.back())) return false;
    }
    return AddList(NodeKind::Alt, start, pos_ - start, std::move(alternatives), index);
  }

  bool Sequence(std::int32_t depth, std::int32_t& index) {
    const std::size_t start = pos_;
    std::vector<std::int32_t> items;
    while (!AtEnd() && Peek() != '|' && Peek() != ')') {
      const std::size_t atomStart = pos_;
      items.emplace_back();
      if (!Atom(depth, items.back()) || !Repetitions(atomStart, items.back())) return false;
    }
    return AddList(NodeKind::Concat, start, pos_ - start, std::move(items), index);
  }

  // The counts of a `{n}`, `{n,}` or `{n,m}` at pos_: true when one is there, with pos_ after it.
  bool Counts(std::int32_t& min, std::int32_t& max) {
    std::size_t i = pos_ + 1;
    // A number, held at kMaxRepeat + 1 once above the limit; false without a digit.
    const auto number = [&](std::int32_t& value) {
      const std::size_t digits = i;
      value = 0;
      while (i < p_.size() && IsDigit(p_[i])) {
        value = std::min(value * 10 + (p_[i] - '0'), kMaxRepeat + 1);
        ++i;
      }
      return i > digits;
    };
    if (!number(min)) return false;
    max = min;
    if (i < p_.size() && p_[i] == ',') {
      ++i;
      if (!number(max)) max = kUnbounded;
    }
    if (i >= p_.size() || p_[i] != '}') return false;
    pos_ = i + 1;
    return true;
  }

  bool Repetitions(std::size_t atomStart, std::int32_t& index) {
    for (;;) {
      const std::size_t opStart = pos_;
      std::int32_t min = 0, max = kUnbounded;
      const char c = Peek();
      if (AtEnd()) return true;
      if (c == '*' || c == '+' || c == '?') {
        min = c == '+' ? 1 : 0;
        max = c == '?' ? 1 : kUnbounded;
        ++pos_;
      } else if (c == '{' && IsDigit(Peek(1))) {
        if (!Counts(min, max)) return Fail(opStart, 1, kBraceHelp);
        const std::string text(p_.substr(opStart, pos_ - opStart));
        if (min > kMaxRepeat || max > kMaxRepeat)
          return Fail(opStart, pos_ - opStart,
                      "repetition " + text + " is above the limit of " + std::to_string(kMaxRepeat));
        if (max != kUnbounded && min > max)
          return Fail(opStart, pos_ - opStart, "repetition " + text + ": its minimum is above its maximum");
      } else {
        return true;
      }
      Node node;
      node.Kind = NodeKind::Repeat;
      node.Offset = atomStart;
      node.Length = pos_ - atomStart;
      node.Children = {index};
      node.Min = min;
      node.Max = max;
      if (!Add(std::move(node), index)) return false;
    }
  }

  bool Atom(std::int32_t depth, std::int32_t& index) {
    const std::size_t start = pos_;
    const char c = Peek();
    if (c == '*' || c == '+' || c == '?' || (c == '{' && IsDigit(Peek(1)))) {
      std::size_t length = 1;
      std::int32_t min = 0, max = 0;
      if (c == '{' && !Counts(min, max)) return Fail(start, 1, kBraceHelp);
      if (c == '{') length = pos_ - start;
      return Fail(start, length, "nothing to repeat before '" + std::string(p_.substr(start, length)) + "'");
    }
    switch (c) {
      case '(': {
        if (depth + 1 > kMaxDepth)
          return Fail(start, 1, "the pattern nests more than " + std::to_string(kMaxDepth) + " levels deep");
        ++pos_;
        if (!Alternation(depth + 1, index)) return false;
        if (Peek() != ')' || AtEnd()) return Fail(start, 1, "unbalanced '('");
        ++pos_;
        // The group's node stands for the whole parenthesised text.
        Node& node = tree_.Nodes[static_cast<std::size_t>(index)];
        node.Offset = start;
        node.Length = pos_ - start;
        return true;
      }
      case '[':
        return Class(index);
      case '"':
        return String(index);
      case '{':
        return Fragment(index);
      case '.': {
        ++pos_;
        std::bitset<256> set;
        set.set();
        set.reset('\n');
        return AddLeaf(NodeKind::Bytes, start, 1, set, index);
      }
      default: {
        Char ch;
        std::vector<std::int32_t> parts;
        return ReadChar(ch) && AppendChar(ch, start, pos_ - start, parts) &&
               AddList(NodeKind::Concat, start, pos_ - start, std::move(parts), index);
      }
    }
  }

  // Appends a node per byte of the character (one, or the UTF-8 bytes of a code point), each
  // placed at the character's text.
  bool AppendChar(const Char& ch, std::size_t offset, std::size_t length, std::vector<std::int32_t>& parts) {
    std::array<unsigned char, 4> bytes{};
    std::size_t n = 1;
    if (ch.CodePoint) {
      n = EncodeUtf8(ch.Value, bytes);
    } else {
      bytes[0] = static_cast<unsigned char>(ch.Value);
    }
    for (std::size_t i = 0; i < n; ++i) {
      std::bitset<256> set;
      set.set(bytes[i]);
      parts.emplace_back();
      if (!AddLeaf(NodeKind::Bytes, offset, length, set, parts.back())) return false;
    }
    return true;
  }

  // A character at pos_ (an escape, a raw UTF-8 code point or a byte); pos_ goes past it.
  bool ReadChar(Char& ch) {
    const std::size_t start = pos_;
    if (Peek() != '\\') {
      char32_t cp = 0;
      const std::size_t n = DecodeUtf8(p_, pos_, cp);
      if (n > 1) {
        pos_ += n;
        ch = {cp, true};
        return true;
      }
      ch = {static_cast<unsigned char>(p_[pos_]), false};
      ++pos_;
      return true;
    }
    ++pos_;
    if (AtEnd()) return Fail(start, 1, "the pattern ends with a lone '\\'");
    const char c = Peek();
    ++pos_;
    switch (c) {
      case 'n': ch = {'\n', false}; return true;
      case 't': ch = {'\t', false}; return true;
      case 'r': ch = {'\r', false}; return true;
      case 'f': ch = {'\f', false}; return true;
      case 'v': ch = {'\v', false}; return true;
      case '0': ch = {'\0', false}; return true;
      case 'x': {
        if (!IsHex(Peek()) || !IsHex(Peek(1)))
          return Fail(start, IsHex(Peek()) ? 3 : 2, "'\\x' needs two hex digits, as in \\x1b");
        ch = {HexValue(Peek()) * 16 + HexValue(Peek(1)), false};
        pos_ += 2;
        return true;
      }
      case 'u':
        return CodePoint(start, ch);
      default:
        break;
    }
    if (IsLetter(c) || IsDigit(c)) return Fail(start, 2, "unknown escape '\\" + std::string(1, c) + "'");
    // Any other character stands for itself; a UTF-8 one as its code point.
    char32_t cp = 0;
    const std::size_t n = DecodeUtf8(p_, pos_ - 1, cp);
    if (n > 1) {
      pos_ += n - 1;
      ch = {cp, true};
      return true;
    }
    ch = {static_cast<unsigned char>(c), false};
    return true;
  }

  // The rest of `\u{HHHH}`, pos_ just after the `u`.
  bool CodePoint(std::size_t start, Char& ch) {
    std::size_t i = pos_;
    char32_t value = 0;
    std::size_t digits = 0;
    if (i < p_.size() && p_[i] == '{') {
      ++i;
      while (i < p_.size() && IsHex(p_[i]) && digits < 7) {
        value = value * 16 + HexValue(p_[i]);
        ++digits;
        ++i;
      }
    }
    if (digits == 0 || digits > 6 || i >= p_.size() || p_[i] != '}')
      return Fail(start, i - start, "'\\u' needs one to six hex digits in braces, as in \\u{20ac}");
    pos_ = i + 1;
    const std::string text(p_.substr(start, pos_ - start));
    if (value > kMaxCodePoint) return Fail(start, pos_ - start, "'" + text + "' is above the last code point 10ffff");
    if (value >= kSurrogateFirst && value <= kSurrogateLast)
      return Fail(start, pos_ - start, "'" + text + "' is a surrogate, not a character");
    ch = {value, value >= 0x80};
    return true;
  }

  bool String(std::int32_t& index) {
    const std::size_t start = pos_;
    ++pos_;
    std::vector<std::int32_t> parts;
    for (;;) {
      if (AtEnd()) return Fail(start, 1, "unclosed '\"'");
      if (Peek() == '"') break;
      const std::size_t charStart = pos_;
      Char ch;
      if (!ReadChar(ch) || !AppendChar(ch, charStart, pos_ - charStart, parts)) return false;
    }
    ++pos_;
    if (!AddList(NodeKind::Concat, start, pos_ - start, std::move(parts), index)) return false;
    Node& node = tree_.Nodes[static_cast<std::size_t>(index)];
    node.Offset = start;
    node.Length = pos_ - start;
    return true;
  }

  bool Fragment(std::int32_t& index) {
    const std::size_t start = pos_;
    std::size_t i = pos_ + 1;
    if (i >= p_.size() || !(IsLetter(p_[i]) || p_[i] == '_')) return Fail(start, 1, kBraceHelp);
    while (i < p_.size() && (IsLetter(p_[i]) || IsDigit(p_[i]) || p_[i] == '_' || p_[i] == '-')) ++i;
    if (i >= p_.size() || p_[i] != '}') return Fail(start, 1, kBraceHelp);
    const std::string_view name = p_.substr(start + 1, i - start - 1);
    pos_ = i + 1;
    const std::size_t length = pos_ - start;
    std::shared_ptr<const Tree> fragment = fragments_ ? fragments_(name) : nullptr;
    if (fragment == nullptr) return Fail(start, length, "unknown name '" + std::string(name) + "'");
    if (fragment->Root < 0) return AddLeaf(NodeKind::Empty, start, length, {}, index);
    // A reference to the fragment's tree, which stands for its nodes placed at the reference.
    Node node;
    node.Kind = NodeKind::Fragment;
    node.Offset = start;
    node.Length = length;
    node.Reference = start;
    node.Height = fragment->Nodes[static_cast<std::size_t>(fragment->Root)].Height;
    node.Fragment = std::move(fragment);
    return Add(std::move(node), index);
  }

  bool Class(std::int32_t& index) {
    const std::size_t start = pos_;
    ++pos_;
    const bool negate = Peek() == '^' && !AtEnd();
    if (negate) ++pos_;
    std::vector<std::pair<char32_t, char32_t>> ranges;
    bool codePoints = false, highBytes = false;
    for (bool first = true;; first = false) {
      if (AtEnd()) return Fail(start, 1, "unclosed '['");
      if (Peek() == ']') {
        if (!first) break;
        // ']' first is a member, unless no ']' follows to close the class.
        if (p_.find(']', pos_ + 1) == std::string_view::npos)
          return Fail(start, pos_ + 1 - start, "empty class '" + std::string(p_.substr(start, pos_ + 1 - start)) + "'");
      }
      const std::size_t itemStart = pos_;
      Char lo, hi;
      if (!ReadChar(lo)) return false;
      hi = lo;
      if (Peek() == '-' && pos_ + 1 < p_.size() && p_[pos_ + 1] != ']') {
        ++pos_;
        if (!ReadChar(hi)) return false;
        if (hi.Value < lo.Value) {
          const std::string text(p_.substr(itemStart, pos_ - itemStart));
          return Fail(itemStart, pos_ - itemStart, "range '" + text + "' is empty: its ends are reversed");
        }
      }
      for (const Char& end : {lo, hi}) {
        if (end.Value < 0x80) continue;
        (end.CodePoint ? codePoints : highBytes) = true;
      }
      ranges.emplace_back(lo.Value, hi.Value);
    }
    ++pos_;
    const std::size_t length = pos_ - start;
    if (codePoints && highBytes)
      return Fail(start, length, "a class cannot mix bytes \\x80-\\xff with code points above 7f");
    if (!codePoints) {
      std::bitset<256> set;
      for (const auto& [lo, hi] : ranges)
        for (char32_t b = lo; b <= hi; ++b) set.set(b);
      if (negate) set.flip();
      return AddLeaf(NodeKind::Bytes, start, length, set, index);
    }
    return CodePointClass(std::move(ranges), negate, start, length, index);
  }

  // A class of code points: the UTF-8 sequences of its ranges as alternatives, the single bytes
  // of 0..7F gathered into one set.
  bool CodePointClass(std::vector<std::pair<char32_t, char32_t>> ranges, bool negate, std::size_t start,
                      std::size_t length, std::int32_t& index) {
    std::sort(ranges.begin(), ranges.end());
    if (negate) {
      std::vector<std::pair<char32_t, char32_t>> complement;
      char32_t next = 0;  // the first code point not yet covered
      for (const auto& [lo, hi] : ranges) {
        if (lo > next) complement.emplace_back(next, lo - 1);
        next = std::max<char32_t>(next, hi + 1);
      }
      if (next <= kMaxCodePoint) complement.emplace_back(next, kMaxCodePoint);
      ranges = std::move(complement);
    }
    std::vector<Utf8Sequence> sequences;
    for (const auto& [lo, hi] : ranges) Utf8Sequences(lo, hi, sequences);
    std::bitset<256> ascii;
    std::vector<std::int32_t> alternatives;
    for (const Utf8Sequence& seq : sequences) {
      if (seq.Count == 1) {
        for (unsigned b = seq.Lo[0]; b <= seq.Hi[0]; ++b) ascii.set(b);
        continue;
      }
      std::vector<std::int32_t> parts(seq.Count);
      for (std::size_t i = 0; i < seq.Count; ++i) {
        std::bitset<256> set;
        for (unsigned b = seq.Lo[i]; b <= seq.Hi[i]; ++b) set.set(b);
        if (!AddLeaf(NodeKind::Bytes, start, length, set, parts[i])) return false;
      }
      alternatives.emplace_back();
      if (!AddList(NodeKind::Concat, start, length, std::move(parts), alternatives.back())) return false;
    }
    if (ascii.any() || alternatives.empty()) {
      alternatives.insert(alternatives.begin(), -1);
      if (!AddLeaf(NodeKind::Bytes, start, length, ascii, alternatives.front())) return false;
    }
    return AddList(NodeKind::Alt, start, length, std::move(alternatives), index);
  }

  std::string_view p_;
  const FragmentLookup& fragments_;
  SyntaxError& error_;
  std::size_t pos_ = 0;
  Tree tree_;
};

}  // namespace

bool Parse(std::string_view pattern, const FragmentLookup& fragments, Tree& tree, SyntaxError& error) {
  return Parser(pattern, fragments, error).Run(tree);
}

}  // namespace parvolen::regex
