// The parsing routine of one nonterminal: straight-line code along its production trie,
// switches on the coming terminal where the trie branches, a loop over its left-recursive tails.
#pragma once

#include <cstdint>

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "codegen/construct.h"
#include "model/language.h"

namespace parvolen {

// Writes the box comment and the routine Nont_<name> of nonterminal nont. A corrupt trie gives
// the status of the faulty index (stBadTerminalCode to stBadActionCode); nesting too deep for the stack gives stNoMem.
[[nodiscard]] Status ConNont(CodeWriter& out, const Language& lang, std::int32_t nont, const ConsOptions& options);

}  // namespace parvolen
