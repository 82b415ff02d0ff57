// The lexer of the embeddable translator: character classes, the input window and its refill
// from a stream, white space and comments, numbers, words and keywords, constants and symbols.
#pragma once

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "codegen/embedded/plan.h"

namespace parvolen {

// Writes the lexer's part of NAME.c, ending with Scan, which reads the coming terminal.
// stBadTerminalCode for a keyword or symbol of an invalid terminal.
[[nodiscard]] Status WriteEmbeddedLexer(const EmbeddedPlan& x, CodeWriter& out);

}  // namespace parvolen
