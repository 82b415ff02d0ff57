#include "findings/grammar.h"

#include <gtest/gtest.h>

#include "inspected.h"

namespace parvolen::inspect {
namespace {

// Line numbers count the lines read: the blank line is not one of them.
constexpr std::string_view kExpressions = R"(Expressions
[Language]
StartingSymbol = E
Terminals = 5
Nonterminals = 3
Productions = 9
Edges = 40
Views = 90
Nodes = 40
[Terminals]
plus
num
lpar
rpar
[Nonterminals]
E
T
[Productions]
E ::= [E](plus)[T]

T ::= (num)
T ::= (lpar)[E](rpar)
T ::= (lpar)(rpar)
E ::= [T]
)";

TEST(InspectGrammar, ProductionsFromTheTriesWithTheirLines) {
  Inspected d(kExpressions);
  ASSERT_EQ(d.It().Code(), stOk);
  const Grammar g(*d.It().Lang(), &d.It().Progress());
  const auto& prods = g.Productions();
  ASSERT_EQ(prods.size(), 6u);
  const std::int64_t lines[] = {0, 19, 20, 21, 22, 23};
  for (std::size_t p = 1; p < prods.size(); ++p) EXPECT_EQ(prods[p].Line, lines[p]) << p;
  EXPECT_EQ(prods[3].Text, "T ::= (lpar)[E](rpar)");
  EXPECT_TRUE(prods[1].LeftRecursive);
  EXPECT_EQ(g.RightSide(1), (SymbolString{{kEdgeNonterminal, 1}, {kEdgeTerminal, 1}, {kEdgeNonterminal, 2}}));
  EXPECT_EQ(g.ProductionsOf(2), (std::vector<std::int32_t>{2, 3, 4}));
  // Without a progress record the lines are unknown and the stored text stands.
  const Grammar bare(*d.It().Lang(), nullptr);
  EXPECT_EQ(bare.Productions()[3].Line, 0);
  EXPECT_EQ(bare.Productions()[3].Text, "T ::= (lpar)[E](rpar)");
}

TEST(InspectGrammar, ChoicePointsAndTheProductionsBelowTheirMembers) {
  Inspected d(kExpressions);
  const Grammar g(*d.It().Lang(), &d.It().Progress());
  std::vector<std::string> found;
  for (const ChoicePoint& c : g.Choices()) {
    std::string members;
    for (std::int32_t m : c.Members) {
      members += " " + g.EdgeText(m) + ":";
      for (std::int32_t p : g.ProductionsBelow(m)) members += std::to_string(p);
    }
    found.push_back(g.NontName(c.Owner) + " " + g.Where(c) + members);
  }
  EXPECT_EQ(found, (std::vector<std::string>{"E in the tails, after [E] (plus):1",
                                             "T at the start (num):2 (lpar):34", "T after (lpar) (rpar):4 [E]:3"}));
  const ChoicePoint& afterLpar = g.Choices()[2];
  EXPECT_EQ(g.ChoiceAt(afterLpar.First), &afterLpar);
  EXPECT_EQ(g.PathText(afterLpar.Prefix), "(lpar)");
  EXPECT_EQ(g.RestFrom(3, afterLpar.Members[1]), (SymbolString{{kEdgeNonterminal, 1}, {kEdgeTerminal, 4}}));
  EXPECT_EQ(g.PrefixOf(g.Choices()[0]), (SymbolString{{kEdgeNonterminal, 1}}));
}

}  // namespace
}  // namespace parvolen::inspect
