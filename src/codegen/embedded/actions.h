// The output terminals and, with -s, the translated semantic actions of the embeddable
// translator. The instructions are translated by the classic translator's instruction writer;
// here its vocabulary (registers, value stack, printers, FetchVal) is bound to the parser
// instance by macros that hold only around the actions.
#pragma once

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "codegen/construct.h"
#include "codegen/embedded/parser.h"
#include "codegen/embedded/plan.h"

namespace parvolen {

// The value types of the semantic machine, when it holds values (before the parser struct).
// Sets PlainIntValue as the classic lexer generator does.
void WriteEmbeddedSemanticTypes(const EmbeddedPlan& x, CodeWriter& out, ConsOptions& options);

// The machine's members of the parser struct.
void WriteEmbeddedSemanticState(const EmbeddedPlan& x, CodeWriter& out, const ConsOptions& options);

// True when the machine holds values (and SemClear exists).
[[nodiscard]] bool EmbeddedHasMachine(const EmbeddedPlan& x, const ConsOptions& options);

// The functions of the output terminals and, with -s, of the actions that the routines call.
// The status of an instruction that cannot be translated.
[[nodiscard]] Status WriteEmbeddedActions(const EmbeddedPlan& x, const RoutineUse& use, CodeWriter& out,
                                          ConsOptions& options);

}  // namespace parvolen
