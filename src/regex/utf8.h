// UTF-8 for the parser: decoding a code point of the pattern, encoding one, and a range of code
// points as the byte-range sequences that match exactly their encodings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace parvolen::regex {

inline constexpr char32_t kMaxCodePoint = 0x10FFFF;
inline constexpr char32_t kSurrogateFirst = 0xD800;
inline constexpr char32_t kSurrogateLast = 0xDFFF;

// One sequence of byte ranges: the i-th byte of a match lies in Lo[i]..Hi[i].
struct Utf8Sequence {
  std::size_t Count = 0;
  std::array<unsigned char, 4> Lo{};
  std::array<unsigned char, 4> Hi{};
};

// The encoding of a code point (not a surrogate, at most kMaxCodePoint); returns its length.
std::size_t EncodeUtf8(char32_t cp, std::array<unsigned char, 4>& bytes);

// The length of the well-formed encoding at text[pos] (shortest form, no surrogate, at most
// kMaxCodePoint) with its code point; 0 when there is none.
[[nodiscard]] std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& cp);

// Appends the sequences whose matches are exactly the encodings of the code points lo..hi,
// surrogates left out, in increasing order (see note [utf-8 split] in utf8.cpp).
void Utf8Sequences(char32_t lo, char32_t hi, std::vector<Utf8Sequence>& out);

}  // namespace parvolen::regex
