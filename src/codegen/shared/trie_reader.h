// Index-checked reading of the tries, decision lists and views of a record, for the generators
// of parsing routines: every index is checked against its table, so that a corrupt record gives
// a status instead of a read outside a table.
#pragma once

#include <cstdint>
#include <string>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

class TrieReader {
 public:
  explicit TrieReader(const Language& lang) : lang_(lang) {}

  [[nodiscard]] Status EdgeAt(std::int32_t index, const EdgeRec*& edge) const;
  [[nodiscard]] Status NodeAt(std::int32_t index, const NodeRec*& node) const;
  [[nodiscard]] Status ViewAt(std::int32_t index, const ViewRec*& view) const;
  // The identifier of what an edge of this type and code stands for.
  [[nodiscard]] Status NameOf(std::int32_t whoAmI, std::int32_t code, std::string& ident) const;

 private:
  const Language& lang_;
};

}  // namespace parvolen
