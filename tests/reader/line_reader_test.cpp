// The line reader against a model of the rules its header states, on random files of letters,
// blanks, line ends, carriage returns and NUL bytes, with lines short and far longer than any
// buffer.
#include "reader/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace parvolen {
namespace {

struct ModelLine {
  std::string text;
  std::int64_t number;
  std::string indent;
  bool cut;
};

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// A line is the bytes up to the next line end; its text ends at its first NUL; an empty one ends
// the reading. After a line, whitespace is skipped: line ends count lines, the blanks after the
// last of them are the next line's indentation.
std::vector<ModelLine> Model(const std::string& bytes) {
  std::vector<ModelLine> lines;
  std::size_t pos = 0;
  std::int64_t number = 1;
  std::string indent;
  while (true) {
    const std::size_t end = std::min(bytes.find('\n', pos), bytes.size());
    const std::string run = bytes.substr(pos, end - pos);
    if (run.empty()) break;
    const std::size_t nul = run.find('\0');
    lines.push_back({run.substr(0, nul), number, indent, nul != std::string::npos});
    if (end == bytes.size()) break;
    pos = end + 1;
    ++number;
    indent.clear();
    for (; pos < bytes.size() && Blank(bytes[pos]); ++pos) {
      if (bytes[pos] == '\n') {
        ++number;
        indent.clear();
      } else {
        indent += bytes[pos];
      }
    }
  }
  return lines;
}

TEST(LineReader, FollowsTheLineRulesOnRandomFiles) {
  std::mt19937 rng(5);
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const std::string alphabet("ab \t\n\r\0", 7);
  for (int round = 0; round < 400; ++round) {
    std::string bytes;
    for (int n = pick(0, round % 50 == 0 ? 5000 : 60); n > 0; --n) {
      // Now and then a long run without a line end.
      if (pick(0, 200) == 0) bytes += std::string(static_cast<std::size_t>(pick(200, 3000)), 'x');
      bytes += alphabet[static_cast<std::size_t>(pick(0, 6))];
    }
    struct Close {
      void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Close> file(std::tmpfile());
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file.get()), bytes.size());
    std::rewind(file.get());
    LineReader reader(file.get());
    std::vector<ModelLine> read;
    for (std::string text; reader.Next(text);) read.push_back({text, reader.Number(), reader.Indent(), reader.Cut()});
    const std::vector<ModelLine> expected = Model(bytes);
    ASSERT_EQ(read.size(), expected.size()) << "round " << round;
    for (std::size_t i = 0; i < read.size(); ++i) {
      EXPECT_EQ(read[i].text, expected[i].text) << "round " << round << " line " << i;
      EXPECT_EQ(read[i].number, expected[i].number) << "round " << round << " line " << i;
      EXPECT_EQ(read[i].indent, expected[i].indent) << "round " << round << " line " << i;
      EXPECT_EQ(read[i].cut, expected[i].cut) << "round " << round << " line " << i;
    }
  }
}

}  // namespace
}  // namespace parvolen
