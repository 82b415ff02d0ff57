// Translation of one semantic instruction into the C statements of a generated Action_ body,
// on the generated semantic machine: the value stack ValStack with its top sp, the registers
// Register and GRegister, ValCopy and ValMove.
#pragma once

#include <cstdint>
#include <string>

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "codegen/construct.h"
#include "model/language.h"

namespace parvolen {

// The C expression of one operand kind: a stack slot, a register, a g register, or the
// immediate of inst. stNotAllocated for an immediate without inst; stNotFinished, with a diagnostic, for a kind or an
// immediate that has no C form (text is then left empty).
[[nodiscard]] Status ConsAddr(const Language& lang, std::int32_t kind, const SemInst* inst, std::string& text);

// True when the instruction names a g register (they get storage only when some instruction uses one).
[[nodiscard]] bool UsesGRegister(const SemInst& inst);

// Writes the statements of one instruction. stOk: go on with the next; stSemReturn: it was return, the
// run is complete; stNotFinished: nothing was written, go on; any other status is a description the translator
// cannot carry out and ends generation. Sets options.OutputUsed when it writes a printer call.
[[nodiscard]] Status ConsInstr(CodeWriter& out, const Language& lang, const SemInst& inst, ConsOptions& options);

}  // namespace parvolen
