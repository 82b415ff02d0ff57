// A set of strings of at most one terminal as bits by terminal number, bit 0 standing for λ:
// the form of the k = 1 lookahead sets where the terminals are numbered below 128. Joining,
// growing and counting take two words instead of a sorted merge, and no allocation.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace parvolen {

class TermBits {
 public:
  static constexpr std::int32_t kLimit = 128;  // terminals 0 to 127

  [[nodiscard]] std::size_t size() const {
    return static_cast<std::size_t>(std::popcount(words_[0]) + std::popcount(words_[1]));
  }
  [[nodiscard]] bool Has(std::int32_t t) const {
    return t >= 0 && t < kLimit && (words_[static_cast<std::size_t>(t / 64)] >> (t % 64) & 1U) != 0;
  }
  // 0 <= t < kLimit.
  void Add(std::int32_t t) { words_[static_cast<std::size_t>(t / 64)] |= std::uint64_t{1} << (t % 64); }
  void DropLambda() { words_[0] &= ~std::uint64_t{1}; }
  void Clear() { words_ = {}; }
  // Adds the terminals of `more`; true when one of them was new.
  bool Merge(const TermBits& more) {
    const std::uint64_t grew = (more.words_[0] & ~words_[0]) | (more.words_[1] & ~words_[1]);
    words_[0] |= more.words_[0];
    words_[1] |= more.words_[1];
    return grew != 0;
  }
  // Calls f with each terminal (0 for λ), ascending.
  template <class F>
  void ForEach(F f) const {
    for (std::size_t i = 0; i < words_.size(); ++i)
      for (std::uint64_t w = words_[i]; w != 0; w &= w - 1)
        f(static_cast<std::int32_t>(i * 64 + static_cast<std::size_t>(std::countr_zero(w))));
  }

 private:
  std::array<std::uint64_t, 2> words_{};
};

}  // namespace parvolen
