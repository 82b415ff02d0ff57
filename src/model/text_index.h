// An index from texts to entry numbers over one text field of a table, kept beside the table so
// that finding a name or a production line costs one hash lookup instead of a scan of the table.
// The table stays the truth: the index follows its count and its block, adding the entries made
// since the last lookup and starting again when the block changed or the count went down.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace parvolen {

class TextIndex {
 public:
  // The highest entry of 1..last whose text equals `text`, or 0; textOf(i) is entry i's text,
  // which stays where it is while the block does.
  template <class TextOf>
  [[nodiscard]] std::int32_t Find(std::string_view text, const void* block, std::int32_t last, TextOf textOf) {
    if (block != block_ || last < indexed_) {
      entries_.clear();
      block_ = block;
      indexed_ = 0;
    }
    for (; indexed_ < last; ++indexed_) entries_[textOf(indexed_ + 1)] = indexed_ + 1;
    const auto found = entries_.find(text);
    return found == entries_.end() ? 0 : found->second;
  }

  // Forgets everything, for a table about to be released.
  void Clear() {
    entries_.clear();
    block_ = nullptr;
    indexed_ = 0;
  }

 private:
  std::unordered_map<std::string_view, std::int32_t> entries_;
  const void* block_ = nullptr;
  std::int32_t indexed_ = 0;
};

}  // namespace parvolen
