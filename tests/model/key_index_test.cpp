#include "model/key_index.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <unordered_map>

namespace parvolen {
namespace {

// Random entries, look-ups, changes through Entry and Clears against a plain hash map, with keys
// from a small range (so that they meet again) and from the whole range (so that they collide
// in the block), across growth and across many rounds of Clear.
TEST(KeyIndex, AgreesWithAPlainMap) {
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    std::mt19937_64 random(seed);
    KeyIndex index;
    std::unordered_map<std::uint64_t, std::int32_t> model;
    const std::uint64_t range = seed % 2 == 0 ? 64 : 5000;
    for (int step = 0; step < 20000; ++step) {
      const std::uint64_t key = seed % 4 == 1 ? random() : random() % range;
      const auto value = static_cast<std::int32_t>(random() % 1000);
      switch (random() % 16) {
        case 0:
          if (random() % 8 == 0) {
            index.Clear();
            model.clear();
          }
          break;
        case 1:
        case 2: {
          std::int32_t& entry = index.Entry(key);
          const auto [at, fresh] = model.try_emplace(key, 0);
          ASSERT_EQ(entry, at->second) << "seed " << seed << " step " << step;
          entry = value;
          at->second = value;
          break;
        }
        case 3:
        case 4:
        case 5:
        case 6: {
          const auto [entry, fresh] = index.TryEmplace(key, value);
          const auto [at, modelFresh] = model.try_emplace(key, value);
          ASSERT_EQ(fresh, modelFresh) << "seed " << seed << " step " << step;
          ASSERT_EQ(entry, at->second) << "seed " << seed << " step " << step;
          break;
        }
        default: {
          const auto at = model.find(key);
          ASSERT_EQ(index.Find(key), at == model.end() ? -1 : at->second) << "seed " << seed << " step " << step;
        }
      }
      ASSERT_EQ(index.Size(), model.size());
    }
  }
}

}  // namespace
}  // namespace parvolen
