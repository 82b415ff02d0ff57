// The parts of "_lexer.c" that depend on the keywords and symbols of the language: the keyword
// table, the keyword lookup IsKwd, and the nested character switch that ends FetchTerm.
#pragma once

#include <cstdint>

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "codegen/construct.h"
#include "model/language.h"

namespace parvolen {

// From this many keywords on, IsKwd searches the table by halving (the table is then sorted);
// below it IsKwd scans the table in definition order and ignores case.
inline constexpr std::int32_t kBinaryKeywordLookup = 20;

// Writes KwdCount, KwdRec and the Keywords table; stBadTerminalCode for a keyword of an invalid terminal.
[[nodiscard]] Status ConKwdTable(const Language& lang, CodeWriter& out);

// Writes the function IsKwd: the keyword's terminal, or the identifier terminal for any other word.
[[nodiscard]] Status KwdShort(const Language& lang, CodeWriter& out, const ConsOptions& options);

// Writes the switch over the sibling list starting at node, indented by indent tabs, answering
// fallback when the input leaves the tree; depth is the number of characters looked ahead.
// stBadTerminalCode for a node or fallback of an invalid terminal.
[[nodiscard]] Status ConSymbSwitch(const Language& lang, CodeWriter& out, std::int32_t node, int indent,
                                   std::int32_t fallback, int depth);

// The most characters the symbol switch looks ahead at once (0 without symbols); the character
// buffer of the generated lexer must hold that many.
[[nodiscard]] int SymbLookahead(const Language& lang);

}  // namespace parvolen
