// Keyword shapes and the symbol tree of operator characters ([Keywords] and [Symbols]).
// A link is the address of a field that holds a symbol node number: SymbRoot, or the Next or
// Altr field of a node. The node table never moves, so a link stays valid while nodes are added.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Adds a keyword shape producing terminal t (stTooManyKeywords full or capacity 0,
// stKeywordDefined shape already defined, stNotAllocated without a record).
[[nodiscard]] Status NewKeyword(Language* lang, std::string_view shape, std::int32_t t);
// Makes a zeroed symbol node and writes its number into *link (stTooManySymbNodes when full or capacity 0).
[[nodiscard]] Status SymbNew(Language* lang, std::int32_t* link);
// Finds or makes the node for ch in the sorted list headed by *head and gives the link to its
// Next list in *next; a non-zero term is set on the node (stSymbolTwice when it already carries one).
[[nodiscard]] Status SymbIns(Language* lang, std::int32_t* head, char ch, std::int32_t term, std::int32_t** next);
// Adds a whole shape to the symbol tree with terminal t; an empty shape adds the character 0.
[[nodiscard]] Status SymbNewShape(Language* lang, const char* shape, std::int32_t t);

// Line handlers: "terminal = shape".
[[nodiscard]] Status KeywordsLine(Language& lang, std::string_view line);
[[nodiscard]] Status SymbolsLine(Language& lang, std::string_view line);

}  // namespace parvolen
