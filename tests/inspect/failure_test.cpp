#include <gtest/gtest.h>

#include "inspected.h"

namespace parvolen::inspect {
namespace {

std::string Chain(const FailureReport& f) {
  std::string text;
  for (const ChainStep& s : f.Chain) {
    text += s.Role + " " + s.Edge;
    for (const ProductionRef& p : s.Productions) text += " @" + std::to_string(p.Line);
    text += "; ";
  }
  return text;
}

TEST(InspectFailure, NotKindForAnyLookahead) {
  Inspected d(Description("StartingSymbol = N\n", "a\nb\n", "N\nM\n", "N ::= [M](a)\nM ::= [N](b)\nM ::= (b)\n"));
  ASSERT_EQ(d.It().Code(), stNotKindAny);
  const Report r = d.MakeReport();
  ASSERT_TRUE(r.Failure);
  const FailureReport& f = *r.Failure;
  EXPECT_FALSE(r.Analysed);
  EXPECT_TRUE(f.AtEnd);
  EXPECT_EQ(f.Line, 19);
  EXPECT_EQ(f.View, "First of N (what N begins with)");
  EXPECT_EQ(f.Reentered, "N");
  EXPECT_EQ(f.Depth, 1);
  EXPECT_EQ(Chain(f), "enters [M] @17; enters [N] @18; ");
  EXPECT_NE(d.Text().find("    enters [N]  line 18: M ::= [N](b)   <- N again\n"), std::string::npos);
}

TEST(InspectFailure, NotKindThroughTheFollowOfAProductionEnd) {
  Inspected d(Description("StartingSymbol = S\nLookahead = 2\n", "if\nthen\nelse\nx\nc\n", "S\nC\nElse\n",
                          "S ::= (if)[C](then)[S][Else]\nS ::= (x)\nElse ::= (else)[S]\nElse ::=\nC ::= (c)\n"));
  ASSERT_EQ(d.It().Code(), stNotKindAny);
  const FailureReport f = *d.MakeReport().Failure;
  EXPECT_EQ(f.View, "NLRF of S (what can follow S where it occurs)");
  EXPECT_EQ(f.Reentered, "Else");
  EXPECT_EQ(f.Depth, 2);
  EXPECT_EQ(Chain(f), "enters [Else] @22; leaves Else @25; leaves S @22; enters [Else] @22; ");
}

TEST(InspectFailure, NotKindForTheGivenLookahead) {
  Inspected d(Description("StartingSymbol = S\n", "a\nb\nd\nx\n", "S\nE\nF\n",
                          "S ::= (x)[E]\nE ::= (a)(b)\nE ::= [F]\nF ::= (a)(d)\n[Keywords]\n"));
  ASSERT_EQ(d.It().Code(), stNotKindGiven);
  const Report r = d.MakeReport();
  const FailureReport& f = *r.Failure;
  EXPECT_FALSE(f.AtEnd);
  EXPECT_EQ(f.Line, 24);
  EXPECT_EQ(f.Text, "[Keywords]");
  EXPECT_EQ(f.Nonterminal + ", " + f.Where, "E, at the start");
  EXPECT_EQ(f.Holder.Edge, "(a)");
  EXPECT_EQ(f.Holder.Productions[0].Line, 21);
  EXPECT_EQ(f.Claimant.Edge, "[F]");
  EXPECT_EQ(f.Claimant.Productions[0].Text, "E ::= [F]");
  EXPECT_EQ(f.Claimed, (Names{"a"}));
  EXPECT_EQ(f.Reach, (Names{"x"}));
  // The productions are listed; views and decision lists are incomplete and left out.
  ASSERT_EQ(r.Nonterminals.size(), 3u);
  EXPECT_EQ(r.Nonterminals[1].Productions.size(), 2u);
  EXPECT_TRUE(r.Nonterminals[1].Views.empty());
  EXPECT_TRUE(r.Choices.empty());
  EXPECT_NE(d.Text().find("\nGrammar is not kind for given lookahead.\n"
                          "  Reading stopped at line 24: [Keywords]\n"
                          "  Choice point: E, at the start\n"
                          "  Member (a) (line 21: E ::= (a)(b)) holds the lookahead string a\n"
                          "  Member [F] (line 22: E ::= [F]) claims it as well\n"
                          "  A short input that reaches it: x a   (the choice comes after \"x\"; both members claim "
                          "what follows)\n"),
            std::string::npos);
}

TEST(InspectFailure, FailingLinesAndTheEndOfTheDescription) {
  Inspected unknown(Description("StartingSymbol = S\n", "a\n", "S\n", "S ::= (a)\nS ::= (b)\nS ::=\n"));
  ASSERT_EQ(unknown.It().Code(), stUnknownTerminal);
  const Report r = unknown.MakeReport();
  EXPECT_EQ(r.Failure->Line, 16);
  EXPECT_EQ(r.Failure->Text, "S ::= (b)");
  EXPECT_FALSE(r.Failure->AtEnd);
  EXPECT_EQ(r.Nonterminals[0].Productions.size(), 2u);  // the failing line made its production first

  // The end of [Nonterminals] runs at the next header, and fails there.
  Inspected noStart(Description("", "a\n", "S\n", "S ::= (a)\n"));
  ASSERT_EQ(noStart.It().Code(), stUnknownNonterminal);
  EXPECT_NE(noStart.Text().find("\nUnknown nonterminal name.\n  Reading stopped at line 13: [Productions]\n"),
            std::string::npos);

  // A failure after [Productions]: the analysis is complete and shown.
  Inspected later(Description("StartingSymbol = S\n", "a\n", "S\n", "S ::= (a)\n[Symbols]\nb = +\n"));
  ASSERT_EQ(later.It().Code(), stUnknownTerminal);
  const Report l = later.MakeReport();
  EXPECT_TRUE(l.Analysed);
  EXPECT_EQ(l.Nonterminals[0].Views[0].Name, "First");
  EXPECT_EQ(l.Failure->Text, "b = +");
}

TEST(InspectFailure, DescriptionThatCannotBeOpened) {
  Inspection missing("/nonexistent/description.lang");
  EXPECT_EQ(missing.Code(), stCannotOpen);
  EXPECT_EQ(missing.Lang(), nullptr);
  EXPECT_EQ(WriteText(missing.MakeReport()), "\nCannot open file.\n  No line was read.\n");
}

}  // namespace
}  // namespace parvolen::inspect
