// Error recovery of the embeddable translator. The parsing routines run as they are until the
// first error. With recovery asked for, an interpreter of the same decisions over tables of the
// tries then parses the input again from its start up to that error, without actions or output
// terminals, and goes on from there, repairing or skipping at each error.
#pragma once

#include "base/status.h"
#include "codegen/embedded/decisions.h"
#include "codegen/embedded/parser.h"
#include "codegen/embedded/plan.h"
#include "codegen/shared/code_writer.h"

namespace parvolen {

// The tables of the tries of the routines written and the interpreter that recovers (Recover, called by Run); after the routines. A corrupt trie gives its status.
[[nodiscard]] Status WriteRecovery(const EmbeddedPlan& x, const EmbeddedDecisions& decisions, const RoutineUse& use,
                                   CodeWriter& out);

}  // namespace parvolen
