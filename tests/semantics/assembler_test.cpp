#include "semantics/assembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/symbol_tables.h"
#include "semantics/instruction_text.h"

namespace parvolen {
namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

// Every mnemonic and operand form, each line alone in a fresh record: opcode, Dst, Src, ImmType, ImmVal.
TEST(SemAsmLine, MnemonicsAndOperandForms) {
  const std::vector<std::pair<std::string, std::vector<std::int32_t>>> cases = {
      {"pop s0", {1, 1, 0, 0, 0}},
      {"push r1", {2, 0, 5, 0, 0}},
      {"copy r0, 'x'", {3, 4, 10, kImmChar, 'x'}},
      {"move\tg2,s2", {4, 9, 3, 0, 0}},
      {"put \"a b\"tail", {5, 0, 10, kImmString, 0}},
      {"return s0", {6, 0, 0, 0, 0}},
      {"fetch r2", {7, 6, 0, 0, 0}},
      {"add s0 , 12", {9, 1, 10, kImmInt, 12}},
      {"sub g0, 2147483647", {10, 7, 10, kImmInt, 2147483647}},
      {"mul s1, g1", {11, 2, 8, 0, 0}},
      {"writeln", {12, 0, 0, 0, 0}},
      {"spaces 42abc", {13, 0, 10, kImmInt, 42}},
      {"push s0x", {2, 0, 1, 0, 0}},
      {"push '\xE9'", {2, 0, 10, kImmChar, 0xE9}},  // a character is kept as its byte code
  };
  for (const auto& [line, want] : cases) {
    SCOPED_TRACE(line);
    Language lang;
    lang.SemInsts = 1;
    ASSERT_EQ(SemAsmLine(lang, line), stOk);
    const SemInst& i = lang.SemInstTab[1];
    EXPECT_EQ((std::vector<std::int32_t>{i.Opcode, i.Dst, i.Src, i.ImmType, i.ImmVal}), want);
  }
}

TEST(SemAsmLine, StringImmediatesBelongToTheRecord) {
  Language lang;
  lang.SemInsts = 2;
  ASSERT_EQ(SemAsmLine(lang, "put \"\""), stOk);
  ASSERT_EQ(SemAsmLine(lang, "copy \"first\", \"second\""), stOk);  // the second overwrites the first
  EXPECT_EQ(lang.ImmStrings, (std::vector<std::string>{"", "first", "second"}));
  EXPECT_EQ(lang.SemInstTab[1].ImmVal, 0);
  EXPECT_EQ(lang.SemInstTab[2].ImmVal, 2);
}

// Each failing line in a fresh record with room for one instruction.
TEST(SemAsmLine, FailingLines) {
  const std::vector<std::pair<std::string, Status>> cases = {
      {"PUSH s0", stUnknownMnemo},
      {"put \"a:b\"", stUnknownMnemo},  // the colon makes "put \"a" a label
      {"L1:", stUnknownMnemo},          // the mnemonic is looked up before the label
      {"L1: pop s0", stNotFinished},
      {"put \"a,b\"", stMissingStrDelim},  // the comma splits the literal
      {"copy s0", stMissingParameter},
      {"push s", stMissingParameter},
      {"push sx", stDigitExpected},
      {"push x1", stUnknownOperand},
      {"push -1", stUnknownOperand},
      {"push s3", stUnknownOperand},
      {"push g9", stUnknownOperand},
      {"push 'x", stUnknownOperand},
      {"add s0, 2147483648", stUnknownOperand},
  };
  for (const auto& [line, status] : cases) {
    SCOPED_TRACE(line);
    Language lang;
    lang.SemInsts = 1;
    CaptureStdout();
    EXPECT_EQ(SemAsmLine(lang, line), status);
    EXPECT_EQ(GetCapturedStdout(), status == stNotFinished ? "\n *** AddSemAsmLabel ***\n" : "");
    // Counted once the mnemonic is known, before label and operands are examined.
    EXPECT_EQ(lang.LastSemInst, status == stUnknownMnemo ? 0 : 1);
  }
  Language lang;
  lang.SemInsts = 1;
  CaptureStdout();
  EXPECT_EQ(SemAsmLine(lang, "gen s0"), stNotFinished);
  EXPECT_EQ(GetCapturedStdout(), "\n *** SemAsmLine ***\n");
}

TEST(SemAsmLine, Capacity) {
  Language lang;
  EXPECT_EQ(SemAsmLine(lang, ""), stOk);
  EXPECT_EQ(SemAsmLine(lang, "bogus"), stTooManySemInsts);  // the table comes before the mnemonic
  EXPECT_FALSE(lang.SemInstTab.Exists());
  lang.SemInsts = 2;
  ASSERT_EQ(SemAsmLine(lang, "push s0"), stOk);
  ASSERT_EQ(SemAsmLine(lang, "return"), stOk);
  EXPECT_EQ(SemAsmLine(lang, "bogus"), stTooManySemInsts);
}

TEST(SemAsmLine, ActionLinesSetTheFirstInstruction) {
  Language lang;
  EXPECT_EQ(SemAsmLine(lang, "#Expr"), stNotAllocated);  // no action declared
  lang.Actions = 2;
  ASSERT_EQ(ActionsLine(lang, "Expr"), stOk);
  ASSERT_EQ(ActionsLine(lang, "Term"), stOk);
  lang.SemInsts = 10;
  for (int i = 0; i < 5; ++i) ASSERT_EQ(SemAsmLine(lang, "writeln"), stOk);
  ASSERT_EQ(SemAsmLine(lang, "#Expr"), stOk);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(SemAsmLine(lang, "return"), stOk);
  EXPECT_EQ(lang.ActionTab[1].FirstInst, 6);
  EXPECT_EQ(lang.ActionTab[2].FirstInst, 0);
  ASSERT_EQ(SemAsmLine(lang, "#Expr"), stOk);  // moves the start, one past the last instruction
  EXPECT_EQ(lang.ActionTab[1].FirstInst, 9);
  EXPECT_EQ(SemAsmLine(lang, "# Term"), stUnknownAction);  // the name is the rest as it stands
}

TEST(SplitSemAsmLine, LabelMnemonicAndOperands) {
  const std::vector<std::vector<std::string>> cases = {
      // line, label, mnemonic, first, second
      {"  push   s0  ", "", "push", "s0", ""},
      {"L1 : pop s0", "L1 ", "pop", "s0", ""},
      {"a:b:c d", "a", "b:c", "d", ""},
      {"copy\ts0\t,\tr1\t", "", "copy", "s0", "r1"},
      {"put \"a, b\", c", "", "put", "\"a", "b\", c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    std::string_view label, mnemo, first, second;
    ASSERT_EQ(SplitSemAsmLine(c[0], label, mnemo, first, second), stOk);
    EXPECT_EQ((std::vector<std::string>{c[0], std::string(label), std::string(mnemo), std::string(first),
                                        std::string(second)}),
              c);
  }
}

}  // namespace
}  // namespace parvolen
