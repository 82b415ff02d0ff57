#include "model/lexical_symbols.h"

#include <gtest/gtest.h>

#include "model/symbol_tables.h"
#include "model/symbol_tree_dump.h"

namespace parvolen {
namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(SymbolTree, ListsSortAsSignedBytesWhateverTheOrderOfDefinition) {
  Language lang;
  lang.SymbNodes = 10;
  for (const char* shape : {"+", "-", "*", "\xE9", "\x80"})
    ASSERT_EQ(SymbNewShape(&lang, shape, lang.LastSymbNode + 1), stOk);
  EXPECT_EQ(DumpSymbolTree(lang), "'\\x80' 5\n'\\xE9' 4\n'*' 3\n'+' 1\n'-' 2\n");
}

TEST(SymbolTree, PrefixShapesShareNodes) {
  Language lang;
  lang.SymbNodes = 10;
  ASSERT_EQ(SymbNewShape(&lang, "<=", 1), stOk);
  EXPECT_EQ(DumpSymbolTree(lang), "'<'\n  '=' 1\n");
  ASSERT_EQ(SymbNewShape(&lang, "<", 2), stOk);  // the prefix node receives its terminal
  ASSERT_EQ(SymbNewShape(&lang, "<>", 3), stOk);
  ASSERT_EQ(SymbNewShape(&lang, "", 4), stOk);  // an empty shape is the character 0
  EXPECT_EQ(DumpSymbolTree(lang), "'\\x00' 4\n'<' 2\n  '=' 1\n  '>' 3\n");
  EXPECT_EQ(SymbNewShape(&lang, "<", 5), stSymbolTwice);
  EXPECT_EQ(SymbNewShape(&lang, "<=", 1), stSymbolTwice);
  EXPECT_EQ(lang.LastSymbNode, 4);
}

TEST(SymbolTree, TinyCapacities) {
  Language lang;
  EXPECT_EQ(SymbNewShape(&lang, "+", 1), stTooManySymbNodes);
  EXPECT_FALSE(lang.SymbTab.Exists());
  lang.SymbNodes = 2;
  ASSERT_EQ(SymbNewShape(&lang, ":=", 1), stOk);
  ASSERT_EQ(SymbNewShape(&lang, ":", 2), stOk);
  EXPECT_EQ(SymbNewShape(&lang, "::", 3), stTooManySymbNodes);
  EXPECT_EQ(DumpSymbolTree(lang), "':' 2\n  '=' 1\n");

  Language other;  // nodes made before the table ran out stay
  other.SymbNodes = 2;
  EXPECT_EQ(SymbNewShape(&other, "abc", 1), stTooManySymbNodes);
  EXPECT_EQ(DumpSymbolTree(other), "'a'\n  'b'\n");
}

TEST(SymbolTree, MissingArgumentsPrintTheirLines) {
  Language lang;
  std::int32_t link = 0;
  CaptureStdout();
  EXPECT_EQ(SymbNew(nullptr, nullptr), stNotAllocated);
  EXPECT_EQ(SymbIns(nullptr, nullptr, 'a', 0, nullptr), stNotAllocated);
  EXPECT_EQ(SymbIns(&lang, &link, 'a', 0, nullptr), stNotAllocated);
  EXPECT_EQ(SymbNewShape(nullptr, nullptr, 1), stNotAllocated);
  EXPECT_EQ(GetCapturedStdout(),
            "*** SymbNew ***\n Language store\n Destination space\n"
            "*** SymbIns ***\n Language store\n Destination space\n Next item handle\n"
            "*** SymbIns ***\n Next item handle\n"
            "*** SymbNewShape ***\n Language store\n Shape store\n");
  EXPECT_EQ(lang.LastSymbNode, 0);
}

TEST(SectionLines, SymbolsAndKeywords) {
  Language lang;
  lang.SymbNodes = 5;
  EXPECT_EQ(SymbolsLine(lang, "t1 = +"), stNotAllocated);  // no terminal defined yet
  lang.Terminals = 2;
  std::int32_t no = 0;
  ASSERT_EQ(NewTerminal(lang, "t1", no), stOk);
  ASSERT_EQ(NewTerminal(lang, "t2", no), stOk);
  ASSERT_EQ(SymbolsLine(lang, "t2=:="), stOk);
  EXPECT_EQ(SymbolsLine(lang, "t3 = -"), stUnknownTerminal);
  EXPECT_EQ(SymbolsLine(lang, "t1 -"), stMissingEquals);
  EXPECT_EQ(DumpSymbolTree(lang), "':'\n  '=' 2\n");

  EXPECT_EQ(KeywordsLine(lang, "t1 = if"), stTooManyKeywords);  // capacity 0
  EXPECT_FALSE(lang.KwdTab.Exists());
  lang.Keywords = 3;
  ASSERT_EQ(KeywordsLine(lang, "t1 = if"), stOk);
  ASSERT_EQ(KeywordsLine(lang, "t2=IF"), stOk);
  EXPECT_EQ(KeywordsLine(lang, "t2 = if"), stKeywordDefined);
  ASSERT_EQ(NewKeyword(&lang, "abcdefghijklmnopqrstuvwxyA", 1), stOk);
  // Equal in the first 25 characters: a duplicate, found before the full table is noticed.
  EXPECT_EQ(NewKeyword(&lang, "abcdefghijklmnopqrstuvwxyB", 2), stKeywordDefined);
  EXPECT_EQ(NewKeyword(&lang, "then", 2), stTooManyKeywords);
  EXPECT_EQ(lang.KwdTab[2].Shape.View(), "IF");
  EXPECT_EQ(lang.KwdTab[2].T, 2);
  EXPECT_EQ(lang.KwdTab[3].Shape.View(), "abcdefghijklmnopqrstuvwxy");
  EXPECT_EQ(KeywordsLine(lang, "t9 = while"), stUnknownTerminal);
}

}  // namespace
}  // namespace parvolen
