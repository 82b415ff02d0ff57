#include "codegen/construct.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "codegen/shared/code_writer.h"
#include "codegen/classic/lexer_module.h"
#include "codegen/classic/lexer_words.h"
#include "codegen_fixture.h"

namespace parvolen {
namespace {

using namespace testing_codegen;

std::set<std::string> FilesIn(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

// The ErrCode members a file names, in order of appearance.
std::vector<std::string> ErrorMembers(const std::string& text) {
  std::vector<std::string> members;
  const std::regex member("\\bec[A-Z][A-Za-z]*");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), member); it != std::sregex_iterator(); ++it)
    members.push_back(it->str());
  return members;
}

TEST(ConsPrepare, CountsValueKindsAndOpcodes) {
  Language lang;
  ConsOptions options;
  options.OpcodeCount[3] = 9;
  EXPECT_EQ(ConsPrepare(lang, options), stOk);
  EXPECT_EQ(options.ValueKinds, 0);
  EXPECT_EQ(options.OpcodeCount[3], 0);

  LangBuilder(lang).Terminals({"id", "num"}).Id("id").Num("num");
  lang.UseChars = 1;
  lang.UseStrings = 1;
  lang.SemInsts = 3;
  ASSERT_EQ(lang.SemInstTab.Allocate(3), stOk);
  lang.SemInstTab[1].Opcode = 2;
  lang.SemInstTab[2].Opcode = 2;
  lang.SemInstTab[3].Opcode = 14;
  lang.LastSemInst = 3;
  EXPECT_EQ(ConsPrepare(lang, options), stOk);
  EXPECT_EQ(options.ValueKinds, 4);
  EXPECT_EQ(options.OpcodeCount[2], 2);
  EXPECT_EQ(options.OpcodeCount[14], 1);
  EXPECT_EQ(options.OpcodeCount[0], 0);
}

TEST(Construct, MissingArgumentsAreReported) {
  Language lang;
  ConsOptions options;
  testing::internal::CaptureStdout();
  EXPECT_EQ(Construct(nullptr, std::string_view(), &options), stNotAllocated);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "*** Construct ***\n Language handle\n Directory\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(Construct(&lang, "x", nullptr), stNotAllocated);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "*** Construct ***\n Options\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(ConsLex(lang, std::string_view(), options), stNotAllocated);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "*** ConsLex ***\n Directory\n");
}

TEST(Construct, WritesTheErrorLexerAndParserModules) {
  Language lang;
  LangBuilder(lang).Terminals({"num"}).Num("num");
  ConsOptions options;
  options.PlainIntValue = 0;
  const fs::path dir = ScratchDir();
  EXPECT_EQ(Construct(&lang, dir.string() + "/", &options), stOk);
  // Neither actions nor output terminals: exactly six files.
  EXPECT_EQ(FilesIn(dir), (std::set<std::string>{"_error.c", "_error.h", "_lexer.c", "_lexer.h", "_parser.c",
                                                 "_parser.h"}));
  EXPECT_EQ(options.PlainIntValue, 1);
  EXPECT_EQ(options.ValueKinds, 1);

  // Another value kind: Value is no longer a plain int.
  lang.UseChars = 1;
  EXPECT_EQ(Construct(&lang, dir.string(), &options), stOk);
  EXPECT_EQ(options.PlainIntValue, 0);
}

TEST(Construct, StopsAtTheFirstFailure) {
  Language lang;
  ConsOptions options;
  const fs::path dir = ScratchDir();
  EXPECT_EQ(Construct(&lang, (dir / "missing").string(), &options), stCannotCreate);
  // 246 characters of directory: "_error.h" and the separator make 255, "_lexer.h" as well;
  // 247 do not fit, and nothing is created.
  EXPECT_EQ(Construct(&lang, std::string(247, 'd'), &options), stTargetNameTooLong);
  EXPECT_TRUE(FilesIn(dir).empty());
}

TEST(ErrorModule, MembersFollowTheValueKindsAndTheStack) {
  struct Case {
    const char* name;
    void (*setup)(Language&);
    std::vector<std::string> members;
  };
  const std::vector<std::string> base = {"ecOk", "ecOpen", "ecCreate", "ecRead", "ecWrite", "ecClose", "ecBadChar",
                                         "ecSyntax"};
  auto with = [&](std::initializer_list<std::string> extra, std::size_t at) {
    std::vector<std::string> m = base;
    m.insert(m.begin() + static_cast<long>(at), extra);
    m.push_back("ecFinish");
    return m;
  };
  std::vector<std::string> ids = with({"ecValLong", "ecNoVal"}, 8);
  ids.insert(ids.begin() + 1, "ecNoMem");
  const Case cases[] = {
      {"stack without values", [](Language& l) { l.StackSize = 5; }, with({}, 8)},
      {"characters only", [](Language& l) { l.UseChars = 1; }, with({"ecValLong", "ecNoVal"}, 8)},
      {"numbers and a stack",
       [](Language& l) {
         l.NumTerm = 1;
         l.StackSize = 1;
       },
       with({"ecValLong", "ecNoVal", "ecNotNum", "ecStkOvr", "ecNoStk"}, 8)},
      {"identifiers", [](Language& l) { l.IdTerm = 1; }, ids},
  };
  for (const Case& c : cases) {
    Language lang;
    c.setup(lang);
    ConsOptions options;
    const fs::path dir = ScratchDir();
    ASSERT_EQ(Construct(&lang, dir.string(), &options), stOk) << c.name;
    EXPECT_EQ(ErrorMembers(ReadFile(dir / "_error.h")), c.members) << c.name;
    std::vector<std::string> inSource = ErrorMembers(ReadFile(dir / "_error.c"));
    EXPECT_EQ(inSource, c.members) << c.name;
  }
}

TEST(LexerWords, KeywordOfAnInvalidTerminal) {
  Language lang;
  LangBuilder(lang).Terminals({"id"}).Id("id").Keywords({"id = if"});
  lang.KwdTab[1].T = 2;
  CodeWriter out;
  ASSERT_EQ(out.Open((ScratchDir() / "kw.c").string()), stOk);
  EXPECT_EQ(ConKwdTable(lang, out), stBadTerminalCode);
}

TEST(LexerWords, DeepSymbolsAreIndentedAndBuffered) {
  // When every prefix is a symbol, the switch never looks more than one character ahead.
  Language chain;
  LangBuilder builder(chain);
  for (int n = 1; n <= 16; ++n) {
    const std::string name = "t" + std::to_string(n);
    builder.Terminals({name}).Symbols({name + " = " + std::string(static_cast<std::size_t>(n), '<')});
  }
  EXPECT_EQ(SymbLookahead(chain), 1);

  const std::string shape(16, '=');

  Language deep;
  LangBuilder(deep).Terminals({"long"}).Symbols({"long = " + shape});
  EXPECT_EQ(SymbLookahead(deep), 15);
  const fs::path path = ScratchDir() / "switch.c";
  {
    CodeWriter out;
    ASSERT_EQ(out.Open(path.string()), stOk);
    ASSERT_EQ(ConSymbSwitch(deep, out, deep.SymbRoot, 1, 0, 0), stOk);
    ASSERT_EQ(out.Close(), stOk);
  }
  const std::string text = ReadFile(path);
  EXPECT_NE(text.find(std::string(31, '\t') + "if  ( ( e = CharLook(&c,15) ) != ecOk )\n"), std::string::npos);
  EXPECT_NE(text.find(std::string(33, '\t') + "*T = Term_long;\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '{'), 16);
  EXPECT_EQ(std::count(text.begin(), text.end(), '}'), 16);

  // The character buffer of the generated lexer holds the deepest lookahead.
  ConsOptions options;
  const fs::path dir = ScratchDir();
  ASSERT_EQ(Construct(&deep, dir.string(), &options), stOk);
  EXPECT_NE(ReadFile(dir / "_lexer.c").find("#define\tInBufSize\t15\n"), std::string::npos);
}

}  // namespace
}  // namespace parvolen
