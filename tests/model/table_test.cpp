#include "model/table.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace parvolen {
namespace {

struct Rec {
  std::int32_t Value;
};

// No capacity gives the table's own status, without allocating and without counting.
TEST(TableGrowth, NoCapacityGivesTheTablesOwnStatus) {
  for (const std::int32_t capacity : {0, -1, INT32_MIN}) {
    Table<Rec> tab;
    std::int32_t last = 0;
    std::int32_t number = -7;
    const TableGrowth grow{tab, capacity, last, stTooManyEdges};
    EXPECT_EQ(grow.Append(number), stTooManyEdges) << capacity;
    EXPECT_FALSE(tab.Exists());
    EXPECT_EQ(last, 0);
    EXPECT_EQ(number, -7);
  }
}

// Numbers 1..capacity in order; the block is allocated once, so entries made stay; a full table
// gives the status and leaves the count and the caller's number alone.
TEST(TableGrowth, NumbersUpToTheCapacityThenFull) {
  Table<Rec> tab;
  std::int32_t last = 0;
  const TableGrowth grow{tab, 2, last, stTooManySemInsts};
  std::int32_t number = 0;
  ASSERT_EQ(grow.Append(number), stOk);
  EXPECT_EQ(number, 1);
  tab[number].Value = 42;
  EXPECT_EQ(tab.Size(), 3u);
  ASSERT_EQ(grow.Append(number), stOk);
  EXPECT_EQ(number, 2);
  EXPECT_EQ(tab[1].Value, 42);
  EXPECT_EQ(grow.Room(), stTooManySemInsts);
  EXPECT_EQ(grow.Append(number), stTooManySemInsts);
  EXPECT_EQ(last, 2);
  EXPECT_EQ(number, 2);
}

}  // namespace
}  // namespace parvolen
