// The semantic instruction assembler: the [Instructions] section.
#pragma once

#include <string_view>

#include "model/language.h"
#include "model/status.h"

namespace parvolen {

// Line handler of [Instructions]: a "#action" line or one instruction.
[[nodiscard]] Status SemAsmLine(Language& lang, std::string_view line);

}  // namespace parvolen
