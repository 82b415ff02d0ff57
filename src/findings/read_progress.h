// What one reading went through, for tools that explain a description: the lines handed to the
// section line handlers, the last line read, and an analysis trace to attach to the new record.
// ReadDescription fills it only when it is given one: parvolen-inspect does, and the program
// does for the warnings and diagnostics that name the line where a name or production stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parvolen {

struct AnalysisTrace;

struct ReadProgress {
  struct Line {
    std::int64_t Number;  // counted as in the listing
    std::size_t Row;      // the row of the section table whose line handler took the line
    std::string Text;     // the trimmed line
    std::string_view Section;  // the header of that row, e.g. "[Productions]"
    std::int32_t Column = 1;   // the 1-based byte of the line where the trimmed text begins
    std::string Source;        // the line as it stands in the file, without its line end
  };
  std::vector<Line> Handled;       // every line given to a line handler, in order
  std::int64_t LastNumber = 0;     // the last line read (0 before the first)
  std::string LastText;            // its trimmed text
  bool LinesDone = false;          // all lines were read; the remaining sections were being ended
  AnalysisTrace* Trace = nullptr;  // attached to the new record, for the grammar analysis to fill
};

// What the caller allows a description to contain beyond the classic format.
struct ReadOptions {
  bool EmbeddedKeys = false;  // the [Language] keys of the embeddable translator (LineComment, ...)
};

}  // namespace parvolen
