// An index from 64-bit keys to non-negative entry numbers in one block of slots (open
// addressing, linear probing), for the hot lookups of the analysis where a node-based hash map
// would allocate once per entry. It only grows; Clear forgets every entry at once and keeps the
// block: a slot holds an entry only when it is stamped with the current round.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace parvolen {

class KeyIndex {
 public:
  // The entry of the key, or -1 when it has none (entries that are -1 cannot be told apart).
  [[nodiscard]] std::int32_t Find(std::uint64_t key) const {
    if (slots_.empty()) return -1;
    for (std::size_t i = Home(key);; i = (i + 1) & mask_) {
      const Slot& s = slots_[i];
      if (s.round != round_) return -1;
      if (s.key == key) return s.value;
    }
  }

  // The entry of the key and false when it is there; otherwise enters it with `value` and gives
  // that and true.
  std::pair<std::int32_t, bool> TryEmplace(std::uint64_t key, std::int32_t value) {
    if (2 * (size_ + 1) > slots_.size()) Grow();
    for (std::size_t i = Home(key);; i = (i + 1) & mask_) {
      Slot& s = slots_[i];
      if (s.round != round_) {
        s = {key, value, round_};
        ++size_;
        return {value, true};
      }
      if (s.key == key) return {s.value, false};
    }
  }

  // The entry of the key, made with the value 0 when it is new; the value may be changed
  // through the reference until the next entry is made.
  std::int32_t& Entry(std::uint64_t key) {
    if (2 * (size_ + 1) > slots_.size()) Grow();
    for (std::size_t i = Home(key);; i = (i + 1) & mask_) {
      Slot& s = slots_[i];
      if (s.round != round_) {
        s = {key, 0, round_};
        ++size_;
        return s.value;
      }
      if (s.key == key) return s.value;
    }
  }

  [[nodiscard]] std::size_t Size() const { return size_; }

  void Clear() {
    if (size_ == 0) return;
    size_ = 0;
    if (++round_ != 0) return;
    // The rounds wrapped: no stamp may look current by chance.
    for (Slot& s : slots_) s.round = 0;
    round_ = 1;
  }

 private:
  struct Slot {
    std::uint64_t key;
    std::int32_t value;
    std::uint32_t round;  // the round of Clear in which the entry was made; 0: never used
  };

  [[nodiscard]] std::size_t Home(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_) & mask_;
  }

  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    const std::size_t count = old.empty() ? 16 : 2 * old.size();
    slots_.assign(count, Slot{0, 0, 0});
    mask_ = count - 1;
    shift_ = 64;
    for (std::size_t c = count; c > 1; c >>= 1) --shift_;
    for (const Slot& s : old) {
      if (s.round != round_) continue;
      std::size_t i = Home(s.key);
      while (slots_[i].round == round_) i = (i + 1) & mask_;
      slots_[i] = s;
    }
  }

  std::vector<Slot> slots_;
  std::size_t size_ = 0;
  std::size_t mask_ = 0;
  unsigned shift_ = 64;
  std::uint32_t round_ = 1;
};

}  // namespace parvolen
