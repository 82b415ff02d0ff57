#include "analysis/views.h"

#include <gtest/gtest.h>

#include "analysis/follow.h"
#include "test_grammar.h"

namespace parvolen {
namespace {

TEST(Views, ContinuationsAndLambdaViews) {
  TestGrammar g(3);
  g.Declare({"a", "b", "d"}, {"S", "B", "X"});
  ASSERT_EQ(g.Build({"S ::= (a)[B](d)", "B ::= (b)"}), stOk);
  // The lambda comes from the empty RecEdges of B at the end of B's production.
  EXPECT_EQ(g.Views(g.N("S").First), "a -> b -> [ lambda | d ]");
  EXPECT_EQ(g.Views(g.N("B").First), "b -> lambda");
  EXPECT_EQ(g.Views(g.N("B").NLRF), "d -> lambda");
  // No production and never on a right side.
  EXPECT_EQ(g.Views(g.N("X").First), "lambda");
  EXPECT_EQ(g.Views(g.N("X").Follow), "lambda");
}

TEST(Views, DirectLeftRecursion) {
  TestGrammar g;
  g.Declare({"a", "b"}, {"N"});
  ASSERT_EQ(g.Build({"N ::= [N](a)", "N ::= (b)"}), stOk);
  const NontRec& n = g.N("N");
  EXPECT_EQ(g.Views(n.First), "b");
  EXPECT_EQ(g.Views(n.PureDLRF), "a");
  EXPECT_EQ(g.Views(n.DLRF), "a");
  EXPECT_EQ(g.Views(n.NLRF), "lambda");
  EXPECT_EQ(g.Views(n.Follow), "[ lambda | a ]");
}

TEST(Views, NonterminalReachedAgainWithoutATerminal) {
  {
    TestGrammar g;
    g.Declare({"a", "b"}, {"N", "M"});
    EXPECT_EQ(g.Build({"N ::= [M](a)", "M ::= [N](b)"}), stNotKindAny);
  }
  {
    TestGrammar g;
    g.Declare({"a"}, {"N", "E"});
    EXPECT_EQ(g.Build({"N ::= [E][N](a)", "E ::="}), stNotKindAny);
  }
  for (std::int32_t extended : {0, 1}) {
    // NLRF of S follows S out of its own first production into FolEdges of S again.
    TestGrammar g;
    g.lang().Extended = extended;
    g.Declare({"if", "then", "else", "x", "c"}, {"S", "C", "Else"});
    EXPECT_EQ(g.Build({"S ::= (if)[C](then)[S][Else]", "S ::= (x)", "Else ::= (else)[S]", "Else ::=", "C ::= (c)"}),
              stNotKindAny);
    EXPECT_EQ(g.Views(g.N("S").First), "[ if | x ]");
  }
}

TEST(Views, ProductionEndUnderAFollowMarkEndsTheList) {
  TestGrammar g;
  g.Declare({"a"}, {"A", "B", "X"});
  ASSERT_EQ(g.Productions({"A ::= (a)[X]", "B ::= (a)[X]"}), stOk);
  ASSERT_EQ(MkFolEdge(g.rec()), stOk);
  ASSERT_EQ(g.Edges(g.N("X").FolEdges), "[ end(1) | end(2) ]");
  ASSERT_EQ(g.lang().FirstMarks.Allocate(3), stOk);
  ASSERT_EQ(g.lang().FollowMarks.Allocate(3), stOk);
  std::int32_t slot = 0;
  ContStack none;
  g.lang().FollowMarks[1].Depth[1] = 1;  // the end of A's production is being followed
  ASSERT_EQ(ViewMakeOne(g.rec(), g.N("X").FolEdges, &slot, 1, none, false), stOk);
  EXPECT_EQ(slot, 0);  // so B's end, later in the list, is not visited either
}

TEST(Views, ViewCapacity) {
  for (std::int32_t views : {0, 2}) {
    TestGrammar g;
    g.lang().Views = views;
    g.Declare({"plus", "num"}, {"E", "E1", "T"});
    EXPECT_EQ(g.Build({"E ::= [T][E1]", "E1 ::= (plus)[T][E1]", "E1 ::=", "T ::= (num)"}), stTooManyViews);
    EXPECT_EQ(g.lang().LastView, views);
  }
}

}  // namespace
}  // namespace parvolen
