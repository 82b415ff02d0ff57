// Byte sets as text, shared by the dumps of every stage.
#pragma once

#include <bitset>
#include <string>

namespace parvolen::regex {

// One byte as it reads in a dump: printable ASCII as itself (with `\` before `\ [ ] - ^`), the
// usual control escapes `\n \t \r \f \v \0`, anything else `\xhh`.
[[nodiscard]] std::string ByteText(unsigned char byte);

// A set of bytes: one byte alone as ByteText, otherwise a class with ranges, `[a-z_]`; a set of
// more than 128 bytes as the complement, `[^\n]`. The empty set is `[]`, the full set `[^]`.
[[nodiscard]] std::string BytesText(const std::bitset<256>& set);

}  // namespace parvolen::regex
