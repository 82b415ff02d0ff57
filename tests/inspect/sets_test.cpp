#include <gtest/gtest.h>

#include "findings/strings.h"
#include "findings/textbook.h"
#include "inspected.h"

namespace parvolen::inspect {
namespace {

std::string Text(const Grammar& g, const StringSet& set) {
  std::vector<Names> strings;
  for (const TermString& s : set) strings.push_back(NamesOf(g, s));
  return SetText(strings);
}

TEST(InspectSets, ViewsAsSetsOfTerminalStrings) {
  // A lambda below a terminal ends a string there; one at the top is the empty string.
  Inspected d(Description("StartingSymbol = S\nLookahead = 3\n", "a\nb\nd\n", "S\nB\n",
                          "S ::= (a)[B](d)\nB ::= (b)\n"));
  ASSERT_EQ(d.It().Code(), stOk);
  const Language& lang = *d.It().Lang();
  const Grammar g(lang, nullptr);
  EXPECT_EQ(Text(g, ViewStrings(lang, lang.NontTab[1].First)), "{ a b, a b d }");
  EXPECT_EQ(Text(g, ViewStrings(lang, lang.NontTab[2].Follow)), "{ d }");
  EXPECT_EQ(Text(g, ViewStrings(lang, lang.NontTab[1].Follow)), "{ λ }");
  EXPECT_EQ(Text(g, ViewStrings(lang, 0)), "{ }");
}

TEST(InspectSets, DecisionStringsStopWhereAMemberIsChosen) {
  Inspected d(Description("StartingSymbol = E\nLookahead = 2\n", "a\nb\nd\nc\n", "E\nF\n",
                          "E ::= (a)(b)\nE ::= [F]\nE ::= (c)\nF ::= (a)(d)\n"));
  ASSERT_EQ(d.It().Code(), stOk);
  const Language& lang = *d.It().Lang();
  const Grammar g(lang, nullptr);
  std::string rows;
  for (const Decision& dec : DecisionStrings(lang, lang.NontTab[1].ProdNodes))
    rows += StringText(NamesOf(g, dec.String)) + "=" + g.EdgeText(dec.Member) + "; ";
  EXPECT_EQ(rows, "a b=(a); a d=[F]; c=(c); ");
  const auto level = LevelOne(lang, lang.NontTab[1].ProdNodes);
  EXPECT_EQ(level.at(1), 0);  // a: the second terminal decides
  EXPECT_EQ(g.EdgeText(level.at(4)), "(c)");
}

TEST(InspectSets, TextbookFirstAndFollow) {
  // L is a right-recursive list; Z derives nothing; U is unreachable.
  Inspected d(Description("StartingSymbol = S\nLookahead = 2\n", "x\ny\nsemi\n", "S\nL\nZ\nU\n",
                          "S ::= [L](semi)\nL ::= (x)[L]\nL ::=\nZ ::= (y)[Z]\nU ::= (y)\nU ::= [Z]\n"));
  ASSERT_EQ(d.It().Code(), stOk);
  const Grammar g(*d.It().Lang(), nullptr);
  const LLSets sets(g, 2);
  ASSERT_TRUE(sets.Complete());
  EXPECT_EQ(Text(g, sets.First(2)), "{ λ, x, x x }");
  EXPECT_EQ(Text(g, sets.Follow(2)), "{ semi }");
  EXPECT_EQ(Text(g, sets.First(1)), "{ x x, x semi, semi }");
  EXPECT_EQ(Text(g, sets.Follow(1)), "{ λ }");
  EXPECT_FALSE(sets.Productive(3));
  EXPECT_TRUE(sets.Productive(4));
  EXPECT_FALSE(sets.Reachable(4));
  EXPECT_FALSE(sets.Useful(5));
  EXPECT_EQ(Text(g, sets.Follow(4)), "{ }");
  EXPECT_EQ(Text(g, sets.FirstOf({{kEdgeTerminal, 1}}, sets.Follow(2))), "{ x semi }");
  // A budget too small for the sets: they are given up, not left half done.
  const LLSets small(g, 2, 5);
  EXPECT_FALSE(small.Complete());
  EXPECT_TRUE(small.First(1).empty());
}

}  // namespace
}  // namespace parvolen::inspect
