#include "analysis/trace.h"

#include <gtest/gtest.h>

#include "test_grammar.h"

namespace parvolen {
namespace {

TEST(AnalysisTrace, ReentryChainOfStatus51) {
  TestGrammar g;
  AnalysisTrace trace;
  g.lang().Trace = &trace;
  g.Declare({"a", "b"}, {"N", "M"});
  ASSERT_EQ(g.Build({"N ::= [M](a)", "M ::= [N](b)"}), stNotKindAny);
  EXPECT_EQ(trace.View, ViewKind::First);
  EXPECT_EQ(trace.ViewOwner, 1);
  EXPECT_EQ(trace.Reentered, 1);
  EXPECT_EQ(trace.Depth, 1);
  ASSERT_EQ(trace.Steps.size(), 2u);
  EXPECT_EQ(g.Edges(trace.Steps[0]), "[M] -> (a) -> end(1)");
  EXPECT_EQ(g.Edges(trace.Steps[1]), "[N] -> (b) -> end(2)");
}

TEST(AnalysisTrace, MembersAndStringOfStatus52) {
  TestGrammar g(3);
  AnalysisTrace trace;
  g.lang().Trace = &trace;
  g.Declare({"a", "b", "d"}, {"E", "F"});
  // The strings part only at the third terminal: a b d is claimed by both members.
  ASSERT_EQ(g.Build({"E ::= (a)(b)(d)", "E ::= [F]", "F ::= (a)(b)(d)"}), stNotKindGiven);
  EXPECT_EQ(trace.ChoiceList, g.N("E").ProdEdges);
  EXPECT_EQ(trace.Holder, g.N("E").ProdEdges);  // (a)
  EXPECT_EQ(trace.Claimant, g.lang().EdgeTab[trace.Holder].Altr);  // [F]
  EXPECT_EQ(trace.Claimed, (std::vector<std::int32_t>{1, 2, 3}));
}

TEST(AnalysisTrace, InnermostChoicePointWins) {
  TestGrammar g;
  AnalysisTrace trace;
  g.lang().Trace = &trace;
  g.Declare({"a", "b", "x"}, {"E", "F"});
  ASSERT_EQ(g.Build({"E ::= (x)(a)", "E ::= (x)[F]", "F ::= (a)(b)"}), stNotKindGiven);
  EXPECT_EQ(trace.ChoiceList, g.lang().EdgeTab[g.N("E").ProdEdges].Next);
  EXPECT_EQ(trace.Claimed, (std::vector<std::int32_t>{1}));
}

TEST(AnalysisTrace, UntouchedWithoutFailureAndUnusedWithoutTrace) {
  TestGrammar g;
  AnalysisTrace trace;
  g.lang().Trace = &trace;
  g.Declare({"a"}, {"E"});
  ASSERT_EQ(g.Build({"E ::= [E](a)", "E ::= (a)"}), stOk);
  EXPECT_EQ(trace.Reentered, 0);
  EXPECT_TRUE(trace.Steps.empty());
  EXPECT_EQ(trace.ChoiceList, 0);
  // Every call is harmless without a record or trace.
  TraceStep(nullptr, stNotKindAny, 1);
  TraceConflict(nullptr, 1, 2, 3);
}

}  // namespace
}  // namespace parvolen
