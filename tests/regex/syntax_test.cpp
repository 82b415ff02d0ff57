#include "regex/syntax.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "regex/byte_text.h"

namespace parvolen::regex {
namespace {

// Fragments known to every case: {digit} and {id-start}.
class Fragments {
 public:
  Fragments() {
    SyntaxError error;
    for (const char* name : {"digit", "id-start"}) named_[name] = std::make_shared<Tree>();
    EXPECT_TRUE(Parse("[0-9]", nullptr, *named_["digit"], error));
    EXPECT_TRUE(Parse("[a-z_]", nullptr, *named_["id-start"], error));
  }
  FragmentLookup Lookup() const {
    return [this](std::string_view name) -> std::shared_ptr<const Tree> {
      const auto it = named_.find(std::string(name));
      return it == named_.end() ? nullptr : it->second;
    };
  }

 private:
  std::map<std::string, std::shared_ptr<Tree>> named_;
};

TEST(RegexSyntax, PatternsParseToTrees) {
  const struct {
    const char* pattern;
    const char* tree;
  } cases[] = {
      {"", "()@0"},
      {"abc", "cat@0(a@0 b@1 c@2)"},
      {"ab|cd", "alt@0(cat@0(a@0 b@1) | cat@3(c@3 d@4))"},
      {"a|b|", "alt@0(a@0 | b@2 | ()@4)"},  // an empty alternative matches the empty string
      {"(a|)b", "cat@0(alt@0(a@1 | ()@3) b@4)"},
      {"((a))", "a@0"},  // a group's node spans its parentheses
      {"()", "()@0"},
      {"(ab)*c+", "cat@0(rep{0,}@0(cat@0(a@1 b@2)) rep{1,}@5(c@5))"},
      {"x?a{2,5}b{3,}c{4}d{0}", "cat@0(rep{0,1}@0(x@0) rep{2,5}@2(a@2) rep{3,}@8(b@8) rep{4,4}@13(c@13) rep{0,0}@17(d@17))"},
      {"a**", "rep{0,}@0(rep{0,}@0(a@0))"},
      {".", "[^\\n]@0"},
      {"[a-z_]", "[_a-z]@0"},
      {"[^\"\\\\]", "[^\"\\\\]@0"},  // a negated byte class: the complement over 256 bytes
      {"[]a]", "[\\]a]@0"},          // ']' first is a member
      {"[^]a]", "[^\\]a]@0"},
      {"[a-]", "[\\-a]@0"},  // '-' last or first is a member
      {"[-a]", "[\\-a]@0"},
      {"[--/]", "[\\--/]@0"},
      {"[\\-\\]\\\\]", "[\\-\\\\\\]]@0"},
      {"[a-\\xff]", "[^\\0-`]@0"},
      {"[^\\x00-\\xff]", "[]@0"},  // matches nothing
      {"a}]", "cat@0(a@0 }@1 \\]@2)"},
      {"\\n\\t\\r\\f\\v\\0\\x41\\.\\\\\\{\\\"", "cat@0(\\n@0 \\t@2 \\r@4 \\f@6 \\v@8 \\0@10 A@12 .@16 \\\\@18 {@20 \"@22)"},
      {"\"a\\\"b|*\"", "cat@0(a@1 \"@2 b@4 |@5 *@6)"},  // inside a string only escapes are special
      {"\"\"", "()@0"},
      {"\"a\"+", "rep{1,}@0(a@0)"},
      {"\\u{e9}", "cat@0(\\xc3@0 \\xa9@0)"},
      {"\xC3\xA9*", "rep{0,}@0(cat@0(\\xc3@0 \\xa9@0))"},  // a raw UTF-8 character is one atom
      {"\xFF+", "rep{1,}@0(\\xff@0)"},                    // a byte that is not UTF-8 is itself
      {"\"\\u{e9}\\x41\"", "cat@0(\\xc3@1 \\xa9@1 A@7)"},
      {"[\\u{41}-\\u{43}]", "[A-C]@0"},
      {"[a-c\\u{100}]", "alt@0([a-c]@0 | cat@0(\\xc4@0 \\x80@0))"},
      {"[\xC3\xA9\xE2\x82\xAC]", "alt@0(cat@0(\\xc3@0 \\xa9@0) | cat@0(\\xe2@0 \\x82@0 \\xac@0))"},
      {"[^\\u{80}-\\u{10FFFF}]", "[\\0-\\x7f]@0"},
      {"[\\u{7ff}-\\u{800}]", "alt@0(cat@0(\\xdf@0 \\xbf@0) | cat@0(\\xe0@0 \\xa0@0 \\x80@0))"},
      {"[\\u{d7ff}-\\u{e000}]",  // the surrogates between the ends are left out
       "alt@0(cat@0(\\xed@0 \\x9f@0 \\xbf@0) | cat@0(\\xee@0 \\x80@0 \\x80@0))"},
      {"[\\u{80}-\\u{10FFFF}]",
       "alt@0(cat@0([\\xc2-\\xdf]@0 [\\x80-\\xbf]@0) | cat@0(\\xe0@0 [\\xa0-\\xbf]@0 [\\x80-\\xbf]@0) | "
       "cat@0([\\xe1-\\xec]@0 [\\x80-\\xbf]@0 [\\x80-\\xbf]@0) | cat@0(\\xed@0 [\\x80-\\x9f]@0 [\\x80-\\xbf]@0) | "
       "cat@0([\\xee\\xef]@0 [\\x80-\\xbf]@0 [\\x80-\\xbf]@0) | "
       "cat@0(\\xf0@0 [\\x90-\\xbf]@0 [\\x80-\\xbf]@0 [\\x80-\\xbf]@0) | "
       "cat@0([\\xf1-\\xf3]@0 [\\x80-\\xbf]@0 [\\x80-\\xbf]@0 [\\x80-\\xbf]@0) | "
       "cat@0(\\xf4@0 [\\x80-\\x8f]@0 [\\x80-\\xbf]@0 [\\x80-\\xbf]@0))"},
      {"[^\\0-\\u{10FFFF}]", "[]@0"},
      {"{digit}+", "rep{1,}@0([0-9]@0)"},
      {"x{id-start}{digit}{2}", "cat@0(x@0 [_a-z]@1 rep{2,2}@11([0-9]@11))"},
  };
  const Fragments fragments;
  for (const auto& c : cases) {
    Tree tree;
    SyntaxError error;
    ASSERT_TRUE(Parse(c.pattern, fragments.Lookup(), tree, error)) << c.pattern << ": " << error.Text;
    EXPECT_EQ(Dump(tree), c.tree) << c.pattern;
  }
}

TEST(RegexSyntax, ErrorsPointAtTheOffendingText) {
  const std::string brace =
      "'{' must begin a repetition such as {2,5} or a name such as {digit}: write '\\{' for a literal brace";
  const std::string deep = "the pattern nests more than 500 levels deep";
  const struct {
    std::string pattern;
    std::size_t offset, length;
    std::string text;
  } cases[] = {
      {"(ab", 0, 1, "unbalanced '('"},
      {"a(b(c)", 1, 1, "unbalanced '('"},
      {"ab)", 2, 1, "unbalanced ')'"},
      {"x)y(", 1, 1, "unbalanced ')'"},
      {"[abc", 0, 1, "unclosed '['"},
      {"x\"abc", 1, 1, "unclosed '\"'"},
      {"[]", 0, 2, "empty class '[]'"},
      {"a[^]", 1, 3, "empty class '[^]'"},
      {"[az-a]", 2, 3, "range 'z-a' is empty: its ends are reversed"},
      {"[\\x7f-\\n]", 1, 7, "range '\\x7f-\\n' is empty: its ends are reversed"},
      {"a\\q", 1, 2, "unknown escape '\\q'"},
      {"\\7", 0, 2, "unknown escape '\\7'"},
      {"\"\\d\"", 1, 2, "unknown escape '\\d'"},
      {"a\\", 1, 1, "the pattern ends with a lone '\\'"},
      {"\\x4", 0, 3, "'\\x' needs two hex digits, as in \\x1b"},
      {"[\\xg]", 1, 2, "'\\x' needs two hex digits, as in \\x1b"},
      {"\\u{110000}", 0, 10, "'\\u{110000}' is above the last code point 10ffff"},
      {"[\\u{d800}]", 1, 8, "'\\u{d800}' is a surrogate, not a character"},
      {"\\u{}", 0, 3, "'\\u' needs one to six hex digits in braces, as in \\u{20ac}"},
      {"\\u41", 0, 2, "'\\u' needs one to six hex digits in braces, as in \\u{20ac}"},
      {"\\u{0000041}", 0, 10, "'\\u' needs one to six hex digits in braces, as in \\u{20ac}"},
      {"[\\x80\\u{100}]", 0, 13, "a class cannot mix bytes \\x80-\\xff with code points above 7f"},
      {"a{5,2}", 1, 5, "repetition {5,2}: its minimum is above its maximum"},
      {"a{1001}", 1, 6, "repetition {1001} is above the limit of 1000"},
      {"a{2,99999999999}", 1, 15, "repetition {2,99999999999} is above the limit of 1000"},
      {"*a", 0, 1, "nothing to repeat before '*'"},
      {"a|*", 2, 1, "nothing to repeat before '*'"},
      {"(+)", 1, 1, "nothing to repeat before '+'"},
      {"{2,3}x", 0, 5, "nothing to repeat before '{2,3}'"},
      {"a{,2}", 1, 1, brace},
      {"a{", 1, 1, brace},
      {"{1a}", 0, 1, brace},
      {"{ x}", 0, 1, brace},
      {"{digit", 0, 1, brace},
      {"a{foo}", 1, 5, "unknown name 'foo'"},
      {std::string(501, '(') + "a" + std::string(501, ')'), 500, 1, deep},
      {"a" + std::string(500, '*'), 0, 501, deep},
  };
  const Fragments fragments;
  for (const auto& c : cases) {
    Tree tree;
    SyntaxError error;
    ASSERT_FALSE(Parse(c.pattern, fragments.Lookup(), tree, error)) << c.pattern;
    EXPECT_EQ(error.Text, c.text) << c.pattern;
    EXPECT_EQ(error.Offset, c.offset) << c.pattern;
    EXPECT_EQ(error.Length, c.length) << c.pattern;
  }
}

// Fragments count as written out where they are used: a chain of doubling fragments is stopped
// by the node limit, at the reference that crosses it, instead of growing without bound.
TEST(RegexSyntax, FragmentsThatDoubleAreBounded) {
  std::map<std::string, std::shared_ptr<Tree>> named;
  const FragmentLookup lookup = [&](std::string_view name) -> std::shared_ptr<const Tree> {
    const auto it = named.find(std::string(name));
    return it == named.end() ? nullptr : it->second;
  };
  SyntaxError error;
  named["f0"] = std::make_shared<Tree>();
  ASSERT_TRUE(Parse("ab", lookup, *named["f0"], error));
  int level = 1;
  for (; level < 40; ++level) {
    const std::string below = "{f" + std::to_string(level - 1) + "}";
    auto tree = std::make_shared<Tree>();
    if (!Parse("x" + below + below, lookup, *tree, error)) break;
    named["f" + std::to_string(level)] = std::move(tree);
  }
  EXPECT_LT(level, 40);
  EXPECT_EQ(error.Text, "the pattern is too large: more than 100000 nodes");
  EXPECT_EQ(error.Offset, 4 + std::to_string(level - 1).size());  // the second reference
}

TEST(RegexSyntax, WhatATreeMatches) {
  const struct {
    const char* pattern;
    bool empty, nothing;
    const char* bytes;
  } cases[] = {
      {"", true, false, "[]"},
      {"a*", true, false, "a"},
      {"(a|b)+c?", false, false, "[a-c]"},
      {"x{0}y", false, false, "y"},
      {"a[^\\x00-\\xff]|b", false, false, "b"},  // a branch that matches nothing adds no byte
      {"a[^\\x00-\\xff]", false, true, "[]"},
      {"[^\\x00-\\xff]*", true, false, "[]"},
      {"([^\\x00-\\xff]c)?d{0,0}", true, false, "[]"},
      {"(|x)(y|)", true, false, "[xy]"},
      {"[^\\0-\\u{7f}]", false, false, "[\\x80-\\xff]"},  // no item above 7f: a class of bytes
      {"[^\\0-\\u{ff}]", false, false, "[\\x80-\\xbf\\xc4-\\xf4]"},
  };
  for (const auto& c : cases) {
    Tree tree;
    SyntaxError error;
    ASSERT_TRUE(Parse(c.pattern, nullptr, tree, error)) << c.pattern;
    EXPECT_EQ(MatchesEmpty(tree), c.empty) << c.pattern;
    EXPECT_EQ(MatchesNothing(tree), c.nothing) << c.pattern;
    EXPECT_EQ(BytesText(BytesUsed(tree)), c.bytes) << c.pattern;
  }
  EXPECT_TRUE(MatchesEmpty(Tree{}));
  EXPECT_EQ(Dump(Literal("If", true)), "cat@0([Ii]@0 [Ff]@1)");
  EXPECT_EQ(Dump(Literal("a+1", true)), "cat@0([Aa]@0 +@1 1@2)");
  EXPECT_EQ(Dump(Literal("Q", false)), "Q@0");
  EXPECT_EQ(Dump(Literal("", true)), "()@0");
}

}  // namespace
}  // namespace parvolen::regex
