// A readable text form of the symbol tree, for tests and debugging.
#pragma once

#include <string>

#include "model/language.h"

namespace parvolen {

// One line per node in list order, children indented by two blanks under their parent:
// the character in apostrophes (\xNN when not printable), then the terminal number if any.
[[nodiscard]] std::string DumpSymbolTree(const Language& lang);

}  // namespace parvolen
