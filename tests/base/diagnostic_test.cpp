#include "base/diagnostic.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace parvolen
