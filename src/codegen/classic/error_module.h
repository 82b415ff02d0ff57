// Generator of the error module "_error.h" / "_error.c": the ErrCode enumeration of the
// generated translator, with the members the language needs, and ErrMsg.
#pragma once

#include <string_view>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Writes "_error.h", then "_error.c", into the directory.
[[nodiscard]] Status ConsError(const Language& lang, std::string_view dir);

}  // namespace parvolen
