// Text for HTML and SVG: description text escaped so that it can only ever be text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace parvolen::inspect {

// The text with & < > " ' as character references; a control character, and a byte that is not
// part of well-formed UTF-8, becomes U+FFFD.
[[nodiscard]] std::string Escaped(std::string_view text);

// The number of characters the text shows (code points; a malformed byte counts as one).
[[nodiscard]] std::size_t Characters(std::string_view text);

}  // namespace parvolen::inspect
