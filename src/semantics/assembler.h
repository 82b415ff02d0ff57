// The semantic instruction assembler: the [Instructions] section.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Line handler of [Instructions]: an empty line is ignored, "#name" starts the instructions of
// the action name at the next index, any other line is one instruction appended to SemInstTab.
[[nodiscard]] Status SemAsmLine(Language& lang, std::string_view line);

// Would register a label for instruction index; labels are not supported: prints a diagnostic
// and returns stNotFinished.
[[nodiscard]] Status AddSemAsmLabel(Language& lang, std::string_view label, std::int32_t index);

}  // namespace parvolen
