// A set of strings of at most one terminal as bits by terminal number, bit 0 standing for λ:
// the form of the k = 1 lookahead sets while the terminals are few enough to give every set
// its words. Joining, growing and counting take a few words each instead of a sorted merge.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace parvolen {

class TermBits {
 public:
  // The words a set of terminals up to `largest` takes.
  [[nodiscard]] static std::size_t WordsFor(std::int32_t largest) {
    return static_cast<std::size_t>(std::max(largest, 0)) / 64 + 1;
  }

  [[nodiscard]] std::size_t size() const {
    std::size_t count = 0;
    for (std::size_t i = 0; i < Words(); ++i) count += static_cast<std::size_t>(std::popcount(Word(i)));
    return count;
  }
  [[nodiscard]] bool Has(std::int32_t t) const {
    const auto at = static_cast<std::size_t>(t) / 64;
    return t >= 0 && at < Words() && (Word(at) >> (t % 64) & 1U) != 0;
  }
  // t must not be negative.
  void Add(std::int32_t t) {
    const auto at = static_cast<std::size_t>(t) / 64;
    Reach(at + 1);
    Word(at) |= std::uint64_t{1} << (t % 64);
  }
  void DropLambda() { near_[0] &= ~std::uint64_t{1}; }
  void Clear() {
    near_ = {};
    std::fill(far_.begin(), far_.end(), 0);
  }
  // Adds the terminals of `more`; true when one of them was new.
  bool Merge(const TermBits& more) {
    Reach(more.Words());
    std::uint64_t grew = 0;
    for (std::size_t i = 0; i < more.Words(); ++i) {
      grew |= more.Word(i) & ~Word(i);
      Word(i) |= more.Word(i);
    }
    return grew != 0;
  }
  // Calls f with each terminal (0 for λ), ascending.
  template <class F>
  void ForEach(F f) const {
    for (std::size_t i = 0; i < Words(); ++i)
      for (std::uint64_t w = Word(i); w != 0; w &= w - 1)
        f(static_cast<std::int32_t>(i * 64 + static_cast<std::size_t>(std::countr_zero(w))));
  }

 private:
  static constexpr std::size_t kNear = 2;  // words held without an allocation: terminals up to 127

  [[nodiscard]] std::size_t Words() const { return kNear + far_.size(); }
  [[nodiscard]] std::uint64_t Word(std::size_t i) const { return i < kNear ? near_[i] : far_[i - kNear]; }
  std::uint64_t& Word(std::size_t i) { return i < kNear ? near_[i] : far_[i - kNear]; }
  void Reach(std::size_t words) {
    if (words > Words()) far_.resize(words - kNear, 0);
  }

  std::array<std::uint64_t, kNear> near_{};
  std::vector<std::uint64_t> far_;  // the words after near_; missing ones are zero
};

}  // namespace parvolen
