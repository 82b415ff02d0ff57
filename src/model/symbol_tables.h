// The four name tables (terminals, nonterminals, output terminals, actions): lookup by name,
// new entries, the line handlers of their sections and the end handlers that resolve the
// special terminal names and the starting symbol.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// Lookups search from the last entry down to the sentinel in record 0.
// stNotAllocated when the table does not exist, else the table's "Unknown ... name" status.
[[nodiscard]] Status FindTerminal(Language& lang, std::string_view name, std::int32_t& number);
[[nodiscard]] Status FindNonterminal(Language& lang, std::string_view name, std::int32_t& number);
[[nodiscard]] Status FindOutTerm(Language& lang, std::string_view name, std::int32_t& number);
[[nodiscard]] Status FindAction(Language& lang, std::string_view name, std::int32_t& number);

// New entries: allocate the table on first use, reject a duplicate name (giving its number)
// and a full table, else append. Statuses as in the table's own row of the status list.
[[nodiscard]] Status NewTerminal(Language& lang, std::string_view name, std::int32_t& number);
[[nodiscard]] Status NewNonterminal(Language& lang, std::string_view name, std::int32_t& number);
[[nodiscard]] Status NewOutTerm(Language& lang, std::string_view name, std::int32_t& number);
[[nodiscard]] Status NewAction(Language& lang, std::string_view name, std::int32_t& number);

// Line handlers: the whole trimmed line is the name of one new entry.
[[nodiscard]] Status TerminalsLine(Language& lang, std::string_view line);
[[nodiscard]] Status NonterminalsLine(Language& lang, std::string_view line);
[[nodiscard]] Status OutTermsLine(Language& lang, std::string_view line);
[[nodiscard]] Status ActionsLine(Language& lang, std::string_view line);

// End of [Terminals]: resolves IdName, NumName, CharName, StrName, EofName (unknown gives
// stSpecialTerminalUnknown).
[[nodiscard]] Status TerminalsEnd(LanguagePool& pool, std::int32_t handle);
// End of [Nonterminals]: resolves StartingSymbol into StartNont (stUnknownNonterminal, or
// stNotAllocated without nonterminals).
[[nodiscard]] Status NonterminalsEnd(LanguagePool& pool, std::int32_t handle);

}  // namespace parvolen
