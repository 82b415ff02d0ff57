// What only the embeddable translator (--prefix=NAME) reads of a description: the [Language]
// keys of its lexer and its own sections. A classic reading knows none of them and fails on one
// as on any unknown key or section, with the same status; its diagnostic says that --prefix
// reads it.
#pragma once

#include <string>
#include <string_view>

namespace parvolen {

// True for a key or a section header ("[...]") that only --prefix reads; case does not matter,
// as in the description.
[[nodiscard]] bool PrefixOnly(std::string_view keyOrHeader);

// The hint of a classic reading that fails on the key or header: what reads it; empty for a
// reading with --prefix and for any other name.
[[nodiscard]] std::string PrefixOnlyHint(std::string_view keyOrHeader, bool embedded);

}  // namespace parvolen
