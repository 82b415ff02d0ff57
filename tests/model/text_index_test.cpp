#include "model/text_index.h"

#include <gtest/gtest.h>

#include <random>
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

namespace parvolen {
namespace {

// Against a plain model (the highest entry of 1..last with the text, by a scan) on a table that
// grows, shrinks and moves, with texts that repeat, differ in one byte, share their first
// eight bytes, or hold NUL bytes: every lookup agrees.
TEST(TextIndex, AgreesWithAScanOfTheTable) {
  std::mt19937 rng(11);
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const std::string alphabet("ab\0 ", 4);
  auto randomText = [&]() {
    std::string t = pick(0, 1) ? "common-prefix-" : "";
    for (int n = pick(0, 12); n > 0; --n) t += alphabet[static_cast<std::size_t>(pick(0, 3))];
    return t;
  };
  std::vector<std::string> blocks[2] = {{""}, {""}};
  TextIndex index;
  std::int32_t last = 0;
  int current = 0;
  for (int step = 0; step < 20000; ++step) {
    std::vector<std::string>& table = blocks[current];
    const int what = pick(0, 99);
    if (what < 40) {
      // Entries are only added at the end, with room kept so the block does not move.
      if (table.size() <= static_cast<std::size_t>(last) + 1) table.resize(static_cast<std::size_t>(last) + 2);
      // A repeat of an earlier entry now and then; the new entry's number is taken afterwards.
      std::string text = pick(0, 3) == 0 && last > 1 ? table[static_cast<std::size_t>(pick(1, last))] : randomText();
      table[static_cast<std::size_t>(++last)] = std::move(text);
    } else if (what == 40) {
      last = pick(0, last);  // the count went down
    } else if (what == 41) {
      current = 1 - current;  // another block
      blocks[current] = blocks[1 - current];
      continue;
    }
    const std::string probe = pick(0, 1) && last > 0 ? table[static_cast<std::size_t>(pick(1, last))] : randomText();
    std::int32_t expected = 0;
    for (std::int32_t i = 1; i <= last; ++i)
      if (table[static_cast<std::size_t>(i)] == probe) expected = i;
    const auto of = [&table](std::int32_t i) { return std::string_view(table[static_cast<std::size_t>(i)]); };
    ASSERT_EQ(index.Find(probe, &table, last, of), expected) << "step " << step;
  }
}

}  // namespace
}  // namespace parvolen
