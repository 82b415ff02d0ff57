// Error recovery of the embeddable translator. The parsing routines run as they are until the
// first error; failing, each notes where it stood (a resume point: its nonterminal and the edge,
// decision or tail loop it was at) while the failure unwinds. With recovery asked for, an
// interpreter of the same decisions then goes on from those points over tables of the tries,
// runs no action and no output terminal, and repairs or skips at each further error.
#pragma once

#include <cstdint>
#include "base/status.h"
#include "codegen/embedded/decisions.h"
#include "codegen/embedded/parser.h"
#include "codegen/embedded/plan.h"
#include "codegen/shared/code_writer.h"

namespace parvolen {

// The note a failure leaves while it unwinds, and the macro of the calls that leave it; before the
// routines.
void WriteUnwind(CodeWriter& out);

// The tables of the tries of the routines written, the resume points and the interpreter that
// recovers (Recover, called by Run); after the routines. A corrupt trie gives its status.
[[nodiscard]] Status WriteRecovery(const EmbeddedPlan& x, const EmbeddedDecisions& decisions, const RoutineUse& use,
                                   const ResumePoints& points, CodeWriter& out);

}  // namespace parvolen
