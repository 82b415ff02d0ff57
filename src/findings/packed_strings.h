// Terminal strings of at most k terminals, each packed into one 64-bit key, for the lookahead
// sets: the terminals first one first from the most significant bits down, `bits` bits each,
// unused places 0, and the length in the lowest three bits. The numeric order of the keys is
// the lexicographic order of the strings (a string before its extensions), as in StringSet,
// and a set is a sorted vector of distinct keys.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <iterator>
#include <optional>
#include <vector>

#include "findings/strings.h"

namespace parvolen {

using PackedSet = std::vector<std::uint64_t>;

class PackedShape {
 public:
  static constexpr std::int32_t kLengthBits = 3;

  // The shape for strings of at most k (1 to 5) terminals numbered 0 to `largest`; none when
  // they do not fit into the key (k times the bits of `largest` above 61).
  [[nodiscard]] static std::optional<PackedShape> For(std::int32_t k, std::int32_t largest) {
    if (k < 1 || k > 5 || largest < 0) return std::nullopt;
    const auto bits = std::max(1, static_cast<std::int32_t>(std::bit_width(static_cast<std::uint32_t>(largest))));
    if (k * bits > 64 - kLengthBits) return std::nullopt;
    return PackedShape(k, bits);
  }

  [[nodiscard]] static std::int32_t Length(std::uint64_t key) { return static_cast<std::int32_t>(key & 7U); }
  [[nodiscard]] std::int32_t Bits() const { return bits_; }

  [[nodiscard]] std::uint64_t Unit(std::int32_t term) const {
    return (static_cast<std::uint64_t>(term) << (64 - bits_)) | 1U;
  }
  // x followed by y, cut to k terminals.
  [[nodiscard]] std::uint64_t Join(std::uint64_t x, std::uint64_t y) const {
    const std::int32_t lx = Length(x);
    const std::int32_t length = std::min(lx + Length(y), k_);
    return (x & kTerms) | ((y & kTerms) >> (lx * bits_) & used_) | static_cast<std::uint64_t>(length);
  }
  // The first terminal of a non-empty string.
  [[nodiscard]] std::int32_t Head(std::uint64_t key) const { return static_cast<std::int32_t>(key >> (64 - bits_)); }

  [[nodiscard]] TermString Unpack(std::uint64_t key) const {
    TermString s(static_cast<std::size_t>(Length(key)));
    for (std::size_t i = 0; i < s.size(); ++i)
      s[i] = static_cast<std::int32_t>((key >> (64 - bits_ * static_cast<std::int32_t>(i + 1))) & mask_);
    return s;
  }
  // None when the string is longer than k or holds a terminal outside the shape.
  [[nodiscard]] std::optional<std::uint64_t> Pack(const TermString& s) const {
    if (s.size() > static_cast<std::size_t>(k_)) return std::nullopt;
    std::uint64_t key = s.size();
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (s[i] < 0 || static_cast<std::uint64_t>(s[i]) > mask_) return std::nullopt;
      key |= static_cast<std::uint64_t>(s[i]) << (64 - bits_ * static_cast<std::int32_t>(i + 1));
    }
    return key;
  }
  [[nodiscard]] std::optional<PackedSet> Pack(const StringSet& set) const {
    PackedSet keys;
    keys.reserve(set.size());
    for (const TermString& s : set) {
      const auto key = Pack(s);
      if (!key) return std::nullopt;
      keys.push_back(*key);
    }
    return keys;  // in order already
  }
  [[nodiscard]] StringSet Unpack(const PackedSet& keys) const {
    StringSet set;
    for (std::uint64_t key : keys) set.insert(set.end(), Unpack(key));
    return set;
  }

 private:
  static constexpr std::uint64_t kTerms = ~std::uint64_t{7};

  PackedShape(std::int32_t k, std::int32_t bits)
      : k_(k), bits_(bits), mask_((std::uint64_t{1} << bits) - 1), used_(~std::uint64_t{0} << (64 - k * bits)) {}

  std::int32_t k_;
  std::int32_t bits_;
  std::uint64_t mask_;  // of one terminal
  std::uint64_t used_;  // the places of the k terminals
};

// Sorts the keys and drops repeated ones. A concatenation gives a few ascending runs (one per
// string of the left side, mostly), which are merged rather than sorted.
inline void SettleKeys(PackedSet& keys) {
  constexpr std::size_t kMostMerged = 8;
  std::size_t runs = 1;
  for (std::size_t i = 1; i < keys.size() && runs <= kMostMerged; ++i) runs += keys[i] < keys[i - 1] ? 1 : 0;
  if (runs > kMostMerged) {
    std::sort(keys.begin(), keys.end());
  } else if (runs > 1) {
    auto end = std::is_sorted_until(keys.begin(), keys.end());
    while (end != keys.end()) {
      const auto next = std::is_sorted_until(end, keys.end());
      std::inplace_merge(keys.begin(), end, next);
      end = next;
    }
  }
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
}

// Adds `more` (sorted, distinct) to target; whether it grew.
inline bool GrowKeys(PackedSet& target, const PackedSet& more) {
  if (more.size() * 8 < target.size()) {  // a few: each where it belongs
    bool grew = false;
    for (std::uint64_t key : more) {
      const auto at = std::lower_bound(target.begin(), target.end(), key);
      if (at != target.end() && *at == key) continue;
      target.insert(at, key);
      grew = true;
    }
    return grew;
  }
  if (std::includes(target.begin(), target.end(), more.begin(), more.end())) return false;
  PackedSet merged;
  merged.reserve(target.size() + more.size());
  std::set_union(target.begin(), target.end(), more.begin(), more.end(), std::back_inserter(merged));
  target = std::move(merged);
  return true;
}

}  // namespace parvolen
