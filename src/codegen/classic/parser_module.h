// Generator of the parser module "_parser.h" / "_parser.c": one recursive-descent routine
// Nont_<name> per nonterminal and the entry Parse, which runs the starting symbol's routine.
#pragma once

#include <string_view>

#include "base/status.h"
#include "codegen/construct.h"
#include "model/language.h"

namespace parvolen {

// Writes "_parser.h", then "_parser.c", into the directory. hasWriter makes Parse take an
// output file name and open and close the writer module's output around the parse.
[[nodiscard]] Status ConsParser(const Language& lang, std::string_view dir, bool hasWriter,
                                const ConsOptions& options);

}  // namespace parvolen
