// The parts of a report that have builders of their own, and the small pieces they share.
#pragma once

#include <cstdint>
#include <vector>

#include "inspect/examples.h"
#include "inspect/grammar.h"
#include "inspect/losses.h"
#include "inspect/report.h"

namespace parvolen::inspect {

// The production with its line and text.
[[nodiscard]] ProductionRef RefTo(const Grammar& grammar, std::int32_t prod);
// The edge as written, with the productions that run through it.
[[nodiscard]] MemberRef MemberOf(const Grammar& grammar, std::int32_t edge);
// Terminal names; 0 stands for the end of the input, named by the end-of-input terminal if any.
[[nodiscard]] Names TermNames(const Grammar& grammar, const std::vector<std::int32_t>& terms);

// The warnings for the losses of the analysis, with their explanation and suggested rewrite.
[[nodiscard]] std::vector<WarningReport> BuildWarnings(const Grammar& grammar, const std::vector<Loss>& losses);

// Where and why the reading stopped; grammar and examples are null when there is no record.
[[nodiscard]] FailureReport BuildFailure(const ReadOutcome& outcome, const Grammar* grammar, Examples* examples);

}  // namespace parvolen::inspect
