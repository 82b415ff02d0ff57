// Generator of the actions module "_actions.h" / "_actions.c": one Action_<name> function per
// semantic action, whose body is either a placeholder for the user's own code or, with -s, the
// action's instruction run translated into C on the generated semantic machine.
#pragma once

#include <string_view>

#include "base/status.h"
#include "codegen/construct.h"
#include "model/language.h"

namespace parvolen {

// Writes "_actions.h", then "_actions.c", into the directory; reads PlainIntValue (set by the
// lexer generator) and sets OutputUsed when a translated action prints. stCloseError when a
// file cannot be closed (a write failed); without a directory a diagnostic and stNotAllocated.
[[nodiscard]] Status ConsAct(const Language& lang, std::string_view dir, ConsOptions& options);

}  // namespace parvolen
