// The failure part of a report, which has a builder of its own.
#pragma once

#include <cstdint>
#include <vector>

#include "findings/examples.h"
#include "findings/grammar.h"
#include "findings/losses.h"
#include "inspect/report.h"

namespace parvolen::inspect {

// Where and why the reading stopped; grammar and examples are null when there is no record.
[[nodiscard]] FailureReport BuildFailure(const ReadOutcome& outcome, const Grammar* grammar, Examples* examples);

}  // namespace parvolen::inspect
