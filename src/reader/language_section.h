// The [Language] section: options, names of the special terminals, table capacities and
// delimiters of the described language.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "model/language.h"
#include "reader/faults.h"

namespace parvolen {

// Begin: resets Extended and IgnoreValues, sets the output delimiters to '"' and '\'';
// stBadLanguageHandle for a bad handle.
[[nodiscard]] Status LanguageBegin(LanguagePool& pool, std::int32_t handle);
// One "key = value" line (stMissingEquals without "=", stUnknownKey for an unknown key, or the
// value's status).
[[nodiscard]] Status LanguageLine(Language& lang, std::string_view line);
// The fault of a "key = value" line that failed with the status: the unknown key (hinting at
// the nearest key), a value that is no yes/no or integer or out of range (with the range), or
// a missing "=". False when the status is none of these.
[[nodiscard]] bool LocateLanguageFault(const Language& lang, std::string_view line, Status st, LineFault& fault);
// End: completes the defaults and prints their warnings; stBadLanguageHandle for a bad handle, else stOk.
[[nodiscard]] Status LanguageEnd(LanguagePool& pool, std::int32_t handle);

}  // namespace parvolen
