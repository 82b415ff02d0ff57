// The output that docs/inspect.md shows is real: each quoted block is a run of whole lines of
// a file under tests/ that the end-to-end cases compare with what parvolen-inspect prints.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "support/describe.h"

namespace parvolen {
namespace {

const std::filesystem::path kRoot = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();

TEST(InspectDocument, QuotesOnlyWhatTheTestsProduce) {
  const std::string doc = ReadFile((kRoot / "docs/inspect.md").string());
  ASSERT_FALSE(doc.empty());
  std::vector<std::string> lines;
  std::istringstream in(doc);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  int quoted = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].starts_with("```")) continue;
    const std::string& above = i > 0 ? lines[i - 1] : lines[i];
    const bool marked = above.starts_with("<!-- excerpt: ") && above.ends_with(" -->");
    const std::string where = "docs/inspect.md:" + std::to_string(i + 1);
    std::string block;
    const std::string info = lines[i].substr(3);
    for (++i; i < lines.size() && !lines[i].starts_with("```"); ++i) block += lines[i] + "\n";
    if (!marked) {
      EXPECT_EQ(info, "sh") << where << ": only commands go unquoted";
      continue;
    }
    ++quoted;
    const std::string path = above.substr(14, above.size() - 18);
    EXPECT_TRUE(path.starts_with("tests/")) << where;
    const std::string file = ReadFile((kRoot / path).string());
    EXPECT_TRUE(file.starts_with(block) || file.find("\n" + block) != std::string::npos)
        << where << ": not a run of lines of " << path;
  }
  EXPECT_GE(quoted, 8);
}

}  // namespace
}  // namespace parvolen
