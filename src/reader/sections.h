// The section table of a description file: header texts and section handlers.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Begin and end handlers take the language handle; line handlers the record and one trimmed line.
using SectionHandler = Status (*)(LanguagePool& pool, std::int32_t handle);
using LineHandler = Status (*)(Language& lang, std::string_view line);

struct SectionRow {
  std::string_view Header;
  SectionHandler Begin;  // nullptr when the section has none
  LineHandler Line;
  SectionHandler End;
};

inline constexpr std::size_t kSectionCount = 12;

// The twelve rows in the order in which sections may appear in a file; row 0 is the
// pseudo-section before the first header.
[[nodiscard]] const std::array<SectionRow, kSectionCount>& SectionTable();

}  // namespace parvolen
