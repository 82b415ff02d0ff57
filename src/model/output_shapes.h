// Output shapes ([OutShapes]): the text each output terminal writes.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Sets (or replaces) the Shape of output terminal number, cut to 50 characters;
// stBadOutTermCode for a number outside 1..LastOutTerm, stNotAllocated with a diagnostic for a
// missing record, text or table.
[[nodiscard]] Status OutTNewShape(Language* lang, std::int32_t number, const char* shape);
// Line handler: "output terminal = shape".
[[nodiscard]] Status OutShapesLine(Language& lang, std::string_view line);

}  // namespace parvolen
