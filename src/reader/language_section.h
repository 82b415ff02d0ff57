// The [Language] section: options, names of the special terminals, table capacities and
// delimiters of the described language.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Begin: resets Extended and IgnoreValues, sets the output delimiters to '"' and '\'';
// stBadLanguageHandle for a bad handle.
[[nodiscard]] Status LanguageBegin(LanguagePool& pool, std::int32_t handle);
// One "key = value" line (stMissingEquals without "=", stUnknownKey for an unknown key, or the
// value's status).
[[nodiscard]] Status LanguageLine(Language& lang, std::string_view line);
// End: completes the defaults and prints their warnings; stBadLanguageHandle for a bad handle, else stOk.
[[nodiscard]] Status LanguageEnd(LanguagePool& pool, std::int32_t handle);

}  // namespace parvolen
