// A table of records addressed by number: one zeroed block of capacity + 1 records,
// allocated once and never moved or enlarged, so the address of a field (a slot or link)
// stays valid while further entries are made. Record 0 is never an entry.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <type_traits>

#include "base/memory_tuning.h"
#include "base/status.h"

namespace parvolen {

template <class Record>
class Table {
  static_assert(std::is_trivially_copyable_v<Record> && std::is_trivially_default_constructible_v<Record>,
                "table records are plain fixed-width structures");

 public:
  [[nodiscard]] bool Exists() const { return block_ != nullptr; }

  // Allocates capacity + 1 zeroed records; stNoMem when the block cannot be had.
  // The zeroed block comes from calloc, so a large capacity costs no memory until used (a large
  // block may be backed by large pages, so at most one of those past the last entry used).
  [[nodiscard]] Status Allocate(std::int32_t capacity) {
    if (capacity < 0) capacity = 0;
    const std::size_t count = static_cast<std::size_t>(capacity) + 1;
    void* raw = std::calloc(count, sizeof(Record));
    if (raw == nullptr) return stNoMem;
    PreferLargePages(raw, count * sizeof(Record));
    block_.reset(static_cast<Record*>(raw));
    size_ = count;
    return stOk;
  }

  void Release() {
    block_.reset();
    size_ = 0;
  }

  // Number of records in the block (capacity + 1), 0 when absent.
  [[nodiscard]] std::size_t Size() const { return size_; }

  Record& operator[](std::int32_t index) { return block_.get()[index]; }
  const Record& operator[](std::int32_t index) const { return block_.get()[index]; }

 private:
  struct FreeBlock {
    void operator()(Record* p) const { std::free(p); }
  };
  std::unique_ptr<Record, FreeBlock> block_;
  std::size_t size_ = 0;
};

// How a table of entries numbered 1..last grows: its block is allocated on first use with the
// table's capacity, and each new entry takes the next number. Each table has its own "Too many"
// status, given for a capacity of 0 or less and for a full table.
//
//   const TableGrowth grow{lang.EdgeTab, lang.Edges, lang.LastEdge, stTooManyEdges};
//   if (Status st = grow.Append(edge); st != stOk) return st;
//
// A table that first searches its entries for a duplicate calls Ready, searches, then Take.
template <class Record>
struct TableGrowth {
  Table<Record>& tab;
  std::int32_t capacity;
  std::int32_t& last;
  Status tooMany;

  // Allocates the block when there is none yet: tooMany without capacity, stNoMem without memory.
  [[nodiscard]] Status Ready() const {
    if (tab.Exists()) return stOk;
    if (capacity <= 0) return tooMany;
    return tab.Allocate(capacity);
  }

  // tooMany when every number up to the capacity is taken.
  [[nodiscard]] Status Room() const { return last >= capacity ? tooMany : stOk; }

  // Room, then the next number becomes the last entry's.
  [[nodiscard]] Status Take(std::int32_t& number) const {
    if (Status st = Room(); st != stOk) return st;
    number = ++last;
    return stOk;
  }

  // Ready, then Take.
  [[nodiscard]] Status Append(std::int32_t& number) const {
    if (Status st = Ready(); st != stOk) return st;
    return Take(number);
  }
};

// Lets `TableGrowth{tab, capacity, last, status}` name its record type on compilers that do not
// yet deduce it for aggregates.
template <class Record>
TableGrowth(Table<Record>&, std::int32_t, std::int32_t&, Status) -> TableGrowth<Record>;

}  // namespace parvolen
