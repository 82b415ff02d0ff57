#include "codegen/classic/writer_module.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "codegen/shared/code_writer.h"
#include "model/symbol_tables.h"
#include "support/describe.h"

namespace parvolen {
namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(ConOutFn, MissingRecordFileOrTerminal) {
  Language lang;
  lang.OutTerms = 1;
  std::int32_t n = 0;
  ASSERT_EQ(NewOutTerm(lang, "o", n), stOk);

  CodeWriter closed;
  CaptureStdout();
  EXPECT_EQ(ConOutFn(closed, nullptr, 1), stNotAllocated);
  EXPECT_EQ(ConOutFn(closed, &lang, 1), stNotOpen);
  EXPECT_EQ(GetCapturedStdout(), "\n *** ConOutFn ***\n\n *** ConOutFn ***\n");

  CodeWriter out;
  ASSERT_EQ(out.Open(TempPath("outfn")), stOk);
  EXPECT_EQ(ConOutFn(out, &lang, 0), stBadOutTermCode);
  EXPECT_EQ(ConOutFn(out, &lang, 2), stBadOutTermCode);
  EXPECT_EQ(ConOutFn(out, &lang, 1), stOk);
}

// A shape is the generated fprintf's format and goes in as it stands.
TEST(ConOutFn, ShapeInsertedUnchanged) {
  Language lang;
  lang.OutTerms = 1;
  std::int32_t n = 0;
  ASSERT_EQ(NewOutTerm(lang, "pct", n), stOk);
  lang.OutTermTab[1].Shape.Set("100%% \\\"done\\\"\\n");
  const std::string path = TempPath("outfn");
  CodeWriter out;
  ASSERT_EQ(out.Open(path), stOk);
  ASSERT_EQ(ConOutFn(out, &lang, 1), stOk);
  ASSERT_EQ(out.Close(), stOk);
  EXPECT_EQ(ReadFile(path),
            "/* OutTerm_pct: output terminal `pct' handling function */\n\n"
            "ErrCode OutTerm_pct(void) {\n"
            "\tif  ( fprintf(outf,\"100%% \\\"done\\\"\\n\") < 0 )\n\t\treturn\tecWrite;\n"
            "\treturn\tecOk;\n}\n\n");
}

// The output delimiters are escaped into the printers' formats.
TEST(ConsWriter, PrintersUseTheOutputDelimiters) {
  Language lang;
  lang.OutTerms = 1;
  std::int32_t n = 0;
  ASSERT_EQ(NewOutTerm(lang, "o", n), stOk);
  lang.OutStrDelim = '<';
  lang.OutCharDelim = '\\';
  ConsOptions options;
  options.OutputUsed = 1;
  const std::string dir = TempPath("writer");
  std::filesystem::create_directories(dir);
  ASSERT_EQ(ConsWriter(lang, dir, options), stOk);
  const std::string source = ReadFile(dir + "/_writer.c");
  EXPECT_NE(source.find("\tif  ( fprintf(outf,\"<%s<\",s) < 0 )\n"), std::string::npos);
  EXPECT_NE(source.find("\tif  ( fprintf(outf,\"\\\\%c\\\\\",c) < 0 )\n"), std::string::npos);
  EXPECT_EQ(source.find("OutSpaces"), std::string::npos);  // no spaces instruction
}

// A write that fails shows when "_writer.c" is closed: status 7.
TEST(ConsWriter, FailingCloseOfTheSource) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  Language lang;
  lang.OutTerms = 1;
  std::int32_t n = 0;
  ASSERT_EQ(NewOutTerm(lang, "o", n), stOk);
  const std::string dir = TempPath("writer");
  std::filesystem::create_directories(dir);
  std::filesystem::create_symlink("/dev/full", dir + "/_writer.c");
  ConsOptions options;
  EXPECT_EQ(ConsWriter(lang, dir, options), stCloseError);
  EXPECT_FALSE(ReadFile(dir + "/_writer.h").empty());
}

}  // namespace
}  // namespace parvolen
