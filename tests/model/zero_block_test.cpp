#include "model/zero_block.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "model/table.h"

namespace parvolen {
namespace {

struct Wide {
  std::int32_t Value[39];  // 156 bytes, the size of a production record: not a divisor of a page
};

// Blocks on both sides of the mapping threshold, of sizes that fill whole pages and that do not:
// each is zero throughout, aligned for its records, and keeps what is written to its first and
// last byte; a block allocated again in the same place is zero again.
TEST(ZeroBlock, ZeroedAlignedAndWritableOnBothSidesOfTheThreshold) {
  const std::size_t m = ZeroBlock::kMappedFrom;
  const struct {
    std::size_t bytes;
    bool mapped;
  } cases[] = {{1, false},     {156 * 4, false},           {m - 4, false},      {m, true},
               {m + 4, true},  {m + 156 * 10000, true},    {m * 3 + 156, true}, {m + 4096 * 1000, true}};
  for (const auto& c : cases) {
    ZeroBlock block;
    for (int round = 0; round < 2; ++round) {
      ASSERT_TRUE(block.Allocate(c.bytes)) << c.bytes;
#if defined(__unix__)
      EXPECT_EQ(block.Mapped(), c.mapped) << c.bytes;
#endif
      auto* bytes = static_cast<unsigned char*>(block.Data());
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes) % alignof(std::int32_t), 0u) << c.bytes;
      for (std::size_t i = 0; i < c.bytes; i += 4093) ASSERT_EQ(bytes[i], 0) << c.bytes << " at " << i;
      EXPECT_EQ(bytes[c.bytes - 1], 0) << c.bytes;
      bytes[0] = 1;
      bytes[c.bytes - 1] = 2;
      EXPECT_EQ(bytes[0], c.bytes == 1 ? 2 : 1) << c.bytes;
      EXPECT_EQ(bytes[c.bytes - 1], 2) << c.bytes;
    }
    ZeroBlock moved(std::move(block));
    EXPECT_EQ(block.Data(), nullptr);
    EXPECT_NE(moved.Data(), nullptr);
    moved.Release();
    EXPECT_EQ(moved.Data(), nullptr);
  }
  ZeroBlock refused;
  EXPECT_FALSE(refused.Allocate(SIZE_MAX - 4096));
  EXPECT_EQ(refused.Data(), nullptr);
}

#if defined(__unix__)
// A mapped table ends at an inaccessible page: writing the record past its capacity faults
// instead of spoiling whatever lies behind it. Under AddressSanitizer a write just before
// record 0 is reported as well.
TEST(ZeroBlockDeathTest, WritingOutsideAMappedTableFaults) {
  Table<Wide> tab;
  const auto capacity = static_cast<std::int32_t>(ZeroBlock::kMappedFrom / sizeof(Wide) + 20000);
  ASSERT_EQ(tab.Allocate(capacity), stOk);
  tab[capacity].Value[38] = 7;
  EXPECT_EQ(tab[capacity].Value[38], 7);
  EXPECT_DEATH(
      {
        volatile std::int32_t* past = &tab[capacity].Value[38] + 1;
        *past = 1;
      },
      "");
#ifdef PARVOLEN_ASAN
  EXPECT_DEATH(
      {
        volatile std::int32_t* before = &tab[0].Value[0] - 1;
        *before = 1;
      },
      "AddressSanitizer");
#endif
}
#endif

}  // namespace
}  // namespace parvolen
