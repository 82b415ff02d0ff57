// The lexicon of the embeddable translator, built and checked before anything is written: a
// token that can never be matched is a warning naming the rule that always wins; a terminal of
// the productions that nothing lexes, or an automaton beyond its limits, is an error.
#pragma once

#include <string_view>

#include "base/status.h"
#include "findings/read_progress.h"
#include "model/language.h"
#include "regex/lexicon.h"

namespace parvolen {

// Builds the lexicon and reports what is wrong with it on standard error, at the lines of
// [Tokens] and [Terminals] when the progress record is given. stUnknownTerminal for a terminal
// that productions use and nothing lexes, stTooManySymbNodes for an automaton beyond its limits.
[[nodiscard]] Status BuildCheckedLexicon(const Language& lang, const ReadProgress* progress, std::string_view file,
                                         regex::Lexicon& lexicon);

}  // namespace parvolen
