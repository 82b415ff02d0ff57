#include "codegen/classic/consact.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "codegen/shared/code_writer.h"
#include "codegen/shared/consact_instr.h"
#include "codegen/construct.h"
#include "semantics/instruction_set.h"
#include "support/describe.h"

namespace parvolen {
namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

// A one-action language: S ::= (t){A}, with the value kinds chosen by extra [Language] keys
// (NumName = num, IdName = id, StrName = str, CharName = chr), optionally one output terminal,
// and the action's instructions.
std::string Description(const std::string& keys, bool outTerm, const std::string& instructions) {
  std::string text =
      "[Language]\nName = T\nStartingSymbol = S\nLookahead = 1\nTerminals = 5\nNonterminals = 1\n"
      "Actions = 1\nOutTerms = 1\nProductions = 1\nEdges = 16\nViews = 16\nNodes = 16\nSemInsts = 16\n"
      "StackSize = 4\n" +
      keys + "\n[Terminals]\nt\nnum\nid\nstr\nchr\n[Nonterminals]\nS\n";
  if (outTerm) text += "[OutTerms]\no\n";
  text += "[Actions]\nA\n[Productions]\nS ::= (t){A}\n[Instructions]\n" + instructions + "\n";
  return text;
}

struct Generated {
  Status status = stOk;
  ConsOptions options;
  std::string dir;
  std::string out;  // console output of the generation
};

Generated Generate(const std::string& description, bool semantic = true) {
  Described d = Describe(description);
  EXPECT_EQ(d.status, stOk) << d.out;
  Generated g;
  g.dir = TempPath("actions");
  std::filesystem::create_directories(g.dir);
  g.options.SemanticCode = semantic ? 1 : 0;
  CaptureStdout();
  g.status = d.Lang() == nullptr ? stNotAllocated : Construct(d.Lang(), g.dir, &g.options);
  g.out = GetCapturedStdout();
  return g;
}

// Instructions a translator of the language cannot carry out end generation with a status.
TEST(ConsAct, RefusesInstructionsWithoutMeaningInTheLanguage) {
  struct Case {
    std::string keys;
    bool outTerm;
    std::string instructions;
    Status want;
  };
  const std::string num = "NumName = num";
  const std::vector<Case> cases = {
      // Printing needs the output file, which only a language with output terminals has.
      {num, false, "#A\nput 1", stNotOpen},
      {num, false, "#A\nwriteln", stNotOpen},
      {num, false, "#A\nspaces 1", stNotOpen},
      // An immediate is no place to store into or move from.
      {num, true, "#A\ncopy 5, r0", stWriteImmediate},
      {num, true, "#A\nfetch 5", stWriteImmediate},
      {num, true, "#A\nadd 5, r0", stWriteImmediate},
      {num, true, "#A\nmove r0, 5", stMoveImmediate},
      {num, true, "#A\nmove 5, r0", stMoveImmediate},
      {num, true, "#A\npop 5", stMoveImmediate},
      // Without terminal values there is no Value: no registers, stack or fetched values.
      {"", true, "#A\npush 1", stSemNoValue},
      {"", true, "#A\ncopy r0, 5", stSemNoValue},
      {"", true, "#A\nput g1", stSemNoValue},
      {"", true, "#A\nfetch r0", stSemNoValue},
      {"", true, "#A\npop r0", stSemNoValue},
      {num + "\nIgnoreValues = yes", true, "#A\nfetch r0", stSemNoValue},
      // Arithmetic needs integer values.
      {"IdName = id\nStrName = str", true, "#A\nadd r0, r1", stSemAddNotInt},
      {"IdName = id\nStrName = str", true, "#A\nsub r0, 1", stSemSubNotInt},
      {"StrName = str", true, "#A\nmul r0, r1", stSemMulNotInt},
      {num, true, "#A\nadd r0, \"x\"", stSemAddNotInt},
      {num + "\nCharName = chr", true, "#A\nmul r0, 'c'", stSemMulNotInt},
      // An immediate stored into a value must be of a kind the language's values have.
      {num, true, "#A\ncopy r0, 'c'", stBadSemType},
      {num, true, "#A\npush \"s\"", stBadSemType},
      {num + "\nCharName = chr", true, "#A\ncopy g2, \"s\"", stBadSemType},
      {"CharName = chr", true, "#A\ncopy r0, 1", stBadSemType},
      {"StrName = str", true, "#A\nspaces r0", stBadSemType},
      {num, true, "#A\nspaces 'c'", stBadSemType},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys + " | " + c.instructions);
    const Generated g = Generate(Description(c.keys, c.outTerm, c.instructions));
    EXPECT_EQ(g.status, c.want);
    EXPECT_EQ(g.out, "");
  }
}

// The same instructions are not looked at without -s, nor when no action's run reaches them.
TEST(ConsAct, RefusesOnlyWhatItTranslates) {
  Generated g = Generate(Description("", false, "#A\nput r0\ncopy 5, r0"), false);
  EXPECT_EQ(g.status, stOk);
  EXPECT_EQ(g.options.OutputUsed, 0);

  g = Generate(Description("", false, "put r0\n#A\nreturn"));
  EXPECT_EQ(g.status, stOk);
  EXPECT_EQ(g.options.OutputUsed, 0);
  // The writer module is not generated, so nothing includes it.
  EXPECT_EQ(ReadFile(g.dir + "/_actions.c").find("_writer.h"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(g.dir + "/_writer.h"));
}

TEST(ConsAct, OutputUsedOnceAnActionPrints) {
  for (const std::string instruction : {"put 'x'", "writeln", "spaces 2"}) {
    SCOPED_TRACE(instruction);
    Generated g = Generate(Description("CharName = chr", true, "#A\n" + instruction));
    ASSERT_EQ(g.status, stOk);
    EXPECT_EQ(g.options.OutputUsed, 1);
    const std::string writer = ReadFile(g.dir + "/_writer.c");
    EXPECT_NE(writer.find("ErrCode OutChar(char c) {"), std::string::npos);
    EXPECT_EQ(writer.find("OutSpaces") != std::string::npos, instruction == "spaces 2");
  }
}

// A path that leaves room for "_lexer.h" but not for "_actions.h": the run stops there.
TEST(ConsAct, TargetPathTooLong) {
  Described d = Describe(Description("NumName = num", true, "#A\nreturn"));
  ASSERT_EQ(d.status, stOk);
  const std::string base = TempPath("long");
  const std::string dir = base + "/" + std::string(245 - base.size() - 1, 'd');
  ASSERT_EQ(dir.size(), 245u);
  std::filesystem::create_directories(dir);
  ConsOptions options;
  EXPECT_EQ(Construct(d.Lang(), dir, &options), stTargetNameTooLong);
  EXPECT_TRUE(std::filesystem::exists(dir + "/_lexer.c"));
  EXPECT_FALSE(std::filesystem::exists(dir + "/_actions.h"));
}

// Records built in code reach what the assembler never produces: operands and immediates
// without a C form print a diagnostic, and the instruction is left out whole.
TEST(ConsInstr, OperandWithoutCFormWritesNothing) {
  Language lang;
  lang.NumTerm = 1;
  lang.UseChars = 1;
  ConsOptions options;
  options.ValueKinds = 2;
  const std::string path = TempPath("instr");
  struct Case {
    SemInst inst;
    std::string diagnostic;
  };
  const std::vector<Case> cases = {
      {{kOpCopy, kOperandReg, 0, 0, 0, 0}, "*** Unknown addressing in consact:ConsAddr ***\n"},
      {{kOpPush, 0, 11, 0, 0, 0}, "*** Unknown addressing in consact:ConsAddr ***\n"},
      {{kOpPut, 0, kOperandImm, 0, 7, 0}, "*** Bad immediate value in consact:ConsAddr ***"},
      {{kOpPut, 0, kOperandImm, 0, kImmString, 3}, "*** Bad immediate value in consact:ConsAddr ***"},
  };
  for (const Case& c : cases) {
    CodeWriter out;
    ASSERT_EQ(out.Open(path), stOk);
    CaptureStdout();
    EXPECT_EQ(ConsInstr(out, lang, c.inst, options), stNotFinished);
    EXPECT_EQ(GetCapturedStdout(), c.diagnostic);
    ASSERT_EQ(out.Close(), stOk);
    EXPECT_EQ(ReadFile(path), "");
  }
  std::string text;
  EXPECT_EQ(ConsAddr(lang, kOperandImm, nullptr, text), stNotAllocated);
  EXPECT_EQ(ConsAddr(lang, kOperandGReg + 2, nullptr, text), stOk);
  EXPECT_EQ(text, "GRegister[2]");
}

}  // namespace
}  // namespace parvolen
