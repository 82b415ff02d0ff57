// What the findings tell about the grammar just read, on standard error: where statuses 51 and
// 52 come from, and after a successful reading the warnings about the grammar.
#pragma once

#include <string_view>

#include "base/status.h"
#include "findings/read_progress.h"
#include "model/language.h"

namespace parvolen {

struct GrammarCheckOptions {
  bool Strict = false;   // the places where the parser rejects derivable input are errors
  bool Warnings = true;  // false: warnings are not printed, so they are not looked for
  bool Losses = true;    // false: the translator decides on complete lookahead sets, it loses nothing
  bool Embedded = false; // the embeddable translator: a nonterminal used but never defined and a
                         // starting symbol that derives nothing are errors; keywords need no IdName
};

// Reports on the grammar read with status `read` from the description `file`, whose reading
// filled the progress record (with a trace attached). Returns the status of the run so far:
// `read`; under Strict stNotKindGiven when the generated parser would reject input that the
// grammar derives, stSpecialTerminalUnknown for keywords without IdName (the classic lexer
// would not compile); under Embedded stUnknownNonterminal for a nonterminal used but never
// defined, stNotKindAny for a starting symbol that derives nothing.
[[nodiscard]] Status CheckGrammar(const Language& lang, const ReadProgress& progress, std::string_view file,
                                  Status read, const GrammarCheckOptions& options);

}  // namespace parvolen
