// Output shapes ([OutShapes]): the text each output terminal writes.
#pragma once

#include <cstdint>
#include <string_view>

#include "model/language.h"
#include "model/status.h"

namespace parvolen {

// Sets the Shape of output terminal number (cut to 50 characters); 79 for a bad number.
[[nodiscard]] Status OutTNewShape(Language* lang, std::int32_t number, const char* shape);
// Line handler: "output terminal = shape".
[[nodiscard]] Status OutShapesLine(Language& lang, std::string_view line);

}  // namespace parvolen
