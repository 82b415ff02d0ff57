#include "reader/language_section.h"

#include <gtest/gtest.h>

#include "support/describe.h"

namespace parvolen {
namespace {

constexpr std::string_view kLookaheadWarning = "Warning: lookahead set to default (1)\n";
constexpr std::string_view kNonterminalsWarning = "Warning: maximal # of nonterminals set to default (1)\n";
constexpr std::string_view kCharWarning =
    "Warning: characters used but no character delimiter specified - therefore set to `'`\n";
constexpr std::string_view kStrWarning =
    "Warning: strings used but no string delimiter specified - therefore set to `\"`\n";

TEST(LanguageLine, EveryKeyReachesItsField) {
  Language lang;
  const std::string_view lines[] = {
      "Name = Calc",      "StartingSymbol = E", "IdName = id",      "NumName = num",    "CharName = ch",
      "StrName = str",    "EofName = eoi",      "EolName = eol",    "Lookahead = 3",    "AllAheads = yes",
      "UseChars = yes",   "UseStrings = y",     "Extensible = 1",   "IgnoreValues = t", "Extended = true",
      "CaseSensitive = +", "Terminals = 2",     "Nonterminals = 3", "OutTerms = 4",     "Actions = 5",
      "Keywords = 6",     "Edges = 7",          "Nodes = 8",        "Views = 9",        "Productions = 10",
      "SymbNodes = 11",   "SemInsts = 12",      "StackSize = 13",   "StrDelim = `",     "CharDelim = #",
      "OutStrDelim = |",  "OutCharDelim = ~",
  };
  for (std::string_view line : lines) EXPECT_EQ(LanguageLine(lang, line), stOk) << line;
  EXPECT_EQ(lang.Name.View(), "Calc");
  EXPECT_EQ(lang.StartingSymbol.View(), "E");
  EXPECT_EQ(lang.IdName.View(), "id");
  EXPECT_EQ(lang.NumName.View(), "num");
  EXPECT_EQ(lang.CharName.View(), "ch");
  EXPECT_EQ(lang.StrName.View(), "str");
  EXPECT_EQ(lang.EofName.View(), "eoi");
  EXPECT_EQ(lang.EolName.View(), "eol");
  EXPECT_EQ(lang.Lookahead, 3);
  EXPECT_EQ(lang.AllAheads + lang.UseChars + lang.UseStrings + lang.Extensible + lang.IgnoreValues +
                lang.Extended + lang.CaseSensitive,
            7);
  const std::int32_t capacities[] = {lang.Terminals, lang.Nonterminals, lang.OutTerms,    lang.Actions,
                                     lang.Keywords,  lang.Edges,        lang.Nodes,       lang.Views,
                                     lang.Productions, lang.SymbNodes,  lang.SemInsts,    lang.StackSize};
  for (std::int32_t i = 0; i < 12; ++i) EXPECT_EQ(capacities[i], i + 2);
  EXPECT_EQ(lang.StrDelim, '`');
  EXPECT_EQ(lang.CharDelim, '#');
  EXPECT_EQ(lang.OutStrDelim, '|');
  EXPECT_EQ(lang.OutCharDelim, '~');
}

TEST(LanguageLine, KeysIgnoreCaseAndTheLastValueWins) {
  Language lang;
  EXPECT_EQ(LanguageLine(lang, "lookahead = 2"), stOk);
  EXPECT_EQ(LanguageLine(lang, "LOOKAHEAD=4"), stOk);
  EXPECT_EQ(lang.Lookahead, 4);
  EXPECT_EQ(LanguageLine(lang, "Look ahead = 2"), stUnknownKey);
  EXPECT_EQ(LanguageLine(lang, std::string(5000, 'K') + " = 1"), stUnknownKey);
  EXPECT_EQ(LanguageLine(lang, "Lookahead 2"), stMissingEquals);
}

TEST(LanguageLine, BadValuesKeepTheOldOne) {
  Language lang;
  lang.Lookahead = 2;
  EXPECT_EQ(LanguageLine(lang, "Lookahead = 7"), stValueTooHigh);
  EXPECT_EQ(LanguageLine(lang, "Lookahead = 0"), stValueTooLow);
  EXPECT_EQ(LanguageLine(lang, "Lookahead = x"), stIntegerExpected);
  EXPECT_EQ(LanguageLine(lang, "Lookahead = 99999999999"), stValueTooHigh);
  EXPECT_EQ(lang.Lookahead, 2);
  EXPECT_EQ(LanguageLine(lang, "Nonterminals = 0"), stValueTooLow);
  EXPECT_EQ(LanguageLine(lang, "Terminals = -1"), stValueTooLow);
  EXPECT_EQ(LanguageLine(lang, "Terminals = 100000"), stOk);
  EXPECT_EQ(lang.Terminals, 100000);
  EXPECT_EQ(LanguageLine(lang, "UseChars = TRUE"), stOk);
  EXPECT_EQ(lang.UseChars, 1);
  EXPECT_EQ(LanguageLine(lang, "UseChars = on"), stYesNoExpected);
  EXPECT_EQ(lang.UseChars, 1);
}

TEST(LanguageLine, NamesAreCutAndCharactersTakeTheFirst) {
  Language lang;
  EXPECT_EQ(LanguageLine(lang, "Name = abcdefghijklmnopqrstuvwxyz1234"), stOk);
  EXPECT_EQ(lang.Name.View(), "abcdefghijklmnopqrstuvwxy");
  EXPECT_EQ(LanguageLine(lang, "Name ="), stOk);
  EXPECT_TRUE(lang.Name.Empty());
  EXPECT_EQ(LanguageLine(lang, "IdName = a = b"), stOk);
  EXPECT_EQ(lang.IdName.View(), "a = b");
  EXPECT_EQ(LanguageLine(lang, "CharDelim = ab"), stOk);
  EXPECT_EQ(lang.CharDelim, 'a');
  EXPECT_EQ(LanguageLine(lang, "StrDelim ="), stOk);
  EXPECT_EQ(lang.StrDelim, '\0');
}

TEST(LanguageSection, DefaultsAndWarningsInOrder) {
  Described d = Describe("[Language]\nName = Calc\n");
  EXPECT_EQ(d.status, stNotAllocated);  // no nonterminal table when [Nonterminals] ends
  EXPECT_EQ(d.out, std::string(kLookaheadWarning) + std::string(kNonterminalsWarning));
  Language& lang = *d.Lang();
  EXPECT_EQ(lang.Lookahead, 1);
  EXPECT_EQ(lang.Nonterminals, 1);
  EXPECT_EQ(lang.OutStrDelim, '"');
  EXPECT_EQ(lang.OutCharDelim, '\'');
  EXPECT_EQ(lang.UseChars + lang.UseStrings + lang.CharDelim + lang.StrDelim, 0);
}

TEST(LanguageSection, SpecialNamesTurnCharactersAndStringsOn) {
  Described d = Describe(
      "[Language]\nLookahead = 1\nNonterminals = 1\nCharName = ch\nUseChars = no\nStrName = s\nStrDelim =\n");
  EXPECT_EQ(d.out, std::string(kCharWarning) + std::string(kStrWarning));
  EXPECT_EQ(d.Lang()->UseChars, 1);
  EXPECT_EQ(d.Lang()->UseStrings, 1);
  EXPECT_EQ(d.Lang()->CharDelim, '\'');
  EXPECT_EQ(d.Lang()->StrDelim, '"');

  Described given = Describe("[Language]\nLookahead=1\nNonterminals=1\nCharName=ch\nCharDelim=%\nStrName=s\nStrDelim=$\n");
  EXPECT_EQ(given.out, "");
  EXPECT_EQ(given.Lang()->CharDelim, '%');
  EXPECT_EQ(given.Lang()->StrDelim, '$');
}

TEST(LanguageSection, WithoutTheHeaderOnlyTheEndRuns) {
  Described d = Describe("[Terminals]\n");
  EXPECT_EQ(d.out, std::string(kLookaheadWarning) + std::string(kNonterminalsWarning));
  EXPECT_EQ(d.Lang()->OutStrDelim, '\0');
  EXPECT_EQ(d.Lang()->OutCharDelim, '\0');
}

TEST(LanguageSection, RepeatedHeaderEndsThenBeginsAgain) {
  Described d = Describe(
      "[Language]\nExtended = yes\nIgnoreValues = yes\nOutStrDelim = x\nOutCharDelim = y\nAllAheads = yes\n"
      "[language]\nName = L\n");
  EXPECT_EQ(d.out, std::string(kLookaheadWarning) + std::string(kNonterminalsWarning));
  Language& lang = *d.Lang();
  EXPECT_EQ(lang.Extended, 0);
  EXPECT_EQ(lang.IgnoreValues, 0);
  EXPECT_EQ(lang.OutStrDelim, '"');
  EXPECT_EQ(lang.OutCharDelim, '\'');
  EXPECT_EQ(lang.AllAheads, 1);
  EXPECT_EQ(lang.Name.View(), "L");
}

TEST(LanguageSection, HandlersCheckTheHandle) {
  LanguagePool pool;
  EXPECT_EQ(LanguageBegin(pool, 1), stBadLanguageHandle);
  EXPECT_EQ(LanguageEnd(pool, 0), stBadLanguageHandle);
}

}  // namespace
}  // namespace parvolen
