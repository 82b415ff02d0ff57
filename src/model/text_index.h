// An index from texts to entry numbers over one text field of a table, kept beside the table so
// that finding a name or a production line costs one hash lookup instead of a scan of the table.
// The table stays the truth: the index follows its count and its block, adding the entries made
// since the last lookup and starting again when the block changed or the count went down.
// The index holds entry numbers only (open addressing, linear probing, one block of slots), and
// compares texts by reading them from the table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace parvolen {

class TextIndex {
 public:
  // The highest entry of 1..last whose text equals `text`, or 0; textOf(i) is entry i's text,
  // which stays where it is while the block does.
  template <class TextOf>
  [[nodiscard]] std::int32_t Find(std::string_view text, const void* block, std::int32_t last, TextOf textOf) {
    if (block != block_ || last < indexed_) {
      Clear();
      block_ = block;
    }
    for (; indexed_ < last; ++indexed_) Enter(indexed_ + 1, textOf);
    if (size_ == 0) return 0;
    const std::uint32_t hash = Hash(text);
    for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
      const Slot& s = slots_[i];
      if (s.entry == 0) return 0;
      if (s.hash == hash && textOf(s.entry) == text) return s.entry;
    }
  }

  // Forgets everything, for a table about to be released.
  void Clear() {
    slots_.clear();
    size_ = 0;
    mask_ = 0;
    block_ = nullptr;
    indexed_ = 0;
  }

 private:
  struct Slot {
    std::uint32_t hash;
    std::int32_t entry;  // 0: free
  };

  // Eight bytes at a time; the low bits, which pick the slot, depend on every byte.
  [[nodiscard]] static std::uint32_t Hash(std::string_view text) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ text.size();
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, text.data() + i, 8);
      h = (h ^ word) * 0xFF51AFD7ED558CCDull;
      h ^= h >> 32;
    }
    std::uint64_t tail = 0;
    for (; i < text.size(); ++i) tail = (tail << 8) | static_cast<unsigned char>(text[i]);
    h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
    return static_cast<std::uint32_t>(h ^ (h >> 29) ^ (h >> 47));
  }

  // Enters entry e; an earlier entry with the same text gives way to it.
  template <class TextOf>
  void Enter(std::int32_t e, TextOf& textOf) {
    if (2 * (size_ + 1) > slots_.size()) Grow();
    const std::string_view text = textOf(e);
    const std::uint32_t hash = Hash(text);
    for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
      Slot& s = slots_[i];
      if (s.entry == 0) {
        s = {hash, e};
        ++size_;
        return;
      }
      if (s.hash == hash && textOf(s.entry) == text) {
        s.entry = e;
        return;
      }
    }
  }

  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    const std::size_t count = old.empty() ? 64 : 2 * old.size();
    slots_.assign(count, Slot{0, 0});
    mask_ = count - 1;
    for (const Slot& s : old) {
      if (s.entry == 0) continue;
      std::size_t i = s.hash & mask_;
      while (slots_[i].entry != 0) i = (i + 1) & mask_;
      slots_[i] = s;
    }
  }

  std::vector<Slot> slots_;
  std::size_t size_ = 0;
  std::size_t mask_ = 0;
  const void* block_ = nullptr;
  std::int32_t indexed_ = 0;
};

}  // namespace parvolen
