#include "analysis/dump.h"

#include <gtest/gtest.h>

#include "test_grammar.h"

namespace parvolen {
namespace {

// The whole analysis of the small expression grammar; with AllAheads every edge list gets a
// decision list.
TEST(Dump, SmallGrammarWholeAnalysis) {
  TestGrammar g;
  g.Declare({"plus", "num", "eoi"}, {"E", "E1", "T"});
  g.Eoi("eoi");
  g.lang().AllAheads = 1;
  ASSERT_EQ(g.Build({"E ::= [T][E1]", "E1 ::= (plus)[T][E1]", "E1 ::=", "T ::= (num)"}), stOk);
  EXPECT_EQ(DumpLanguage(g.lang()),
            "E:\n"
            "  ProdEdges: [T] -> [E1] -> end(1)\n"
            "  RecEdges: -\n"
            "  FolEdges: -\n"
            "  First: num\n"
            "  PureDLRF: -\n"
            "  DLRF: -\n"
            "  NLRF: lambda\n"
            "  Follow: lambda\n"
            "  ProdNodes: num => [T]\n"
            "  RecNodes: -\n"
            "  Node of edge 1 [T]: [ plus => [E1] | eoi => [E1] ]\n"
            "  Node of edge 2 [E1]: eoi => end(1)\n"
            "E1:\n"
            "  ProdEdges: [ (plus) -> [T] -> [E1] -> end(2) | end(3) ]\n"
            "  RecEdges: -\n"
            "  FolEdges: [ end(1) | end(2) ]\n"
            "  First: [ lambda | plus ]\n"
            "  PureDLRF: -\n"
            "  DLRF: -\n"
            "  NLRF: lambda\n"
            "  Follow: lambda\n"
            "  ProdNodes: [ plus => (plus) | eoi => end(3) ]\n"
            "  RecNodes: -\n"
            "  Node of edge 4 (plus): num => [T]\n"
            "  Node of edge 5 [T]: [ plus => [E1] | eoi => [E1] ]\n"
            "  Node of edge 6 [E1]: eoi => end(2)\n"
            "T:\n"
            "  ProdEdges: (num) -> end(4)\n"
            "  RecEdges: -\n"
            "  FolEdges: [E1] -> [ end(1) | end(2) ]\n"
            "  First: num\n"
            "  PureDLRF: -\n"
            "  DLRF: -\n"
            "  NLRF: [ lambda | plus ]\n"
            "  Follow: [ lambda | plus ]\n"
            "  ProdNodes: num => (num)\n"
            "  RecNodes: -\n"
            "  Node of edge 9 (num): [ plus => end(4) | eoi => end(4) ]\n");
}

}  // namespace
}  // namespace parvolen
