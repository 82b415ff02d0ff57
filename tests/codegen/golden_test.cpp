// The generated error and lexer modules of a few languages, compared byte for byte with the files
// under golden/<case>/. PARVOLEN_UPDATE_GOLDEN=1 rewrites them instead: read every changed line
// against the generator's fragments before committing the result.
#include <gtest/gtest.h>

#include <functional>

#include "codegen/construct.h"
#include "codegen_fixture.h"

namespace parvolen {
namespace {

using namespace testing_codegen;

constexpr const char* kModuleFiles[] = {"_error.h", "_error.c", "_lexer.h", "_lexer.c"};

void ExpectGolden(const std::string& name, Language& lang, ConsOptions options) {
  const fs::path dir = ScratchDir();
  ASSERT_EQ(Construct(&lang, dir.string(), &options), stOk);
  const fs::path golden = SourceDir() / "golden" / name;
  const bool update = std::getenv("PARVOLEN_UPDATE_GOLDEN") != nullptr;
  if (update) fs::create_directories(golden);
  for (const char* file : kModuleFiles) {
    const std::string got = ReadFile(dir / file);
    if (update) {
      WriteFile(golden / file, got);
      continue;
    }
    ASSERT_TRUE(fs::exists(golden / file)) << golden / file;
    EXPECT_EQ(got, ReadFile(golden / file)) << name << "/" << file;
  }
  // The parser module is compared by parser_golden_test.cpp.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 6);
}

// No terminals, no values, no lines counted: the smallest files.
TEST(Golden, Bare) {
  Language lang;
  ConsOptions options;
  options.TrackLines = 0;
  ExpectGolden("bare", lang, options);
}

// Numbers only, an end-of-input terminal, operators with prefix chains, FetchVal of a plain int.
TEST(Golden, Calc) {
  Language lang;
  LangBuilder(lang)
      .Terminals({"num", "plus", "minus", "times", "lt", "le", "shl eq", "lparen", "rparen", "end of file"})
      .Num("num")
      .Eof("end of file")
      .Symbols({"plus = +", "minus = -", "times = *", "le = <=", "lt = <", "shl eq = <<=", "lparen = (",
                "rparen = )"})
      .SomeInstruction();
  lang.StackSize = 10;
  ConsOptions options;
  options.SemanticCode = 1;
  ExpectGolden("calc", lang, options);
}

// Every value kind, separate delimiters, a few keywords (linear lookup), quote and backslash symbols.
TEST(Golden, Rich) {
  Language lang;
  LangBuilder(lang)
      .Terminals({"id", "num", "chr", "str", "kw if", "kw then", "quote", "dquote", "bslash", "assign", "colon"})
      .Id("id")
      .Num("num")
      .Chars("chr", '`')
      .Strings("str", '\'')
      .Keywords({"kw if = if", "kw then = Then", "kw if = when"})
      .Symbols({"quote = '", "dquote = \"", "bslash = \\", "assign = :=", "colon = :"})
      .SomeInstruction();
  lang.StackSize = 4;
  ConsOptions options;
  options.SemanticCode = 1;
  ExpectGolden("rich", lang, options);
}

// Shared delimiter, values ignored, 20 keywords (binary lookup, listed out of order), case kept.
TEST(Golden, SharedDelimiterBinaryKeywords) {
  Language lang;
  LangBuilder(lang)
      .Terminals({"id", "chr", "str", "kw", "eoi"})
      .Id("id")
      .Chars("chr", '\'')
      .Strings("str", '\'')
      .Eof("eoi")
      .Keywords({"kw = while", "kw = and", "kw = begin", "kw = case", "kw = do", "kw = else", "kw = end",
                 "kw = for", "kw = goto", "kw = if", "kw = in", "kw = mod", "kw = nil", "kw = not", "kw = of",
                 "kw = or", "kw = then", "kw = to", "kw = until", "kw = var"});
  lang.CaseSensitive = 1;
  lang.IgnoreValues = 1;
  ConsOptions options;
  options.SemanticCode = 1;
  ExpectGolden("shared", lang, options);
}

}  // namespace
}  // namespace parvolen
