// Diagnostics about a grammar that was read, at the description lines concerned: where the
// generated parser rejects input that the grammar derives, the names that are declared but
// never used, and why a grammar is not of the kind the parser needs (statuses 51 and 52).
#pragma once

#include <optional>
#include <vector>

#include "base/diagnostic.h"
#include "base/status.h"
#include "findings/grammar.h"
#include "findings/places.h"
#include "findings/read_progress.h"
#include "findings/useless.h"
#include "model/analysis_trace.h"

namespace parvolen {

// One diagnostic for each loss of the analysis (the grammar must have been read without
// failure), at the production of the member concerned, with an example input and a rewrite.
// `useless`, when given, is FindUseless(grammar), which saves finding the productive symbols again.
[[nodiscard]] std::vector<Diagnostic> LossDiagnostics(const Grammar& grammar, const DescriptionPlaces& places,
                                                      Severity level, const UselessSymbols* useless = nullptr);

// With Extended = yes, one diagnostic for each place where the preference costs input: a tail
// loop that goes on at a terminal that can also follow its nonterminal where the loop has to
// end, at its first tail; a member that loses strings which run past the end of its production
// to another member, at that member. Each with an example.
[[nodiscard]] std::vector<Diagnostic> ExtendedDiagnostics(const Grammar& grammar, const DescriptionPlaces& places,
                                                          Severity level);

// Warnings at the declaring lines of the nonterminals that the starting symbol never reaches, of
// the terminals, actions and output terminals that no production uses, and of the keywords and
// symbols whose terminal no production uses.
// The declaring lines are those of the reading's progress record.
[[nodiscard]] std::vector<Diagnostic> UnusedDiagnostics(const Grammar& grammar, const DescriptionPlaces& places,
                                                        const ReadProgress& progress);

// At the first [Keywords] line when keywords are declared without IdName: the classic lexer
// gives a word that is no keyword the identifier terminal, so without one it does not compile.
[[nodiscard]] std::optional<Diagnostic> KeywordsWithoutIdName(const Language& lang, const DescriptionPlaces& places,
                                                              const ReadProgress& progress, Severity level);

// For stNotKindAny the chain that enters a nonterminal again, at the production that re-enters
// it; for stNotKindGiven the two productions that claim the same lookahead string, an error and
// a note. None for other statuses or when the trace recorded nothing.
[[nodiscard]] std::vector<Diagnostic> KindDiagnostics(const Grammar& grammar, const AnalysisTrace& trace, Status st,
                                                      const DescriptionPlaces& places);

}  // namespace parvolen
