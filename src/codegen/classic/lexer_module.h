// Generator of the lexer module "_lexer.h" / "_lexer.c": terminal codes, the value type, the
// character reader, FetchTerm and the interface the parser and the actions use.
#pragma once

#include <string_view>

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "codegen/construct.h"
#include "model/language.h"

namespace parvolen {

// Writes "_lexer.h", then "_lexer.c", into the directory and sets options.PlainIntValue.
// Without a directory (a view without data) it prints a diagnostic: stNotAllocated.
// Writes the types of the terminals' values (ValType and Value, as the value kinds need them)
// and sets PlainIntValue when Value is a plain int.
void ConValueType(const Language& lang, CodeWriter& out, ConsOptions& options);

[[nodiscard]] Status ConsLex(const Language& lang, std::string_view dir, ConsOptions& options);

}  // namespace parvolen
