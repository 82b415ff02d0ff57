// Generator of the writer module "_writer.h" / "_writer.c": the translator's output file, one
// OutTerm_<name> function per output terminal and, when actions print, the value printers.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "codegen/code_writer.h"
#include "codegen/construct.h"
#include "model/language.h"

namespace parvolen {

// Writes "_writer.h", then "_writer.c", into the directory. Reads OutputUsed (set by the actions
// generator) and the count of spaces instructions. Status 7 when "_writer.c" cannot be closed
// (a write failed); without a record or a directory a diagnostic and status 83.
[[nodiscard]] Status ConsWriter(const Language* lang, std::string_view dir, const ConsOptions& options);

// Writes the function of output terminal number n, which writes its shape. With a diagnostic:
// 83 without a record, 8 without an open file; 79 for a number outside 1..LastOutTerm.
[[nodiscard]] Status ConOutFn(CodeWriter& out, const Language* lang, std::int32_t n);

}  // namespace parvolen
