#include "reader/reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "support/describe.h"

namespace parvolen {
namespace {

using namespace std::string_literals;

constexpr std::string_view kWarnings =
    "Warning: lookahead set to default (1)\nWarning: maximal # of nonterminals set to default (1)\n";

// A [Language] section that prints no warning.
constexpr std::string_view kQuietLanguage = "[Language]\nLookahead = 1\nNonterminals = 2\nStartingSymbol = E\n";

// The listing of this run is checked line by line by the e2e case reader-worked-example.
TEST(Reader, SectionsSwitchInTableOrder) {
  Described d = Describe(
      "Title line without brackets\n[Language]\nName = Calc\nStartingSymbol = Expr\nProductions = 2\nEdges = 4\n"
      "[Nonterminals]\nExpr\n[Productions]\nExpr ::=\n[Terminals]\nnum\n");
  EXPECT_EQ(d.status, stBadSection);
  EXPECT_EQ(d.out, kWarnings);
  EXPECT_EQ(d.listing.substr(d.listing.rfind("CFG")), "CFG: 11 '[Terminals]'\n");
  ASSERT_NE(d.Lang(), nullptr);  // the record stays in use after a failure
  EXPECT_EQ(d.Lang()->Name.View(), "Calc");
  EXPECT_EQ(d.Lang()->StartNont, 1);  // [Nonterminals] ended when [Productions] began
}

TEST(Reader, HeadersMatchWithoutCaseButOnlyForward) {
  EXPECT_EQ(Describe("[LANGUAGE]\nNonterminals = 2\n[nonterminals]\nE\n").Lang()->LastNonterminal, 1);
  EXPECT_EQ(Describe("[Nonterminals]\n[Terminals]\n").status, stBadSection);
  EXPECT_EQ(Describe("[Language] x\n").status, stBadSection);
  EXPECT_EQ(Describe("[Language]]\n").status, stBadSection);
  EXPECT_EQ(Describe("[Terminal]\n").status, stBadSection);
  EXPECT_EQ(Describe("[dummy]\n").status, stBadSection);
  EXPECT_EQ(Describe("[ ]\n").status, stBadSection);
  // A lone bracket is no header but a line of the current section.
  Described d = Describe(std::string(kQuietLanguage) + "Terminals = 2\n[Terminals]\n[\n  [  \n");
  EXPECT_EQ(d.status, stTerminalDefined);
  EXPECT_EQ(d.Lang()->TermTab[1].Name.View(), "[");
}

TEST(Reader, PassedOverSectionsAreEnded) {
  // [Terminals] is passed over; its end looks the identifier name up in a table that does not exist.
  Described d = Describe("[Language]\nIdName = id\nLookahead = 1\nNonterminals = 1\n[Nonterminals]\nE\n");
  EXPECT_EQ(d.status, stNotAllocated);
  EXPECT_EQ(d.out, "");
  EXPECT_EQ(d.listing, "CFG: 1 '[Language]'\nCFG: 2 'IdName = id'\nCFG: 3 'Lookahead = 1'\n"
                       "CFG: 4 'Nonterminals = 1'\nCFG: 5 '[Nonterminals]'\n");
}

TEST(Reader, EndOfFileEndsTheCurrentAndLaterSections) {
  Described empty = Describe("");
  EXPECT_EQ(empty.status, stNotAllocated);
  EXPECT_EQ(empty.out, kWarnings);
  EXPECT_EQ(empty.listing, "");

  Described d = Describe(std::string(kQuietLanguage) + "[Nonterminals]\nF\n");
  EXPECT_EQ(d.status, stUnknownNonterminal);  // StartingSymbol E was never defined
}

TEST(Reader, StoppingLinesEndTheDescription) {
  Described semicolon = Describe("[Language]\nName = A\n; [Bogus]\n[Bogus]\n");
  EXPECT_EQ(semicolon.status, stNotAllocated);  // not 27: nothing after ";" is read
  EXPECT_EQ(semicolon.out, kWarnings);
  EXPECT_EQ(semicolon.listing, "CFG: 1 '[Language]'\nCFG: 2 'Name = A'\nCFG: 3 '; [Bogus]'\n");

  Described nul = Describe("[Language]\n\0[Bogus]\n[Bogus]\n"s);
  EXPECT_EQ(nul.status, stNotAllocated);
  EXPECT_EQ(nul.listing, "CFG: 1 '[Language]'\nCFG: 2 ''\n");

  Described blankFirst = Describe(" \t \n[Bogus]\n");
  EXPECT_EQ(blankFirst.status, stNotAllocated);
  EXPECT_EQ(blankFirst.listing, "CFG: 1 ' \t '\n");
}

TEST(Reader, EmptyFirstLineYieldsNoLine) {
  Described d = Describe("\n[Bogus]\n");
  EXPECT_EQ(d.status, stNotAllocated);
  EXPECT_EQ(d.out, kWarnings);
  EXPECT_EQ(d.listing, "");
}

TEST(Reader, BlankLinesAndLeadingBlanksVanish) {
  Described d = Describe("  First line\n\n \t\n   [Language]\n\n\n\t Name = X  \n\f\v\r\n[Bogus]\n");
  EXPECT_EQ(d.status, stBadSection);
  EXPECT_EQ(d.listing,
            "CFG: 1 '  First line'\n*** Skipping config line: 'First line'\n"
            "CFG: 2 '[Language]'\nCFG: 3 'Name = X  '\nCFG: 4 '[Bogus]'\n");
}

TEST(Reader, LongLinesAreReadWhole) {
  const std::string longName(100000, 'n');
  const std::string longTitle(70000, 't');
  Described d = Describe(longTitle + "\n" + std::string(kQuietLanguage) + "Name = " + longName + "\n" + longName +
                         " = 1\n");
  EXPECT_EQ(d.status, stUnknownKey);
  EXPECT_EQ(d.Lang()->Name.View(), std::string(25, 'n'));
  EXPECT_EQ(d.listing, "CFG: 1 '" + longTitle + "'\n*** Skipping config line: '" + longTitle + "'\n" +
                           "CFG: 2 '[Language]'\nCFG: 3 'Lookahead = 1'\nCFG: 4 'Nonterminals = 2'\n"
                           "CFG: 5 'StartingSymbol = E'\nCFG: 6 'Name = " + longName + "'\n" +
                           "CFG: 7 '" + longName + " = 1'\n");
}

TEST(Reader, TextEndsAtTheFirstNul) {
  Described d = Describe(std::string(kQuietLanguage) + "[Nonterminals]\nE\0F\nE\0G\n"s);
  EXPECT_EQ(d.status, stNonterminalDefined);
  EXPECT_EQ(d.Lang()->NontTab[1].Name.View(), "E");
  EXPECT_EQ(d.listing.substr(d.listing.find("CFG: 5")), "CFG: 5 '[Nonterminals]'\nCFG: 6 'E'\nCFG: 7 'E'\n");
}

TEST(Reader, CarriageReturnsAreTrimmedWithTheLine) {
  Described d = Describe("[Language]\r\nLookahead = 1\r\nNonterminals = 1\r\nStartingSymbol = E\r\n"
                         "[Nonterminals]\r\nE\r\nF\r\n");
  EXPECT_EQ(d.status, stTooManyNonterminals);
  EXPECT_EQ(d.out, "");
  EXPECT_EQ(d.Lang()->StartingSymbol.View(), "E");
  EXPECT_EQ(d.Lang()->NontTab[1].Name.View(), "E");
  const std::string start = "CFG: 1 '[Language]\r'\nCFG: 2 'Lookahead = 1\r'\n";
  EXPECT_EQ(d.listing.substr(0, start.size()), start);
}

TEST(Reader, FailingLineStopsAndIsListedLast) {
  Described d = Describe("[Language]\nLookahead = 7\nName = never\n");
  EXPECT_EQ(d.status, stValueTooHigh);
  EXPECT_EQ(d.out, "");  // the section's end never ran
  EXPECT_EQ(d.listing, "CFG: 1 '[Language]'\nCFG: 2 'Lookahead = 7'\n");
  EXPECT_TRUE(d.Lang()->Name.Empty());
}

TEST(Reader, UnopenableDescription) {
  LanguagePool pool;
  std::int32_t handle = 9;
  const std::string listing = TempPath("listing");
  EXPECT_EQ(ReadDescription(pool, TempPath("missing"), listing, handle), stCannotOpen);
  EXPECT_EQ(handle, 0);
  EXPECT_EQ(pool.Check(1), stBadLanguageHandle);  // released at once
  EXPECT_FALSE(std::ifstream(listing).good());    // and no listing made
  EXPECT_EQ(ReadDescription(pool, ".", "", handle), stCannotOpen);
  EXPECT_EQ(ReadDescription(pool, "", "", handle), stCannotOpen);
}

TEST(Reader, NoFreeRecord) {
  LanguagePool pool;
  std::int32_t handle = 0;
  for (int i = 0; i < LanguagePool::kSize; ++i) ASSERT_EQ(pool.Create(handle), stOk);
  EXPECT_EQ(ReadDescription(pool, "", "", handle), stTooManyLanguages);
  EXPECT_EQ(handle, 0);
}

TEST(Reader, ListingNeverOverwritesTheDescription) {
  const std::string path = TempPath("self");
  const std::string text = "[Language]\nName = Self\n";
  std::ofstream(path) << text;
  LanguagePool pool;
  std::int32_t handle = 0;
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(ReadDescription(pool, path, path, handle), stNotAllocated);
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(ReadFile(path), text);
  EXPECT_EQ(pool.Record(handle)->Name.View(), "Self");
  std::remove(path.c_str());
}

}  // namespace
}  // namespace parvolen
