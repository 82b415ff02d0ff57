#include "base/diagnostic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace parvolen {
namespace {

TEST(Diagnostic, NearestNameByEditDistance) {
  const std::vector<std::string_view> names = {"num", "lpar", "rpar", "Expression"};
  const struct {
    std::string_view name;
    std::string_view nearest;
  } cases[] = {
      {"rpr", "rpar"},               // one deletion
      {"lapr", ""},                  // a swap is two substitutions: too far for four bytes
      {"Expresion", "Expression"},   // long names allow more edits
      {"Exprssn", "Expression"},     // three edits in ten bytes
      {"x", ""},                     // nothing near
      {"num", ""},                   // the name itself is no suggestion
  };
  for (const auto& c : cases) EXPECT_EQ(NearestName(c.name, names), c.nearest) << c.name;
  EXPECT_EQ(EditDistance("kitten", "sitting"), 3u);
  EXPECT_EQ(EditDistance("", "abc"), 3u);
  EXPECT_EQ(DidYouMean("rpr", names), "did you mean 'rpar'?");
}

TEST(Diagnostic, Forms) {
  Diagnostic located;
  located.File = "a.lang";
  located.Line = 7;
  located.Column = 4;
  located.Length = 2;
  located.Source = "\tx yz";
  located.Text = "bad";
  located.Hint = "try this";
  EXPECT_EQ(FormatDiagnostic(located), "a.lang:7:4: error: bad; try this\n    7 | \tx yz\n      | \t  ^~\n");
  located.Level = Severity::Warning;
  located.Column = 0;
  EXPECT_EQ(FormatDiagnostic(located), "a.lang:7: warning: bad; try this\n");
  Diagnostic plain;
  plain.Text = "cannot create 'x'";
  EXPECT_EQ(FormatDiagnostic(plain), "parvolen: error: cannot create 'x'\n");
}

// The nearest name as the plain rule gives it: the full edit distance of every candidate.
std::string_view PlainNearest(std::string_view name, const std::vector<std::string_view>& candidates) {
  std::string_view best;
  std::size_t bestDistance = 0;
  for (std::string_view c : candidates) {
    if (c.empty() || c == name) continue;
    const std::size_t distance = EditDistance(name, c);
    if (distance > std::max<std::size_t>(1, std::max(name.size(), c.size()) / 3)) continue;
    if (best.empty() || distance < bestDistance) {
      best = c;
      bestDistance = distance;
    }
  }
  return best;
}

TEST(Diagnostic, NearestNameAgreesWithThePlainRule) {
  std::mt19937 rng(23);
  const auto word = [&](std::size_t most) {
    std::string w(std::uniform_int_distribution<std::size_t>(0, most)(rng), 'a');
    for (char& ch : w) ch = static_cast<char>('a' + std::uniform_int_distribution<int>(0, 2)(rng));
    return w;
  };
  for (int round = 0; round < 2000; ++round) {
    std::vector<std::string> words;
    for (int i = 0; i < 8; ++i) words.push_back(word(12));
    const std::vector<std::string_view> candidates(words.begin(), words.end());
    const std::string name = word(14);
    ASSERT_EQ(NearestName(name, candidates), PlainNearest(name, candidates)) << name;
  }
  // A name that its length alone rules out of every candidate costs no distance table: a
  // 200 KB name among 4,000 names answers at once.
  std::vector<std::string> names;
  for (int i = 0; i < 4000; ++i) names.push_back("terminal" + std::to_string(i));
  const std::vector<std::string_view> views(names.begin(), names.end());
  const std::string huge(200000, 'x');
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(NearestName(huge, views), "");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST(Diagnostic, CaretByDisplayColumnsAndEscapedControls) {
  const struct {
    std::string source;
    std::int32_t column, length;
    std::string excerpt;  // the two lines after "    1 | "
  } cases[] = {
      {"E ::= (x)", 8, 1, "E ::= (x)\n      |        ^\n"},
      // Two-byte and three-byte characters before the caret and under the underline.
      {"\xc3\xa9\xc3\xa9 (rpr)", 7, 3, "\xc3\xa9\xc3\xa9 (rpr)\n      |     ^~~\n"},
      {"(\xe2\x82\xac\xc3\xa9x)", 2, 6, "(\xe2\x82\xac\xc3\xa9x)\n      |  ^~~\n"},
      // Control bytes, C1 controls and invalid UTF-8 show escaped, four columns each.
      {"a\x1b[31mb", 7, 1, "a\\x1b[31mb\n      |          ^\n"},
      {"(\x07)", 2, 1, "(\\x07)\n      |  ^~~~\n"},
      {"\xc2\x9b" "2Jx", 4, 1, "\\xc2\\x9b" "2Jx\n      |          ^\n"},
      {"\xff\xc3(x", 4, 1, "\\xff\\xc3(x\n      |          ^\n"},
      {"\xed\xa0\x80x", 4, 1, "\\xed\\xa0\\x80x\n      |             ^\n"},
      // Tabs are copied; a place past the end of the line is reached by blanks.
      {"\t\xc3\xa9\tx", 5, 1, "\t\xc3\xa9\tx\n      | \t \t^\n"},
      {"ab", 4, 2, "ab\n      |    ^~\n"},
  };
  for (const auto& c : cases) {
    Diagnostic d;
    d.File = "a.lang";
    d.Line = 1;
    d.Column = c.column;
    d.Length = c.length;
    d.Source = c.source;
    d.Text = "bad\x1b";
    EXPECT_EQ(FormatDiagnostic(d), "a.lang:1:" + std::to_string(c.column) + ": error: bad\\x1b\n    1 | " + c.excerpt)
        << c.source;
  }
}

}  // namespace
}  // namespace parvolen
