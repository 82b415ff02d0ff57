// Where the lines of a description stand, for diagnostics that point into them: the lines the
// reading handed to the section handlers, by their number, and the symbols of a production.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/diagnostic.h"
#include "findings/grammar.h"
#include "findings/read_progress.h"

namespace parvolen {

class DescriptionPlaces {
 public:
  // The progress record must outlive the places.
  DescriptionPlaces(std::string_view file, const ReadProgress& progress) : file_(file), progress_(progress) {}

  // The handled line with the number, or nullptr.
  [[nodiscard]] const ReadProgress::Line* LineAt(std::int64_t number) const;
  // A diagnostic at bytes [offset, offset + length) of the trimmed text of the line; at the file
  // alone when the line is unknown.
  [[nodiscard]] Diagnostic At(std::int64_t number, std::size_t offset, std::size_t length) const;
  // A diagnostic at the whole trimmed text of the line.
  [[nodiscard]] Diagnostic AtLine(std::int64_t number) const;
  // A diagnostic at the edge as written in the production's line; at the whole line for its end.
  [[nodiscard]] Diagnostic AtEdge(const Grammar& grammar, std::int32_t prod, std::int32_t edge) const;

 private:
  std::string file_;
  const ReadProgress& progress_;
};

// Offset and length, within a production line, of the index-th symbol of its right side
// ("(t)", "[N]", "{a}", "<o>"; the symbols follow each other without blanks); false when the
// line has fewer.
[[nodiscard]] bool SymbolSpan(std::string_view production, std::size_t index, std::size_t& offset,
                              std::size_t& length);

}  // namespace parvolen
