// Lists of numbers by key (a nonterminal's productions, an owner's occurrences) in one block
// instead of a vector per key: the entries are first counted by key, then placed in the order
// they are added. Two passes over the same entries, and two allocations in all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace parvolen {

class FlatLists {
 public:
  FlatLists() = default;
  // Lists for keys 0 .. keys - 1, all empty until counted and placed.
  explicit FlatLists(std::size_t keys) : from_(keys + 2, 0) {}

  [[nodiscard]] std::size_t Keys() const { return from_.size() < 2 ? 0 : from_.size() - 2; }

  // Counting pass: one more entry for the key (key < Keys()).
  void Count(std::size_t key) { ++from_[key + 2]; }
  // Between the passes: makes room for the entries counted.
  void Place() {
    for (std::size_t i = 1; i < from_.size(); ++i) from_[i] += from_[i - 1];
    items_.resize(from_.empty() ? 0 : from_.back());
  }
  // Placing pass: the entries counted, by key in the order of counting.
  void Add(std::size_t key, std::int32_t item) { items_[from_[key + 1]++] = item; }

  // The list of the key once all entries are placed; empty for a key out of range.
  [[nodiscard]] std::span<const std::int32_t> operator[](std::size_t key) const {
    if (key >= Keys()) return {};
    return std::span(items_).subspan(from_[key], from_[key + 1] - from_[key]);
  }
  // Where the key's list starts in the block of all entries (key <= Keys()).
  [[nodiscard]] std::size_t Start(std::size_t key) const { return from_[key]; }
  [[nodiscard]] std::size_t Size() const { return items_.size(); }

 private:
  // While counting, the count of key k at k + 2; while placing, the next place of key k at k + 1;
  // then the start of key k at k.
  std::vector<std::size_t> from_;
  std::vector<std::int32_t> items_;
};

}  // namespace parvolen
