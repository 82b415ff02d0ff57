// A fixed field keeps the first N - 1 bytes of a text up to its first NUL, for short fields
// (names) and long ones (production lines) alike, and Cut gives what Set keeps.
#include "model/fixed_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace parvolen {
namespace {

template <std::size_t N>
void CheckAgainstModel(std::mt19937& rng) {
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int n = pick(0, static_cast<int>(N) + 10); n > 0; --n) text += pick(0, 30) == 0 ? '\0' : 'a' + pick(0, 25);
    std::string kept = text.substr(0, std::min(text.size(), N - 1));
    kept = kept.substr(0, kept.find('\0'));
    FixedText<N> field;
    std::memset(field.Chars, 'x', N);
    field.Set(text);
    EXPECT_EQ(field.View(), kept);
    EXPECT_EQ(FixedText<N>::Cut(text), kept);
    for (std::size_t i = kept.size(); i < N; ++i) ASSERT_EQ(field.Chars[i], '\0') << "the rest is zeroed";
  }
}

TEST(FixedText, KeepsTheTextUpToItsFieldAndFirstNul) {
  std::mt19937 rng(3);
  CheckAgainstModel<26>(rng);
  CheckAgainstModel<152>(rng);
}

}  // namespace
}  // namespace parvolen
