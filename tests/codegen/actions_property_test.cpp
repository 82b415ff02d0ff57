// Random descriptions with actions, instructions and output terminals: each one either ends
// generation with one of the statuses that refuse an instruction, or yields C that gcc and
// clang compile.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "codegen/construct.h"
#include "support/describe.h"

namespace parvolen {
namespace {

constexpr int kCases = 16;

class DescriptionMaker {
 public:
  explicit DescriptionMaker(unsigned seed) : rng_(seed) {}

  std::string Make() {
    chars_ = Chance(2);
    strings_ = Chance(2);
    ints_ = Chance(3, 4);
    ids_ = Chance(2);
    stack_ = Pick(0, 4);
    const int actions = Pick(1, 4);
    const int outTerms = Pick(0, 3);
    const int plainTerms = Pick(1, 3);

    std::string text = "[Language]\nName = Random\nStartingSymbol = Start\nLookahead = 1\n";
    if (chars_) text += "CharName = chr\nCharDelim = '\n";
    if (strings_) text += "StrName = str\nStrDelim = \"\n";
    if (ints_) text += "NumName = num\n";
    if (ids_) text += "IdName = id\n";
    if (Chance(4)) text += "IgnoreValues = yes\n";
    if (Chance(2)) text += "CaseSensitive = yes\n";
    text += "StackSize = " + std::to_string(stack_) + "\n";
    text += "Terminals = 8\nNonterminals = 1\nActions = 4\nOutTerms = 3\nProductions = 1\n";
    text += "Edges = 64\nViews = 64\nNodes = 64\nSymbNodes = 8\nSemInsts = 64\n";

    text += "[Terminals]\nchr\nstr\nnum\nid\n";
    for (int t = 1; t <= plainTerms; ++t) text += "Sym" + std::to_string(t) + "\n";
    text += "[Nonterminals]\nStart\n";
    if (outTerms > 0) text += "[OutTerms]\n";
    for (int o = 1; o <= outTerms; ++o) text += OutName(o) + "\n";
    text += "[Actions]\n";
    for (int a = 1; a <= actions; ++a) text += ActionName(a) + "\n";

    // One production: always kind, and it calls every action and output terminal.
    text += "[Productions]\nStart ::=";
    for (int a = 1; a <= actions; ++a) {
      text += "(Sym" + std::to_string(Pick(1, plainTerms)) + "){" + ActionName(a) + "}";
      if (outTerms > 0) text += "<" + OutName(Pick(1, outTerms)) + ">";
    }
    text += "\n[Symbols]\n";
    for (int t = 1; t <= plainTerms; ++t) text += "Sym" + std::to_string(t) + " = " + "+-*"[t - 1] + "\n";
    if (outTerms > 0) text += "[OutShapes]\n";
    for (int o = 1; o <= outTerms; ++o) text += OutName(o) + " = " + Shape() + "\n";

    text += "[Instructions]\n";
    for (int a = 1; a <= actions; ++a) {
      if (Chance(6)) continue;  // an action with no instructions
      text += "#" + ActionName(a) + "\n";
      const int count = Pick(0, 5);
      for (int i = 0; i < count; ++i) text += Instruction() + "\n";
      if (Chance(3, 4)) text += "return\n";  // otherwise the run goes on into the next one
    }
    return text;
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  bool Chance(int n, int outOf = 0) { return outOf == 0 ? Pick(1, n) == 1 : Pick(1, outOf) <= n; }

  static std::string ActionName(int a) { return (a % 2 == 0 ? "Act " : "Act") + std::to_string(a); }
  static std::string OutName(int o) { return (o % 2 == 0 ? "out " : "out") + std::to_string(o); }

  // Shapes valid inside a C string literal and as an fprintf format.
  std::string Shape() {
    static const std::vector<std::string> kShapes = {"", "(", ");", "\\n", "begin ", "%%", "a b c", "\\t=\\t"};
    return kShapes[Pick(0, static_cast<int>(kShapes.size()) - 1)];
  }

  std::string Operand(bool immediateAllowed) {
    const int kind = Pick(immediateAllowed ? 0 : 1, stack_ > 0 ? 4 : 3);
    const std::string digit = std::to_string(Pick(0, 2));
    switch (kind) {
      case 0: return Immediate();
      case 1: return "r" + digit;
      case 2: return "g" + digit;
      case 3: return "r" + digit;
      default: return "s" + digit;
    }
  }

  // Immediates mostly of the kinds the language's values have, so that most descriptions compile.
  std::string Immediate() {
    static const std::string kChars = "aZ9'\\ .;(";
    std::vector<int> kinds;
    if (strings_ || Chance(8)) kinds.push_back(1);
    if (chars_ || Chance(8)) kinds.push_back(2);
    if (ints_ || Chance(8)) kinds.push_back(3);
    if (kinds.empty()) kinds.push_back(3);
    switch (kinds[Pick(0, static_cast<int>(kinds.size()) - 1)]) {
      case 1: return Chance(4) ? "\"\"" : "\"word " + std::to_string(Pick(0, 99)) + "\"";
      case 2: return std::string("'") + kChars[Pick(0, static_cast<int>(kChars.size()) - 1)] + "'";
      default: return std::to_string(Pick(0, 1000));
    }
  }

  std::string Instruction() {
    switch (Pick(0, 11)) {
      case 0: return stack_ > 0 ? "pop " + Operand(false) : "writeln";
      case 1: return stack_ > 0 ? "push " + Operand(true) : "put " + Operand(true);
      case 2: return "copy " + Operand(false) + ", " + Operand(true);
      case 3: return "move " + Operand(false) + ", " + Operand(false);
      case 4: return "put " + Operand(true);
      case 5: return "fetch " + Operand(false);
      case 6: return "add " + Operand(false) + ", " + (Chance(2) ? std::to_string(Pick(0, 9)) : Operand(false));
      case 7: return "sub " + Operand(false) + ", " + Operand(true);
      case 8: return "mul " + Operand(false) + ", " + Operand(true);
      case 9: return "writeln";
      case 10: return "spaces " + (Chance(2) ? std::to_string(Pick(0, 4)) : Operand(false));
      default: return "return";
    }
  }

  std::mt19937 rng_;
  bool chars_ = false, strings_ = false, ints_ = false, ids_ = false;
  int stack_ = 0;
};

std::vector<std::string> Compilers() {
  std::vector<std::string> found;
  for (const char* cc : {"gcc", "clang"}) {
    if (std::system((std::string("command -v ") + cc + " > /dev/null 2>&1").c_str()) == 0) found.emplace_back(cc);
  }
  return found;
}

bool IsRefusal(Status st) {
  return st == stNotOpen || st == stSemNoValue || st == stSemAddNotInt || st == stSemSubNotInt ||
         st == stSemMulNotInt || st == stWriteImmediate || st == stMoveImmediate || st == stBadSemType;
}

TEST(ActionsProperty, RandomDescriptionsEndWithAStatusOrCompile) {
  const std::vector<std::string> compilers = Compilers();
  if (compilers.empty()) GTEST_SKIP() << "no C compiler";
  int compiled = 0;
  for (int seed = 1; seed <= kCases; ++seed) {
    const std::string description = DescriptionMaker(static_cast<unsigned>(seed)).Make();
    SCOPED_TRACE("seed " + std::to_string(seed) + "\n" + description);
    Described d = Describe(description);
    ASSERT_EQ(d.status, stOk) << d.out;
    const std::string dir = TempPath("property");
    std::filesystem::create_directories(dir);
    ConsOptions options;
    options.SemanticCode = seed % 5 == 0 ? 0 : 1;
    testing::internal::CaptureStdout();
    const Status st = Construct(d.Lang(), dir, &options);
    testing::internal::GetCapturedStdout();
    if (st != stOk) {
      EXPECT_TRUE(IsRefusal(st)) << "status " << st;
      continue;
    }
    ++compiled;
    for (const std::string& cc : compilers) {
      const std::string command = "cd '" + dir + "' && " + cc +
                                  " -std=gnu11 -Werror=implicit-function-declaration -c _*.c 2> errors-" +
                                  cc + ".txt";
      EXPECT_EQ(std::system(command.c_str()), 0) << cc << ":\n" << ReadFile(dir + "/errors-" + cc + ".txt");
    }
  }
  // The maker is tuned so that most descriptions reach the compilers.
  EXPECT_GE(compiled, kCases / 2);
}

}  // namespace
}  // namespace parvolen
