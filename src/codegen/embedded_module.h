// The embeddable translator: NAME.h and NAME.c, a reentrant translator of the analysed
// language whose public names all begin with the prefix NAME.
#pragma once

#include <string_view>

#include "base/status.h"
#include "codegen/construct.h"
#include "model/language.h"

namespace parvolen {

// Writes NAME.h and NAME.c into the directory ("" is the current directory); the options are
// those of the classic translator (-s translates the instructions, -T adds the trace).
// stNotAllocated for a prefix that is no C identifier; the status of the first failure.
[[nodiscard]] Status ConsEmbedded(const Language& lang, std::string_view dir, std::string_view prefix,
                                  const ConsOptions& options);

}  // namespace parvolen
