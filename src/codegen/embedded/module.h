// The embeddable translator: NAME.h and NAME.c, a reentrant translator of the analysed
// language whose public names all begin with the prefix NAME.
#pragma once

#include <string_view>

#include "base/status.h"
#include "codegen/construct.h"
#include "findings/read_progress.h"
#include "model/language.h"

namespace parvolen {

// Writes NAME.h and NAME.c into the directory ("" is the current directory); the options are
// those of the classic translator (-s translates the instructions, -T adds the trace).
// stNotKindGiven, and no file, when some choice cannot be decided within the Lookahead (its
// diagnostic names the places of the reading's progress record in the file, when given);
// stNotAllocated for a prefix that is no C identifier; else the status of the first failure.
[[nodiscard]] Status ConsEmbedded(const Language& lang, std::string_view dir, std::string_view prefix,
                                  const ConsOptions& options, const ReadProgress* progress = nullptr,
                                  std::string_view file = "");

}  // namespace parvolen
