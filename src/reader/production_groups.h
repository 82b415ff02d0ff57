// Groups in production lines, read only for the embeddable translator: a group of symbols
// between two slashes followed by `*` (zero or more), `+` (one or more) or `?` (optional), the
// same operators after a single symbol, and `!` at the beginning of a right side or of a group
// (that part wins a conflict at its choice). A line with groups is written out as plain
// productions before the analysis; see note [writing groups out] in production_groups.cpp.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "model/language.h"
#include "reader/faults.h"

namespace parvolen {

// The most productions one line is written out into (each optional part doubles them).
inline constexpr std::size_t kMostWrittenOut = 64;

// One plain production written out from a line with groups.
struct WrittenOut {
  std::string Left;                 // the line's nonterminal as written, or a fresh one
  std::string Right;                // plain symbols, back to back
  std::vector<TextSpan> Symbols;    // where each symbol of Right stands in the line
  std::vector<bool> Preferred;      // per symbol: it wins a conflict at its choice
  bool PreferredEnd = false;        // so does the production's end
  TextSpan Whole;                   // the right side, or the group that a fresh nonterminal stands for
};

struct GroupExpansion {
  std::vector<std::string> Fresh;         // the fresh nonterminals, to be declared in this order
  std::vector<WrittenOut> Productions;    // the line's own first, then those of the fresh ones
};

// True when the right side of the production line uses groups, operators or `!` (outside the
// names between delimiters).
[[nodiscard]] bool HasGroups(std::string_view line);

// Writes the production line out. `taken` tells whether a nonterminal name (compared as a C
// identifier, blanks as underscores) is in use; fresh names avoid it and each other. On
// failure, stEdgeLeftDelim or stEdgeRightDelim and the fault's place in the line.
[[nodiscard]] Status ExpandGroups(std::string_view line, const std::function<bool(std::string_view)>& taken,
                                  GroupExpansion& out, LineFault& fault);

// Line handler of [Productions]: a plain line as ProdLine; in a reading for the embeddable
// translator, a line with groups is written out, its fresh nonterminals declared, and each
// production registered with its place (Language::ProdOrigins) and preferred edges.
[[nodiscard]] Status ProductionsLine(Language& lang, std::string_view line);

}  // namespace parvolen
