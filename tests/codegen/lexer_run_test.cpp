// Generated lexers compiled with cc and clang (lexer_run.sh) and run over input files by the
// small driver lexer_driver.c: the terminals, values and error codes they produce.
#include <gtest/gtest.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "codegen/construct.h"
#include "codegen_fixture.h"

namespace parvolen {
namespace {

using namespace testing_codegen;

using Inputs = std::vector<std::pair<std::string, std::string>>;  // file name, contents

// Generates the modules of the language into a scratch directory; gives the directory.
fs::path Generate(Language& lang, int semanticCode = 1) {
  const fs::path dir = ScratchDir();
  ConsOptions options;
  options.SemanticCode = semanticCode;
  EXPECT_EQ(Construct(&lang, dir.string(), &options), stOk);
  return dir;
}

// Compiles the generated lexer and runs it over each input; gives the driver's output.
std::string RunLexer(const fs::path& dir, std::string_view valued, std::string_view end, const Inputs& inputs) {
  std::string command = "bash '" + (SourceDir() / "lexer_run.sh").string() + "' '" + dir.string() + "' '" +
                        std::string(valued) + "' '" + std::string(end) + "'";
  for (const auto& [name, text] : inputs) {
    WriteFile(dir / name, text);
    command += " '" + (dir / name).string() + "'";
  }
  std::string output;
  if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) output.append(buf, n);
    pclose(pipe);
  }
  return output;
}

TEST(LexerRun, NoValuesWithoutEndTerminal) {
  Language lang;
  LangBuilder(lang)
      .Terminals({"plus", "minus", "lparen", "rparen"})
      .Symbols({"plus = +", "minus = -", "lparen = (", "rparen = )"});
  const fs::path dir = Generate(lang);
  EXPECT_EQ(RunLexer(dir, "-", "-", {{"ok", "+ -\n( )\n"}, {"bad", "+\n$+"}}),
            "== ok\nplus\nminus\nlparen\nrparen\nerror: Cannot read file\nlines: 2\n"
            "== bad\nplus\nerror: Spelling error\nlines: 1\n");
}

TEST(LexerRun, NumbersWithEndTerminal) {
  Language lang;
  LangBuilder(lang).Terminals({"num", "times", "end of file"}).Num("num").Eof("end of file").Symbols({"times = *"}).SomeInstruction();
  const fs::path dir = Generate(lang);
  EXPECT_EQ(RunLexer(dir, "num", "end_of_file", {{"ok", "0 42*007\n\n"}, {"end", ""}}),
            "== ok\nnum int 0\nnum int 42\ntimes\nnum int 7\nend_of_file\nlines: 2\n"
            "== end\nend_of_file\nlines: 0\n");
  EXPECT_EQ(RunLexer(dir, "-", "end_of_file",
                     {{"max", std::string(255, '9') + "*"}, {"long", "1 " + std::string(256, '9')}}),
            "== max\nnum\ntimes\nend_of_file\nlines: 0\n"
            "== long\nnum\nerror: Value too long\nlines: 0\n");
}

TEST(LexerRun, CharacterConstants) {
  Language lang;
  LangBuilder(lang).Terminals({"chr"}).Chars("chr").SomeInstruction();
  const fs::path dir = Generate(lang);
  EXPECT_EQ(RunLexer(dir, "chr", "-", {{"ok", "'a' ' ' 'xy'"}}),
            "== ok\nchr char 'a'\nchr char ' '\nchr char 'x'\nerror: Cannot read file\nlines: 0\n");
}

TEST(LexerRun, StringConstantsStopAtTheValueLimit) {
  Language lang;
  LangBuilder(lang).Terminals({"str", "eoi"}).Strings("str").Eof("eoi").SomeInstruction();
  const fs::path dir = Generate(lang);
  const std::string max = "\"" + std::string(254, 's') + "\"";
  EXPECT_EQ(RunLexer(dir, "str", "eoi",
                     {{"ok", "\"abc\" \"\" \"a b\"\n"},
                      {"max", max},
                      {"long", "\"" + std::string(255, 's') + "\""},
                      {"open", "\"abc"}}),
            "== ok\nstr str \"abc\"\nstr str \"\"\nstr str \"a b\"\neoi\nlines: 1\n"
            "== max\nstr str \"" + std::string(254, 's') + "\"\neoi\nlines: 0\n"
            "== long\nerror: Value too long\nlines: 0\n"
            "== open\nerror: Value too long\nlines: 0\n");
}

TEST(LexerRun, IdentifiersAndKeywordsInUpperCase) {
  Language lang;
  LangBuilder(lang)
      .Terminals({"id", "kw if", "kw then", "eoi"})
      .Id("id")
      .Eof("eoi")
      .Keywords({"kw if = if", "kw then = then", "kw then = so"})
      .SomeInstruction();
  const fs::path dir = Generate(lang);
  EXPECT_EQ(RunLexer(dir, "id", "eoi",
                     {{"ok", "If x1 THEN so Iffy\n"},
                      {"max", std::string(255, 'a')},
                      {"long", std::string(256, 'a')}}),
            "== ok\nkw_if\nid str \"X1\"\nkw_then\nkw_then\nid str \"IFFY\"\neoi\nlines: 1\n"
            "== max\nid str \"" + std::string(255, 'A') + "\"\neoi\nlines: 0\n"
            "== long\nerror: Value too long\nlines: 0\n");
}

// Nineteen keywords: the linear lookup, which ignores case even in a case-sensitive language.
TEST(LexerRun, NineteenKeywordsMatchInAnyCase) {
  Language lang;
  LangBuilder(lang)
      .Terminals({"id", "kw if", "kw", "eoi"})
      .Id("id")
      .Eof("eoi")
      .Keywords({"kw if = if", "kw = and", "kw = begin", "kw = case", "kw = do", "kw = else", "kw = end",
                 "kw = for", "kw = goto", "kw = in", "kw = mod", "kw = nil", "kw = not", "kw = of", "kw = or",
                 "kw = then", "kw = to", "kw = until", "kw = var"});
  lang.CaseSensitive = 1;
  const fs::path dir = Generate(lang, 0);  // no FetchVal: the values are not looked at
  EXPECT_EQ(RunLexer(dir, "-", "eoi", {{"ok", "if IF iF var Var Foo"}}),
            "== ok\nkw_if\nkw_if\nkw_if\nkw\nkw\nid\neoi\nlines: 0\n");
}

// Twenty keywords listed out of order: the binary lookup finds every one, in its exact case only.
TEST(LexerRun, TwentyKeywordsMatchExactly) {
  Language lang;
  LangBuilder(lang)
      .Terminals({"id", "kw if", "kw", "eoi"})
      .Id("id")
      .Eof("eoi")
      .Keywords({"kw = while", "kw if = if", "kw = and", "kw = begin", "kw = case", "kw = do", "kw = else",
                 "kw = end", "kw = for", "kw = goto", "kw = in", "kw = mod", "kw = nil", "kw = not", "kw = of",
                 "kw = or", "kw = then", "kw = to", "kw = until", "kw = var"})
      .SomeInstruction();
  lang.CaseSensitive = 1;
  const fs::path dir = Generate(lang);
  EXPECT_EQ(RunLexer(dir, "id", "eoi",
                     {{"all", "while if and begin case do else end for goto in mod nil not of or then to until var"},
                      {"case", "if IF While"}}),
            "== all\nkw\nkw_if\nkw\nkw\nkw\nkw\nkw\nkw\nkw\nkw\nkw\nkw\nkw\nkw\nkw\nkw\nkw\nkw\nkw\nkw\neoi\nlines: 0\n"
            "== case\nkw_if\nid str \"IF\"\nid str \"While\"\neoi\nlines: 0\n");
}

TEST(LexerRun, SharedDelimiterDecidesByLength) {
  Language lang;
  LangBuilder(lang).Terminals({"chr", "str", "eoi"}).Chars("chr", '\'').Strings("str", '\'').Eof("eoi").SomeInstruction();
  const fs::path dir = Generate(lang);
  EXPECT_EQ(RunLexer(dir, "chr,str", "eoi", {{"ok", "'a' 'ab' ''"}}),
            "== ok\nchr char 'a'\nstr str \"ab\"\nstr str \"\"\neoi\nlines: 0\n");

  // With values ignored nothing declares FetchVal, and the lexer still classifies.
  Language quiet;
  LangBuilder(quiet).Terminals({"chr", "str", "eoi"}).Chars("chr", '\'').Strings("str", '\'').Eof("eoi");
  quiet.IgnoreValues = 1;
  const fs::path quietDir = Generate(quiet);
  EXPECT_EQ(RunLexer(quietDir, "-", "eoi", {{"ok", "'a' 'ab'"}}), "== ok\nchr\nstr\neoi\nlines: 0\n");
}

TEST(LexerRun, LongestSymbolWithFallback) {
  Language lang;
  LangBuilder(lang)
      .Terminals({"lt", "le", "ne", "shl eq", "assign", "quote", "dquote", "bslash", "bangs", "eoi"})
      .Eof("eoi")
      .Symbols({"lt = <", "le = <=", "ne = <>", "shl eq = <<=", "assign = :=", "quote = '", "dquote = \"",
                "bslash = \\", "bangs = !!!!!!!!!!!!!"});
  const fs::path dir = Generate(lang);
  EXPECT_EQ(RunLexer(dir, "-", "eoi",
                     {{"chain", "< <= <<= << <> <<<= <"},
                      {"quotes", "'\"\\ '"},
                      {"colon", ":= :"},
                      {"deep", "!!!!!!!!!!!!!"},
                      {"short", "!!!!!!!!!!!!"}}),
            "== chain\nlt\nle\nshl_eq\nlt\nlt\nne\nlt\nshl_eq\nlt\neoi\nlines: 0\n"
            "== quotes\nquote\ndquote\nbslash\nquote\neoi\nlines: 0\n"
            "== colon\nassign\nerror: Spelling error\nlines: 0\n"
            "== deep\nbangs\neoi\nlines: 0\n"
            "== short\nerror: Spelling error\nlines: 0\n");
}

// Symbols written in UTF-8: their bytes above 127 must match what fgetc gives.
TEST(LexerRun, SymbolsOfBytesAboveAsciiMatch) {
  Language lang;
  LangBuilder(lang)
      .Terminals({"arrow", "le", "lt", "times", "eoi"})
      .Eof("eoi")
      .Symbols({"arrow = \u2192", "le = \u2264", "lt = <", "times = \u00d7"});
  const fs::path dir = Generate(lang);
  EXPECT_EQ(RunLexer(dir, "-", "eoi", {{"ok", "\u2192 \u2264<\u00d7"}, {"bad", "\u2190"}}),
            "== ok\narrow\nle\nlt\ntimes\neoi\nlines: 0\n"
            "== bad\nerror: Spelling error\nlines: 0\n");
}

}  // namespace
}  // namespace parvolen
