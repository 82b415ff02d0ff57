// Index-checked reading of the tries, decision lists and views of a record, for the generators
// of parsing routines: every index is checked against its table, so that a corrupt record gives
// a status instead of a read outside a table.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

class TrieReader {
 public:
  explicit TrieReader(const Language& lang) : lang_(lang) {}
  // The identifiers it hands out point into the reader itself.
  TrieReader(const TrieReader&) = delete;
  TrieReader& operator=(const TrieReader&) = delete;

  [[nodiscard]] const Language& Lang() const { return lang_; }
  [[nodiscard]] Status EdgeAt(std::int32_t index, const EdgeRec*& edge) const;
  [[nodiscard]] Status NodeAt(std::int32_t index, const NodeRec*& node) const;
  [[nodiscard]] Status ViewAt(std::int32_t index, const ViewRec*& view) const;
  // The identifier of what an edge of this type and code stands for. Each identifier is made
  // once per reader and stays valid as long as the reader (and the unchanged record) lives.
  [[nodiscard]] Status NameOf(std::int32_t whoAmI, std::int32_t code, std::string_view& ident) const;

 private:
  // The identifiers of one table, made on first use: the name itself where it holds no blank,
  // else the copy with underscores kept in `made` (each in a place of its own that never moves).
  struct Idents {
    std::vector<std::string_view> views;  // by code; empty while not made
    std::vector<std::unique_ptr<std::string>> made;
  };
  template <class Record>
  // The code is checked: 1 <= code <= last.
  [[nodiscard]] std::string_view IdentOf(Idents& idents, const Table<Record>& table, std::int32_t code,
                                         std::int32_t last) const;

  const Language& lang_;
  mutable std::array<Idents, 4> idents_;  // terminals, nonterminals, actions, output terminals
};

}  // namespace parvolen
