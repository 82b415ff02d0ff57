// [Tokens]: how the embeddable translator lexes terminals, with regular expressions. A line is
// "terminal = pattern" (the terminal is lexed by the pattern), "{skip} = pattern" (text that
// separates terminals, such as white space and comments), or "{name} = pattern" (a fragment that
// later patterns use as {name}).
#pragma once

#include <string_view>

#include "base/status.h"
#include "model/language.h"
#include "reader/faults.h"

namespace parvolen {

// Line handler of [Tokens]. stMissingEquals without "=", stUnknownTerminal for a name that is no
// terminal, stTerminalDefined for a terminal defined twice or one that [Keywords] or [Symbols]
// spells, stInvalidCharacter for a pattern that does not parse or that matches the empty text.
[[nodiscard]] Status TokensLine(Language& lang, std::string_view line);

// The fault of a [Tokens] line that failed with the status: the name or the place in the pattern.
[[nodiscard]] bool LocateTokensFault(Language& lang, std::string_view line, Status st, LineFault& fault);

}  // namespace parvolen
