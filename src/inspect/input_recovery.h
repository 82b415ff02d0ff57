// Recovery from errors for parvolen-inspect --parse --max-errors: what the embeddable
// translator's Recover does after its routines fail (codegen/embedded/recovery.cpp, note
// [recovery]), step for step over the same tables (codegen/embedded/recovery_tables.h) and the
// same lexer, so that every error, its place and its text are those the translator reports with
// NAME_set_max_errors.
#pragma once

#include <string_view>
#include <vector>

#include "codegen/embedded/decisions.h"
#include "inspect/input_lexer.h"
#include "model/language.h"
#include "regex/lexicon.h"

namespace parvolen::inspect {

// Every error of a parse that recovers, at most maxErrors, given the first failure of the
// parse without recovery: that failure alone when recovery does not apply to it (a status other
// than a syntax error, a byte that begins no terminal or a terminal too long). The first error
// keeps its place; its text gains what the recovery did.
[[nodiscard]] std::vector<InputFailure> RecoverErrors(const Language& lang, const EmbeddedDecisions& decisions,
                                                      const regex::Lexicon& lexicon, std::string_view input,
                                                      int maxDepth, int maxErrors, const InputFailure& first);

}  // namespace parvolen::inspect
