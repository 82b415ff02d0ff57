#include "regex/byte_text.h"

namespace parvolen::regex {
namespace {

// The members of a set as ranges, without brackets: `a-z_`; three or more in a row make a range.
std::string Ranges(const std::bitset<256>& set) {
  std::string text;
  for (int b = 0; b < 256;) {
    if (!set[static_cast<std::size_t>(b)]) {
      ++b;
      continue;
    }
    int e = b;
    while (e + 1 < 256 && set[static_cast<std::size_t>(e + 1)]) ++e;
    text += ByteText(static_cast<unsigned char>(b));
    if (e - b >= 2) text += '-';
    if (e > b) text += ByteText(static_cast<unsigned char>(e));
    b = e + 1;
  }
  return text;
}

}  // namespace

std::string ByteText(unsigned char byte) {
  switch (byte) {
    case '\n': return "\\n";
    case '\t': return "\\t";
    case '\r': return "\\r";
    case '\f': return "\\f";
    case '\v': return "\\v";
    case '\0': return "\\0";
    case '\\': case '[': case ']': case '-': case '^': return std::string{'\\', static_cast<char>(byte)};
    default: break;
  }
  if (byte > ' ' && byte < 0x7f) return std::string(1, static_cast<char>(byte));
  static constexpr char kHex[] = "0123456789abcdef";
  return std::string{'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
}

std::string BytesText(const std::bitset<256>& set) {
  const std::size_t count = set.count();
  if (count == 1) {
    for (int b = 0; b < 256; ++b)
      if (set[static_cast<std::size_t>(b)]) return ByteText(static_cast<unsigned char>(b));
  }
  if (count > 128) return "[^" + Ranges(~set) + "]";
  return "[" + Ranges(set) + "]";
}

}  // namespace parvolen::regex
