// Note [utf-8 split]
// A range of code points lo..hi becomes byte-range sequences in two steps. First it is cut where
// the encoded length changes (after 7F, 7FF and FFFF), so that both ends have n bytes. Then, from
// the last continuation byte towards the first: with m the code points that the last i bytes can
// tell apart (m = 2^(6i) - 1), when lo and hi differ above m the range is cut so that one part
// runs over whole blocks of m + 1 code points: [lo, lo|m] when lo does not start a block, or
// [hi&~m, hi] when hi does not end one. When no cut is needed, every code point between the two
// encodings, byte by byte, is in the range: each continuation byte below the first differing
// position runs over its whole range 80..BF (the ends start and end blocks), so the product of
// the byte ranges of lo and hi is exactly the set of encodings. Surrogates are taken out first.
#include "regex/utf8.h"

namespace parvolen::regex {
namespace {

void Split(char32_t lo, char32_t hi, std::vector<Utf8Sequence>& out) {
  if (lo > hi) return;
  for (const char32_t bound : {char32_t{0x7F}, char32_t{0x7FF}, char32_t{0xFFFF}}) {
    if (lo <= bound && bound < hi) {
      Split(lo, bound, out);
      Split(bound + 1, hi, out);
      return;
    }
  }
  std::array<unsigned char, 4> a{}, b{};
  const std::size_t n = EncodeUtf8(lo, a);
  EncodeUtf8(hi, b);
  for (std::size_t i = 1; i < n; ++i) {
    const char32_t m = (char32_t{1} << (6 * i)) - 1;
    if ((lo & ~m) == (hi & ~m)) continue;
    if ((lo & m) != 0) {
      Split(lo, lo | m, out);
      Split((lo | m) + 1, hi, out);
      return;
    }
    if ((hi & m) != m) {
      Split(lo, (hi & ~m) - 1, out);
      Split(hi & ~m, hi, out);
      return;
    }
  }
  Utf8Sequence seq;
  seq.Count = n;
  seq.Lo = a;
  seq.Hi = b;
  out.push_back(seq);
}

}  // namespace

std::size_t EncodeUtf8(char32_t cp, std::array<unsigned char, 4>& bytes) {
  if (cp < 0x80) {
    bytes[0] = static_cast<unsigned char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    bytes[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
    bytes[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    bytes[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
    bytes[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 3;
  }
  bytes[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
  bytes[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
  bytes[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
  bytes[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
  return 4;
}

std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& cp) {
  if (pos >= text.size()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char first = byte(0);
  std::size_t n = 0;
  char32_t value = 0;
  char32_t least = 0;
  if (first < 0x80) {
    cp = first;
    return 1;
  } else if ((first & 0xE0) == 0xC0) {
    n = 2, value = first & 0x1F, least = 0x80;
  } else if ((first & 0xF0) == 0xE0) {
    n = 3, value = first & 0x0F, least = 0x800;
  } else if ((first & 0xF8) == 0xF0) {
    n = 4, value = first & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (text.size() - pos < n) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  if (value < least || value > kMaxCodePoint || (value >= kSurrogateFirst && value <= kSurrogateLast)) return 0;
  cp = value;
  return n;
}

void Utf8Sequences(char32_t lo, char32_t hi, std::vector<Utf8Sequence>& out) {
  if (hi > kMaxCodePoint) hi = kMaxCodePoint;
  if (lo > hi) return;
  if (hi < kSurrogateFirst || lo > kSurrogateLast) {
    Split(lo, hi, out);
    return;
  }
  if (lo < kSurrogateFirst) Split(lo, kSurrogateFirst - 1, out);
  if (hi > kSurrogateLast) Split(kSurrogateLast + 1, hi, out);
}

}  // namespace parvolen::regex
