#include "findings/losses.h"

#include <gtest/gtest.h>

#include "inspected.h"

namespace parvolen::inspect {
namespace {

std::string Summary(const WarningReport& w) {
  std::string text = w.Kind + " " + w.Nonterminal + ", " + w.Where + ", " + w.Member.Edge + " on";
  for (const std::string& t : w.Terminals) text += " " + t;
  if (w.HaveExample) text += ": " + StringText(w.Before) + " | " + StringText(w.After);
  return text;
}

TEST(InspectLosses, RightRecursiveListLosesWhatFollowsIt) {
  Inspected right(Description("StartingSymbol = S\nEofName = eoi\n", "y\nz\nsemi\neoi\n", "S\nL\nX\nUnused\n",
                              "S ::= [L](semi)\nL ::= [X][L]\nL ::=\nX ::= (y)\nX ::= (y)(z)\n"
                              "Unused ::= (y)\nUnused ::= (y)(semi)\n"));
  ASSERT_EQ(right.It().Code(), stOk);
  const Report r = right.MakeReport();
  ASSERT_EQ(r.Warnings.size(), 1u);
  const WarningReport& w = r.Warnings[0];
  EXPECT_EQ(Summary(w), "lost-strings X, after (y), end on semi: y | semi");
  ASSERT_EQ(w.Member.Productions.size(), 1u);
  EXPECT_EQ(w.Member.Productions[0].Line, 25);
  EXPECT_EQ(w.Suggestion, "Write the list left-recursive: L ::= [L][X] in place of line 23 (L ::= [X][L]).");
  EXPECT_NE(w.Explanation.find("right-recursive list L"), std::string::npos);

  // Written left-recursive, the list keeps what follows it.
  Inspected left(Description("StartingSymbol = S\nEofName = eoi\n", "y\nz\nsemi\neoi\n", "S\nL\nX\n",
                             "S ::= [L](semi)\nL ::= [L][X]\nL ::=\nX ::= (y)\nX ::= (y)(z)\n"));
  ASSERT_EQ(left.It().Code(), stOk);
  EXPECT_TRUE(left.MakeReport().Warnings.empty());
}

TEST(InspectLosses, ChoiceDecidedOnlyBelowLevelOne) {
  Inspected d(Description("StartingSymbol = S\nEofName = eoi\nLookahead = 2\n", "a\nb\nd\nx\neoi\n", "S\nE\nF\n",
                          "S ::= (x)[E]\nE ::= (a)(b)\nE ::= [F]\nF ::= (a)(d)\n"));
  ASSERT_EQ(d.It().Code(), stOk);
  const Report r = d.MakeReport();
  ASSERT_EQ(r.Warnings.size(), 1u);  // one warning for the shared node, not one per member
  EXPECT_EQ(Summary(r.Warnings[0]), "below-level-1 E, at the start, (a) on a: x | a b");
  EXPECT_NE(r.Warnings[0].Explanation.find("between (a) and [F]"), std::string::npos);
  EXPECT_EQ(r.Warnings[0].Suggestion.rfind("Factor the common prefix", 0), 0u);
}

TEST(InspectLosses, EndOfInputWithoutAnEndTerminal) {
  const char* productions = "E ::= [E](plus)(num)\nE ::= (num)\n";
  Inspected without(Description("StartingSymbol = E\n", "num\nplus\n", "E\n", productions));
  ASSERT_EQ(without.It().Code(), stOk);
  const Report r = without.MakeReport();
  ASSERT_EQ(r.Warnings.size(), 1u);
  EXPECT_EQ(Summary(r.Warnings[0]), "end-unseen E, in the tails, after [E], (plus) on the end of the input: num | λ");
  EXPECT_NE(r.Warnings[0].Suggestion.find("EofName"), std::string::npos);
  Inspected with(Description("StartingSymbol = E\nEofName = eoi\n", "num\nplus\neoi\n", "E\n", productions));
  EXPECT_TRUE(with.MakeReport().Warnings.empty());
}

TEST(InspectLosses, ConflictsResolvedByExtendedAreNoLoss) {
  // B's empty member could be taken on y as well; with Extended the terminal edge y wins.
  Inspected d(Description("StartingSymbol = S\nEofName = eoi\nExtended = yes\n", "x\ny\neoi\n", "S\nA\nB\n",
                          "S ::= [A](y)\nA ::= (x)[B]\nB ::= (y)\nB ::=\n"));
  ASSERT_EQ(d.It().Code(), stOk);
  EXPECT_TRUE(d.MakeReport().Warnings.empty());
}

}  // namespace
}  // namespace parvolen::inspect
