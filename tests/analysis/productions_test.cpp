#include "analysis/productions.h"

#include <gtest/gtest.h>

#include "analysis/follow.h"
#include "test_grammar.h"

namespace parvolen {
namespace {

TEST(Productions, SharedBeginningsAndFollowTries) {
  TestGrammar g;
  g.Declare({"plus", "b", "x"}, {"E", "T", "A", "N"});
  ASSERT_EQ(g.Productions({"E ::= [T](plus)[E]", "E ::= [T]", "A ::= [N](x)", "A ::= (b)[N](x)"}), stOk);
  EXPECT_EQ(g.Edges(g.N("E").ProdEdges), "[T] -> [ (plus) -> [E] -> end(1) | end(2) ]");
  EXPECT_EQ(g.lang().ProdTab[2].Nont, 1);

  ASSERT_EQ(MkFolEdge(g.rec()), stOk);
  EXPECT_EQ(g.Edges(g.N("T").FolEdges), "[ (plus) -> [E] -> end(1) | end(2) ]");
  EXPECT_EQ(g.Edges(g.N("E").FolEdges), "end(1)");
  // A continuation shared by two productions stands once, with one end edge for each.
  EXPECT_EQ(g.Edges(g.N("N").FolEdges), "(x) -> [ end(3) | end(4) ]");
}

TEST(Productions, EmptyLeftRecursiveAndSortedRightSides) {
  TestGrammar g;
  g.Declare({"y", "x", "abcdefghijklmnopqrstuvwxyz"}, {"E", "Ex", "F"}, {"f"}, {"o"});
  ASSERT_EQ(g.Productions({"E ::=", "E ::= [E]", "E ::= [Ex](x)", "E ::= [E](x)"}), stOk);
  EXPECT_EQ(g.Edges(g.N("E").ProdEdges), "[ [Ex] -> (x) -> end(3) | end(1) ]");
  EXPECT_EQ(g.Edges(g.N("E").RecEdges), "[ (x) -> end(4) | end(2) ]");

  // Members sorted by type, then number, whatever the line order; blanks make new productions.
  ASSERT_EQ(g.Productions({"F ::= <o>", "F ::= {f}", "F ::=", "F ::= [E]", "F ::= (x)", "F ::= (y)", "F::=(y)"}),
            stOk);
  EXPECT_EQ(g.Edges(g.N("F").ProdEdges),
            "[ (y) -> [ end(10) | end(11) ] | (x) -> end(9) | [E] -> end(8) | {f} -> end(6) | <o> -> end(5) "
            "| end(7) ]");
  EXPECT_EQ(g.Productions({"F ::= (x)"}), stProductionDefined);
  // Names are cut to 25 characters before the lookup.
  ASSERT_EQ(g.Productions({"Ex ::= (abcdefghijklmnopqrstuvwxy-anything)"}), stOk);
  EXPECT_EQ(g.Edges(g.N("Ex").ProdEdges), "(abcdefghijklmnopqrstuvwxy) -> end(12)");
}

TEST(Productions, LineAndTokenErrors) {
  const std::pair<const char*, Status> cases[] = {
      {"E (a)", stMissingDefines},        {"F ::= (a)", stUnknownNonterminal}, {"E ::= (a) (b)", stEdgeLeftDelim},
      {"E ::= (a", stEdgeRightDelim},     {"E ::= a", stEdgeLeftDelim},        {"E ::= [E] (a)", stEdgeLeftDelim},
      {"E ::= ( a)", stUnknownTerminal},  {"E ::= [Z]", stUnknownNonterminal}, {"E ::= {f}", stNotAllocated},
      {"E ::= <o>", stNotAllocated},
  };
  for (const auto& [line, status] : cases) {
    TestGrammar g;
    g.Declare({"a", "b"}, {"E"});
    EXPECT_EQ(g.Productions({line}), status) << line;
  }
  TestGrammar g;
  g.Declare({}, {"E"}, {"f"}, {"o"});
  EXPECT_EQ(g.Productions({"E ::= {g}"}), stUnknownAction);
  EXPECT_EQ(g.Productions({"E ::= <p>"}), stUnknownOutTerm);
  Language none;
  EXPECT_EQ(ProdLine(none, "E ::="), stNotAllocated);
}

TEST(Productions, EdgeAndProductionCapacities) {
  TestGrammar g;
  g.lang().Edges = 3;
  g.lang().Productions = 2;
  g.Declare({"a", "b", "c"}, {"E"});
  ASSERT_EQ(g.Productions({"E ::= (a)(b)"}), stOk);  // three edges: a, b, end
  EXPECT_EQ(g.Productions({"E ::= (a)(c)"}), stTooManyEdges);
  EXPECT_EQ(g.lang().LastEdge, 3);
  EXPECT_EQ(g.Productions({"E ::= (c)"}), stTooManyProductions);

  TestGrammar none;
  none.lang().Edges = 0;
  none.lang().Productions = 0;
  none.Declare({}, {"E"});
  EXPECT_EQ(none.Productions({"E ::="}), stTooManyProductions);
  none.lang().Productions = 1;
  EXPECT_EQ(none.Productions({"E ::="}), stTooManyEdges);
}

TEST(Productions, EndHandlerWithoutProductionsOrHandle) {
  TestGrammar g;
  g.Declare({}, {"E"});
  testing::internal::CaptureStdout();
  EXPECT_EQ(g.Build({}), stNotAllocated);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "*** EdgeFol ***\n");

  LanguagePool pool;
  EXPECT_EQ(ProductionsEnd(pool, 1), stBadLanguageHandle);
}

}  // namespace
}  // namespace parvolen
