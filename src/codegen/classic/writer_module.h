// Generator of the writer module "_writer.h" / "_writer.c": the translator's output file, one
// OutTerm_<name> function per output terminal and, when actions print, the value printers.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "codegen/construct.h"
#include "model/language.h"

namespace parvolen {

// Writes "_writer.h", then "_writer.c", into the directory. Reads OutputUsed (set by the actions
// generator) and the count of spaces instructions. stCloseError when a file cannot be
// closed (a write failed); without a directory a diagnostic and stNotAllocated.
[[nodiscard]] Status ConsWriter(const Language& lang, std::string_view dir, const ConsOptions& options);

// Writes the function of output terminal number n, which writes its shape. With a diagnostic:
// stNotAllocated without a record, stNotOpen without an open file; stBadOutTermCode for a
// number outside 1..LastOutTerm.
[[nodiscard]] Status ConOutFn(CodeWriter& out, const Language* lang, std::int32_t n);

}  // namespace parvolen
