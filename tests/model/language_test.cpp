#include "model/language.h"

#include <gtest/gtest.h>

#include "model/symbol_tables.h"

namespace parvolen {
namespace {

TEST(LanguagePool, HandlesAreReusedAndZeroed) {
  LanguagePool pool;
  std::int32_t h1 = 0, h2 = 0, h3 = 0, h4 = 0;
  ASSERT_EQ(pool.Create(h1), stOk);
  ASSERT_EQ(pool.Create(h2), stOk);
  ASSERT_EQ(pool.Create(h3), stOk);
  EXPECT_EQ(h1, 1);
  EXPECT_EQ(h2, 2);
  EXPECT_EQ(h3, 3);
  EXPECT_EQ(pool.Create(h4), stTooManyLanguages);

  Language* rec = pool.Record(2);
  ASSERT_NE(rec, nullptr);
  rec->Terminals = 4;
  std::int32_t t = 0;
  ASSERT_EQ(NewTerminal(*rec, "plus", t), stOk);
  EXPECT_EQ(pool.Release(2), stOk);
  EXPECT_EQ(pool.Check(2), stBadLanguageHandle);
  EXPECT_EQ(pool.Release(2), stBadLanguageHandle);

  ASSERT_EQ(pool.Create(h4), stOk);
  EXPECT_EQ(h4, 2);
  EXPECT_EQ(pool.Record(2)->Terminals, 0);
  EXPECT_FALSE(pool.Record(2)->TermTab.Exists());
}

TEST(LanguagePool, InvalidHandles) {
  LanguagePool pool;
  EXPECT_EQ(pool.Check(0), stBadLanguageHandle);
  EXPECT_EQ(pool.Check(4), stBadLanguageHandle);
  EXPECT_EQ(pool.Check(1), stBadLanguageHandle);
  EXPECT_EQ(pool.Record(1), nullptr);
}

TEST(NameTables, CapacityDuplicatesAndCase) {
  Language lang;
  std::int32_t no = 0;
  EXPECT_EQ(NewTerminal(lang, "a", no), stTooManyTerminals);  // capacity 0
  lang.Terminals = 2;
  ASSERT_EQ(NewTerminal(lang, "a", no), stOk);
  EXPECT_EQ(no, 1);
  ASSERT_EQ(NewTerminal(lang, "A", no), stOk);
  EXPECT_EQ(no, 2);
  EXPECT_EQ(NewTerminal(lang, "a", no), stTerminalDefined);
  EXPECT_EQ(no, 1);
  EXPECT_EQ(NewTerminal(lang, "b", no), stTooManyTerminals);
  EXPECT_EQ(FindTerminal(lang, "A", no), stOk);
  EXPECT_EQ(no, 2);
  EXPECT_EQ(FindTerminal(lang, "c", no), stUnknownTerminal);
  EXPECT_EQ(FindNonterminal(lang, "E", no), stNotAllocated);
}

TEST(NameTables, NamesCompareOnTwentyFiveCharacters) {
  Language lang;
  lang.Actions = 5;
  std::int32_t no = 0;
  ASSERT_EQ(NewAction(lang, "abcdefghijklmnopqrstuvwxyA", no), stOk);
  EXPECT_EQ(NewAction(lang, "abcdefghijklmnopqrstuvwxyB", no), stActionDefined);
  EXPECT_EQ(lang.ActionTab[1].Name.View(), "abcdefghijklmnopqrstuvwxy");
}

}  // namespace
}  // namespace parvolen
