// The lexer of the embeddable translator: the automaton of the lexicon written as code, the input
// window and its refill from a stream, terminals as slices of the input, block comments.
#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "codegen/embedded/plan.h"
#include "codegen/shared/code_writer.h"
#include "regex/lexicon.h"

namespace parvolen {

// Writes the lexer's part of NAME.c, ending with Scan, which reads the coming terminal, and
// OwnText, which gives a terminal's text memory of its own ending with a NUL.
[[nodiscard]] Status WriteEmbeddedLexer(const EmbeddedPlan& x, const regex::Lexicon& lexicon, CodeWriter& out);

// The text made safe inside a C comment: no "*/" or "/*", no control bytes.
[[nodiscard]] std::string CommentText(std::string_view text);

}  // namespace parvolen
