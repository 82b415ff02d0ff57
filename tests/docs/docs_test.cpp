// Keeps the user documentation true to the program: the status reference quotes every message
// exactly, and every example in the guide and the README is a file that a test runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/status.h"

namespace parvolen {
namespace {

const std::filesystem::path kRoot = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(StatusReference, QuotesEveryMessageOnce) {
  const std::string doc = Slurp(kRoot / "docs/status-codes.md");
  ASSERT_FALSE(doc.empty());
  std::map<Status, std::string> headed;  // code -> message as the heading gives it
  for (const std::string& line : Lines(doc)) {
    if (!line.starts_with("### ")) continue;
    const std::size_t blank = line.find(' ', 4);
    ASSERT_NE(blank, std::string::npos) << line;
    const Status code = std::stoi(line.substr(4, blank - 4));
    std::string message;
    for (std::size_t i = blank + 1; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) ++i;  // markdown escape
      message += line[i];
    }
    EXPECT_TRUE(headed.emplace(code, message).second) << "code " << code << " has two headings";
  }
  for (Status code = 1; code <= kLastStatus; ++code) {
    ASSERT_TRUE(headed.contains(code)) << "code " << code << " is missing";
    EXPECT_EQ(headed[code], StatusMessage(code)) << "code " << code;
  }
  EXPECT_EQ(headed.size(), static_cast<std::size_t>(kLastStatus));
}

// A fenced block of a document and the marker comment right above it, if any.
struct Block {
  std::size_t line = 0;  // line number of the opening fence, from 1
  std::string info;      // the info string after the opening fence
  std::string marker;    // "example" or "excerpt", empty when unmarked
  std::string path;      // the file the marker names, from the repository root
  std::string text;      // the lines between the fences, each with its line end
};

std::vector<Block> Blocks(const std::string& doc) {
  const std::vector<std::string> lines = Lines(doc);
  std::vector<Block> blocks;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].starts_with("```")) continue;
    Block block;
    block.line = i + 1;
    block.info = lines[i].substr(3);
    if (i > 0) {
      for (std::string kind : {"example", "excerpt"}) {
        const std::string open = "<!-- " + kind + ": ";
        const std::string& above = lines[i - 1];
        if (above.starts_with(open) && above.ends_with(" -->")) {
          block.marker = kind;
          block.path = above.substr(open.size(), above.size() - open.size() - 4);
        }
      }
    }
    for (++i; i < lines.size() && !lines[i].starts_with("```"); ++i) block.text += lines[i] + "\n";
    blocks.push_back(block);
  }
  return blocks;
}

// Every block is a file the tests run (example), a run of whole lines of one (excerpt), a shell
// session that tests/docs/check_sessions.sh replays (console), or commands and plain text.
void CheckExamples(const std::string& document) {
  const std::string doc = Slurp(kRoot / document);
  ASSERT_FALSE(doc.empty()) << document;
  for (const Block& block : Blocks(doc)) {
    const std::string where = document + ":" + std::to_string(block.line);
    if (block.marker.empty()) {
      EXPECT_TRUE(block.info == "console" || block.info == "sh" || block.info == "text")
          << where << ": a block with no example marker";
      continue;
    }
    EXPECT_TRUE(block.path.starts_with("tests/")) << where << ": examples live under tests/";
    const std::string file = Slurp(kRoot / block.path);
    ASSERT_FALSE(file.empty()) << where << ": cannot read " << block.path;
    if (block.marker == "example") {
      EXPECT_EQ(block.text, file) << where << ": differs from " << block.path;
    } else {
      const bool whole_lines = file.starts_with(block.text) || file.find("\n" + block.text) != std::string::npos;
      EXPECT_TRUE(whole_lines) << where << ": not a run of lines of " << block.path;
    }
  }
}

TEST(GuideExamples, AreFilesThatTheTestsRun) { CheckExamples("docs/guide.md"); }

TEST(ReadmeExamples, AreFilesThatTheTestsRun) { CheckExamples("README.md"); }

}  // namespace
}  // namespace parvolen
