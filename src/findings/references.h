// Readable references into the grammar for explanations: a production by its description line
// and text, a member of a choice point by its edge and the productions through it, and
// terminal strings by name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "findings/grammar.h"

namespace parvolen {

using Names = std::vector<std::string>;  // a terminal string, by names

struct ProductionRef {
  std::int32_t Number = 0;
  std::int64_t Line = 0;
  std::string Text;
};

// A member of a choice point: its edge as written, and the productions that run through it.
struct MemberRef {
  std::string Edge;
  std::vector<ProductionRef> Productions;
};

// The production with its line and text.
[[nodiscard]] ProductionRef RefTo(const Grammar& grammar, std::int32_t prod);
// The edge as written, with the productions that run through it.
[[nodiscard]] MemberRef MemberOf(const Grammar& grammar, std::int32_t edge);
// Terminal names; 0 stands for the end of the input, named by the end-of-input terminal if any.
[[nodiscard]] Names TermNames(const Grammar& grammar, const std::vector<std::int32_t>& terms);

}  // namespace parvolen
