// The view walker against the plain unfolding on random grammars: the same strings in the same
// view order, and a fallback exactly where the plain unfolding fails.
#include "analysis/view_walk.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/follow.h"
#include "analysis/views.h"
#include "test_grammar.h"

namespace parvolen {
namespace {

// The trie below the slot as terms and view numbers relative to the first view made for it, in
// list order: equal texts mean equal strings made in the same order.
void Numbered(const Language& lang, std::int32_t first, std::int32_t base, std::string& out) {
  for (std::int32_t v = first; v != 0; v = lang.ViewTab[v].Altr) {
    out += std::to_string(lang.ViewTab[v].Term) + "#" + std::to_string(v - base) + "(";
    Numbered(lang, lang.ViewTab[v].Next, base, out);
    out += ")";
  }
}

std::string Made(const Language& lang, std::int32_t slot, std::int32_t lastBefore) {
  std::string out;
  Numbered(lang, slot, lastBefore, out);
  return out;
}

TEST(ViewWalker, SameViewsAsThePlainUnfoldingOnRandomGrammars) {
  std::mt19937 rng(7);
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const std::vector<std::string> terms{"a", "b", "c"};
  const std::vector<std::string> nonts{"N0", "N1", "N2", "N3"};
  int compared = 0;
  int failures = 0;
  for (int round = 0; round < 500; ++round) {
    TestGrammar g(pick(1, 4));
    g.lang().Views = 200000;
    g.lang().Edges = 2000;
    g.Declare({"a", "b", "c"}, {"N0", "N1", "N2", "N3"});
    for (const std::string& n : nonts) {
      for (int alt = pick(1, 3); alt > 0; --alt) {
        std::string line = n + " ::= ";
        if (pick(0, 5) == 0) line += "[" + n + "]";  // direct left recursion
        for (int s = pick(0, 3); s > 0; --s)
          line += pick(0, 1) ? "(" + terms[pick(0, 2)] + ")" : "[" + nonts[pick(0, 3)] + "]";
        const Status st = ProdLine(g.lang(), line);
        ASSERT_TRUE(st == stOk || st == stProductionDefined) << line;
      }
    }
    Language& lang = g.lang();
    ASSERT_EQ(MkFolEdge(&lang), stOk);
    ASSERT_EQ(lang.FirstMarks.Allocate(lang.Nonterminals), stOk);
    ASSERT_EQ(lang.FollowMarks.Allocate(lang.Nonterminals), stOk);
    ViewWalker walker(&lang);
    for (std::int32_t n = 1; n <= lang.LastNonterminal; ++n) {
      for (const bool follow : {false, true}) {
        const std::int32_t edges = follow ? lang.NontTab[n].FolEdges : lang.NontTab[n].ProdEdges;
        std::uint8_t& mark = lang.FirstMarks[n].Depth[lang.Lookahead];
        mark = follow ? 0 : 1;  // as ViewMakeAll sets it for First
        std::int32_t plain = 0;
        std::int32_t fast = 0;
        ContStack none;
        std::int32_t before = lang.LastView;
        const Status plainStatus = ViewMakeOne(&lang, edges, &plain, lang.Lookahead, none, follow);
        const std::string plainMade = Made(lang, plain, before);
        before = lang.LastView;
        bool unfold = false;
        const Status fastStatus = walker.Make(edges, &fast, lang.Lookahead, follow, unfold);
        mark = 0;
        ASSERT_EQ(unfold, plainStatus != stOk) << "round " << round << " nonterminal " << n;
        if (unfold) {
          EXPECT_EQ(fast, 0) << "nothing is written when the walker gives up";
          ++failures;
          continue;
        }
        ASSERT_EQ(fastStatus, stOk);
        EXPECT_EQ(Made(lang, fast, before), plainMade) << "round " << round << " nonterminal " << n;
        ++compared;
      }
    }
  }
  // Both outcomes must be well represented for the comparison to mean anything.
  EXPECT_GT(compared, 1000);
  EXPECT_GT(failures, 50);
}

}  // namespace
}  // namespace parvolen
