#include "analysis/nodes.h"

#include <gtest/gtest.h>

#include "test_grammar.h"

namespace parvolen {
namespace {

TEST(DecisionLists, ChoiceBelowASharedEdgeAndInLeftRecursiveTails) {
  TestGrammar g;
  g.Declare({"a", "b", "d", "plus", "minus"}, {"E", "F"});
  ASSERT_EQ(g.Build({"E ::= (a)(b)", "E ::= (a)(d)", "F ::= [F](plus)", "F ::= [F](minus)", "F ::= (a)"}), stOk);
  EXPECT_EQ(g.N("E").ProdNodes, 0);
  EXPECT_EQ(g.Nodes(g.lang().EdgeTab[g.N("E").ProdEdges].Node), "[ b => (b) | d => (d) ]");
  EXPECT_EQ(g.Nodes(g.N("F").RecNodes), "[ plus => (plus) | minus => (minus) ]");
  EXPECT_EQ(g.N("F").ProdNodes, 0);
}

TEST(DecisionLists, SharedFirstTerminalNeedsTwoTerminals) {
  for (const char* e : {"E ::= (a)", "E ::= (a)(b)"}) {
    TestGrammar g(1);
    g.Declare({"a", "b", "d"}, {"E", "F"});
    EXPECT_EQ(g.Build({e, "E ::= [F]", "F ::= (a)(d)"}), stNotKindGiven) << e;
  }
  TestGrammar g(2);
  g.Declare({"a", "b", "d"}, {"E", "F"});
  ASSERT_EQ(g.Build({"E ::= (a)(b)", "E ::= [F]", "F ::= (a)(d)"}), stOk);
  EXPECT_EQ(g.Nodes(g.N("E").ProdNodes), "a => * -> [ b => (a) | d => [F] ]");
}

TEST(DecisionLists, StringsThroughTerminalEdgesAreNotChecked) {
  TestGrammar g;
  g.Declare({"x"}, {"E", "A"});
  ASSERT_EQ(g.Build({"E ::= [A](x)", "E ::= (x)", "A ::="}), stOk);
  EXPECT_EQ(g.Nodes(g.N("E").ProdNodes), "x => (x)");
}

TEST(DecisionLists, ExtendedLetsContinuingMembersWin) {
  struct Case {
    std::int32_t extended;
    bool eof;
    Status status;
    const char* nodes;
  };
  const Case cases[] = {
      {0, true, stNotKindGiven, ""},
      {1, true, stOk, "[ y => (y) | eoi => end(4) ]"},
      {1, false, stOk, "y => (y)"},
      {0, false, stNotKindGiven, ""},
  };
  for (const Case& c : cases) {
    TestGrammar g;
    g.lang().Extended = c.extended;
    g.Declare({"x", "y", "eoi"}, {"S", "A", "B"});
    if (c.eof) g.Eoi("eoi");
    ASSERT_EQ(g.Build({"S ::= [A](y)", "A ::= (x)[B]", "B ::= (y)", "B ::="}), c.status) << c.extended << c.eof;
    EXPECT_EQ(g.Views(g.N("B").Follow), "[ lambda | y ]");
    if (c.status == stOk) {
      EXPECT_EQ(g.Nodes(g.N("B").ProdNodes), c.nodes);
    }
  }
}

TEST(DecisionLists, AllAheadsDecidesSingleMembers) {
  for (std::int32_t allAheads : {0, 1}) {
    TestGrammar g;
    g.lang().AllAheads = allAheads;
    g.Declare({"num"}, {"T"});
    ASSERT_EQ(g.Build({"T ::= (num)"}), stOk);
    EXPECT_EQ(g.Nodes(g.N("T").ProdNodes), allAheads ? "num => (num)" : "-");
  }
}

TEST(DecisionLists, RecurringListReenteredThroughItsLambdaView) {
  // N's tail begins with E, which derives nothing, so N's PureDLRF begins with a lambda view.
  TestGrammar g;
  g.Declare({"a", "c", "d"}, {"S", "N", "E"});
  ASSERT_EQ(g.Build({"S ::= [N](c)", "S ::= (d)", "N ::= [N][E](a)", "N ::=", "E ::="}), stOk);
  EXPECT_EQ(g.Views(g.N("N").PureDLRF), "[ lambda | a ]");
  EXPECT_EQ(g.Views(g.N("N").First), "[ lambda | a ]");
  EXPECT_EQ(g.Nodes(g.N("S").ProdNodes), "[ a => [N] | c => [N] | d => (d) ]");
}

TEST(DecisionLists, NodeCapacity) {
  for (std::int32_t nodes : {0, 1}) {
    TestGrammar g;
    g.lang().Nodes = nodes;
    g.Declare({"a", "b"}, {"E"});
    EXPECT_EQ(g.Build({"E ::= (a)", "E ::= (b)"}), stTooManyNodes) << nodes;
    EXPECT_EQ(g.lang().LastNode, nodes);
  }
}

}  // namespace
}  // namespace parvolen
