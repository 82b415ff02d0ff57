#include "model/text_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace parvolen {
namespace {

// The index follows the table it serves: later entries win, new entries are found, and a table
// that shrank or moved is indexed again.
TEST(TextIndex, FollowsItsTable) {
  std::vector<std::string> table{"", "x", "y", "x"};
  std::vector<std::string> other{"", "y"};
  TextIndex index;
  auto of = [](const std::vector<std::string>& t) { return [&t](std::int32_t i) { return std::string_view(t[i]); }; };
  EXPECT_EQ(index.Find("x", table.data(), 3, of(table)), 3);  // the highest equal entry
  EXPECT_EQ(index.Find("z", table.data(), 3, of(table)), 0);
  table.push_back("z");
  EXPECT_EQ(index.Find("z", table.data(), 4, of(table)), 4);
  EXPECT_EQ(index.Find("z", table.data(), 2, of(table)), 0);  // the count went down
  EXPECT_EQ(index.Find("x", table.data(), 2, of(table)), 1);
  EXPECT_EQ(index.Find("x", other.data(), 1, of(other)), 0);  // another block
  EXPECT_EQ(index.Find("y", other.data(), 1, of(other)), 1);
}

}  // namespace
}  // namespace parvolen
