// Follow tries: every continuation that follows an occurrence of a nonterminal in the
// production tries, merged into the FolEdges trie of that nonterminal.
#pragma once

#include <cstdint>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Walks the trie from first, depth-first; after every nonterminal edge its continuation is
// merged into the follow trie of that nonterminal.
[[nodiscard]] Status EdgeFol(Language* lang, std::int32_t first);

// Builds the follow tries from the ProdEdges and RecEdges tries of every nonterminal.
[[nodiscard]] Status MkFolEdge(Language* lang);

}  // namespace parvolen
