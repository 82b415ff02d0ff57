// The text of one semantic instruction line: its split into label, mnemonic and operand
// texts, and the parse of one operand text.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Splits an instruction line into views of it: the label before the first colon (empty without
// a colon), the mnemonic, and the operand texts before and after the first comma, trimmed.
// Colons and commas split wherever they stand, inside string literals too.
[[nodiscard]] Status SplitSemAsmLine(std::string_view line, std::string_view& label, std::string_view& mnemo,
                                     std::string_view& first, std::string_view& second);

// Parses one operand text into the operand kind `kind`; a literal also fills inst.ImmType and
// inst.ImmVal (a string goes into lang.ImmStrings, ImmVal its index). Statuses stNoMem, stUnknownOperand,
// stMissingParameter, stMissingStrDelim, stDigitExpected.
[[nodiscard]] Status SemPar(Language& lang, std::string_view text, std::int32_t& kind, SemInst& inst);

}  // namespace parvolen
