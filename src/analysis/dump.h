// Readable text of the analysis structures, for tests and diagnostics. A list of one member
// is written as the member, a longer one as "[ a | b ]"; a member with a list below it as
// "member -> below". Edges appear as in a production ("(t)", "[N]", "{a}", "<o>") or as
// "end(p)"; views as terminal names or "lambda"; nodes as "term => member", the member
// written like its edge, or "*" when the next level decides. An empty list is "-".
#pragma once

#include <cstdint>
#include <string>

#include "model/language.h"

namespace parvolen {

// An edge trie, e.g. "[T] -> [ (plus) -> [E] -> end(1) | end(2) ]".
[[nodiscard]] std::string DumpEdges(const Language& lang, std::int32_t first);

// A view trie, e.g. "a -> b -> [ lambda | d ]".
[[nodiscard]] std::string DumpViews(const Language& lang, std::int32_t first);

// A decision list, e.g. "[ a => * -> [ b => (a) | d => [F] ] | c => (c) ]".
[[nodiscard]] std::string DumpNodes(const Language& lang, std::int32_t first);

// Every nonterminal with its tries, views and decision lists, one item a line, followed by
// the decision lists that hang at edges.
[[nodiscard]] std::string DumpLanguage(const Language& lang);

}  // namespace parvolen
