// Generator of the actions module "_actions.h" / "_actions.c": one Action_<name> function per
// semantic action, whose body is either a placeholder for the user's own code or, with -s, the
// action's instruction run translated into C on the generated semantic machine.
#pragma once

#include <string_view>

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "codegen/construct.h"
#include "model/language.h"

namespace parvolen {

// Writes "_actions.h", then "_actions.c", into the directory; reads PlainIntValue (set by the
// lexer generator) and sets OutputUsed when a translated action prints. stCloseError when a
// file cannot be closed (a write failed); without a directory a diagnostic and stNotAllocated.
// Writes ValFree, ValCopy and ValMove as far as the semantic code needs them, each definition
// preceded by the storage class given ("" or "static ").
void ConValueFunctions(const Language& lang, CodeWriter& out, ConsOptions& options, std::string_view storage);

// True when ValFree is written: the semantic machine holds values that own heap text.
[[nodiscard]] bool ConValueReleases(const Language& lang, ConsOptions& options);

[[nodiscard]] Status ConsAct(const Language& lang, std::string_view dir, ConsOptions& options);

}  // namespace parvolen
