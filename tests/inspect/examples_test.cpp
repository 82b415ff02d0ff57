#include "findings/examples.h"

#include <gtest/gtest.h>

#include "inspected.h"

namespace parvolen::inspect {
namespace {

std::string Names(const Grammar& g, const std::optional<TermString>& s) {
  return s ? StringText(NamesOf(g, *s)) : "none";
}

std::string Split(const Grammar& g, const std::optional<ExampleInput>& in) {
  if (!in) return "none";
  return StringText(NamesOf(g, in->Before)) + " | " + StringText(NamesOf(g, in->After));
}

TEST(InspectExamples, ShortestStringsAndContexts) {
  // S ::= (a)[B][C](eoi) with B optional and C a list: contexts of every nonterminal.
  Inspected d(Description("StartingSymbol = S\nEofName = eoi\n", "a\nb\nc\nd\neoi\n", "S\nB\nC\nD\n",
                          "S ::= (a)[B][C](d)\nB ::= (b)(b)\nB ::=\nC ::= [C](c)\nC ::= (c)\nD ::= [D]\n"));
  ASSERT_EQ(d.It().Code(), stOk);
  const Grammar g(*d.It().Lang(), nullptr);
  const LLSets ll1(g, 1);
  Examples ex(g, ll1);
  EXPECT_EQ(Names(g, ex.Shortest({{kEdgeNonterminal, 1}})), "a c d");
  EXPECT_EQ(Names(g, ex.Shortest({{kEdgeNonterminal, 4}})), "none");  // D derives nothing
  EXPECT_EQ(Names(g, ex.ShortestStartingWith({{kEdgeNonterminal, 2}, {kEdgeNonterminal, 3}}, 3)), "c");
  EXPECT_EQ(Names(g, ex.ShortestStartingWith({{kEdgeNonterminal, 2}, {kEdgeNonterminal, 3}}, 2)), "b b c");
  EXPECT_EQ(Names(g, ex.ShortestStartingWith({{kEdgeNonterminal, 2}}, 3)), "none");
  EXPECT_EQ(Split(g, ex.Around(1, 0)), "λ | λ");
  EXPECT_EQ(Split(g, ex.Around(2, kAnyNext)), "a | c d");
  EXPECT_EQ(Split(g, ex.Around(3, 4)), "a | d");
  EXPECT_EQ(Split(g, ex.Around(3, 3)), "a | c d");  // C followed by c: the tail of [C](c)
  EXPECT_EQ(Split(g, ex.Around(2, 4)), "none");
  // B's choice: the empty member is taken on c.
  const ChoicePoint* root = g.ChoiceAt(d.It().Lang()->NontTab[2].ProdEdges);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Split(g, ex.AtChoice(*root, root->Members[1], 3)), "a | c d");
  EXPECT_EQ(Split(g, ex.AtChoice(*root, root->Members[0], 2)), "a | b b c d");
  EXPECT_EQ(Names(g, ex.Reaching(*root)), "a");
}

TEST(InspectExamples, ExamplesLongerThanTheLimitAreNone) {
  // Each nonterminal doubles the last: the shortest string of A1 has 2^20 terminals.
  std::string nonts;
  std::string prods;
  for (int i = 1; i <= 20; ++i) {
    nonts += "A" + std::to_string(i) + "\n";
    prods += "A" + std::to_string(i) + " ::= [A" + std::to_string(i + 1) + "][A" + std::to_string(i + 1) + "]\n";
  }
  Inspected d(Description("StartingSymbol = A1\nNonterminals = 30\n", "x\n", nonts + "A21\n", prods + "A21 ::= (x)\n"));
  ASSERT_EQ(d.It().Code(), stOk);
  const Grammar g(*d.It().Lang(), nullptr);
  const LLSets ll1(g, 1);
  Examples ex(g, ll1);
  EXPECT_EQ(ex.Shortest({{kEdgeNonterminal, 18}}).value_or(TermString{}).size(), 8u);
  EXPECT_FALSE(ex.Shortest({{kEdgeNonterminal, 1}}));
}

}  // namespace
}  // namespace parvolen::inspect
