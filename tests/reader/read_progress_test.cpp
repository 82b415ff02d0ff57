#include <gtest/gtest.h>

#include <fstream>

#include "analysis/dump.h"
#include "analysis/trace.h"
#include "reader/reader.h"
#include "support/describe.h"

namespace parvolen {
namespace {

std::string WriteTemp(std::string_view text) {
  const std::string path = TempPath("progress");
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

TEST(ReadProgress, TellsTheHandledLinesAndWhereReadingStopped) {
  const std::string path = WriteTemp(
      "Title line\n[Language]\nName = X\n\n   StartingSymbol = S\n[Nonterminals]\nS\n[Productions]\nS ::= (a)\nS ::=\n");
  LanguagePool pool;
  ReadProgress progress;
  std::int32_t handle = 0;
  testing::internal::CaptureStdout();
  const Status st = ReadDescription(pool, path, "", handle, &progress);
  testing::internal::GetCapturedStdout();
  // Productions has no capacity: the first production line fails.
  EXPECT_EQ(st, stTooManyProductions);
  ASSERT_EQ(progress.Handled.size(), 4u);
  const std::int64_t numbers[] = {3, 4, 6, 8};
  const std::size_t rows[] = {1, 1, 3, 6};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(progress.Handled[i].Number, numbers[i]) << i;
    EXPECT_EQ(progress.Handled[i].Row, rows[i]) << i;
  }
  EXPECT_EQ(progress.Handled[1].Text, "StartingSymbol = S");
  EXPECT_EQ(progress.LastNumber, 8);
  EXPECT_EQ(progress.LastText, "S ::= (a)");
  EXPECT_FALSE(progress.LinesDone);
  std::remove(path.c_str());
}

TEST(ReadProgress, ChangesNothingThatTheProgramSees) {
  const std::string path = WriteTemp(
      "[Language]\nStartingSymbol = E\nEofName = eoi\nTerminals = 5\nNonterminals = 3\nProductions = 9\n"
      "Edges = 40\nViews = 90\nNodes = 40\n[Terminals]\nplus\nnum\neoi\n[Nonterminals]\nE\nT\n[Productions]\n"
      "E ::= [E](plus)[T]\nE ::= [T]\nT ::= (num)\n;\n");
  std::string dumps[2];
  std::string listings[2];
  std::string outs[2];
  for (int attached = 0; attached < 2; ++attached) {
    LanguagePool pool;
    ReadProgress progress;
    AnalysisTrace trace;
    progress.Trace = &trace;
    std::int32_t handle = 0;
    const std::string listing = TempPath("listing");
    testing::internal::CaptureStdout();
    const Status st = ReadDescription(pool, path, listing, handle, attached == 1 ? &progress : nullptr);
    outs[attached] = testing::internal::GetCapturedStdout();
    ASSERT_EQ(st, stOk);
    dumps[attached] = DumpLanguage(*pool.Record(handle));
    listings[attached] = ReadFile(listing);
    std::remove(listing.c_str());
    if (attached == 1) {
      EXPECT_TRUE(progress.LinesDone);
      EXPECT_EQ(progress.LastText, ";");
      EXPECT_EQ(pool.Record(handle)->Trace, &trace);
    }
  }
  EXPECT_EQ(dumps[0], dumps[1]);
  EXPECT_EQ(listings[0], listings[1]);
  EXPECT_EQ(outs[0], outs[1]);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace parvolen
