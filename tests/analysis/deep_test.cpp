// Grammars whose analysis recurses thousands of levels deep.
#include <gtest/gtest.h>

#include <string>

#include "analysis/follow.h"
#include "base/stack_room.h"
#include "test_grammar.h"

namespace parvolen {
namespace {

std::string Repeat(const std::string& token, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += token;
  return text;
}

TEST(DeepGrammars, ChainOfFiveThousandNonterminals) {
  constexpr int kDepth = 5000;
  TestGrammar g;
  Language& l = g.lang();
  l.Nonterminals = l.Productions = kDepth;
  l.Edges = l.Views = l.Nodes = 4 * kDepth;
  l.AllAheads = 1;
  g.Declare({"x"}, {});
  for (int i = 1; i <= kDepth; ++i) {
    std::int32_t n = 0;
    ASSERT_EQ(NewNonterminal(l, "A" + std::to_string(i), n), stOk);
  }
  for (int i = 1; i < kDepth; ++i)
    ASSERT_EQ(ProdLine(l, "A" + std::to_string(i) + " ::= [A" + std::to_string(i + 1) + "]"), stOk);
  ASSERT_EQ(g.Build({"A5000 ::= (x)"}), stOk);
  EXPECT_EQ(g.Views(g.N("A1").First), "x");
  EXPECT_EQ(g.Views(g.N("A5000").Follow), "lambda");
  EXPECT_EQ(g.Nodes(g.N("A1").ProdNodes), "x => [A2]");
}

TEST(DeepGrammars, ProductionsOfFiveThousandTokens) {
  TestGrammar g;
  g.lang().Edges = g.lang().Views = g.lang().Nodes = 20000;
  g.Declare({"a", "b", "c", "x"}, {"E", "F", "X"}, {"act"});
  // E's decision list reads through its whole run of actions; F's run is copied into X's follow trie.
  ASSERT_EQ(g.Build({"E ::= " + Repeat("{act}", 4998) + "[X](b)", "E ::= (a)",
                     "F ::= [X]" + Repeat("{act}", 4998) + "(c)", "X ::= (x)"}),
            stOk);
  EXPECT_EQ(g.Nodes(g.N("E").ProdNodes), "[ a => (a) | x => {act} ]");
  EXPECT_EQ(g.Views(g.N("X").Follow), "[ b | c ]");
}

TEST(DeepGrammars, RecursionStopsBeforeTheStackRunsOut) {
  constexpr int kTokens = 50000;
  TestGrammar g;
  g.lang().Edges = kTokens + 1;
  g.Declare({"a"}, {"E"});
  ASSERT_EQ(g.Productions({"E ::= " + Repeat("(a)", kTokens)}), stOk);
  // On a small stack the walk of the long path gives up with status 1 instead of overflowing.
  Language* lang = g.rec();
  EXPECT_EQ(RunWithStack(std::size_t{1} << 20, [lang] { return MkFolEdge(lang); }), stNoMem);
  // The analysis thread's own stack holds it.
  EXPECT_EQ(g.Build({}), stOk);
  EXPECT_EQ(g.Views(g.N("E").First), "a");
}

}  // namespace
}  // namespace parvolen
