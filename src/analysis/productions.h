// The [Productions] section: each line is registered as a production and its right side
// becomes a path of edges in a trie of its left nonterminal; the end of the section runs the
// grammar analysis (follow tries, views, decision lists).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Most characters of a production line that are kept and compared.
inline constexpr std::size_t kProdTextLength = 150;

// Line handler of [Productions]: "Left ::= tokens". A right side that begins with [Left] goes
// without that token into RecEdges of Left, any other into ProdEdges.
[[nodiscard]] Status ProdLine(Language& lang, std::string_view line);

// Registers the production `text` of nonterminal nont, written `left`, whose right side is
// `right`, and inserts it (into RecEdges when the right side begins with "[" left "]"); the edges of its path, end edge
// last, go to `path` when one is given. Statuses as ProdNew and ProdIns.
[[nodiscard]] Status ProdAdd(Language& lang, std::string_view text, std::string_view left, std::int32_t nont,
                             std::string_view right, std::vector<std::int32_t>* path = nullptr);

// Registers a production of nonterminal nont; stProductionDefined when the same text (first
// 150 characters) was registered before, stTooManyProductions when the table is full.
[[nodiscard]] Status ProdNew(Language* lang, std::string_view line, std::int32_t nont, std::int32_t& prod);

// Inserts the tokens of a right side and the end edge of production prod into the trie at the
// slot; the edges of the path go to `path` when one is given.
[[nodiscard]] Status ProdIns(Language* lang, std::int32_t* slot, std::string_view right, std::int32_t prod,
                             std::vector<std::int32_t>* path = nullptr);

// End handler of [Productions]: MkFolEdge, ViewMakeAll, NodeRebuild, on a thread with a stack
// deep enough for large grammars. stBadLanguageHandle for an invalid handle, else the first failure.
[[nodiscard]] Status ProductionsEnd(LanguagePool& pool, std::int32_t handle);

}  // namespace parvolen
