// A fixed character field of N bytes: at most N - 1 characters and a terminating NUL.
// Storing a longer text cuts it; nothing can overflow the field.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace parvolen {

template <std::size_t N>
struct FixedText {
  static constexpr std::size_t kMaxLength = N - 1;
  char Chars[N];

  // The text as Set stores it: its first N - 1 characters, up to its first NUL.
  [[nodiscard]] static std::string_view Cut(std::string_view text) {
    std::size_t n = text.size() < kMaxLength ? text.size() : kMaxLength;
    if constexpr (N <= 32) {
      for (std::size_t i = 0; i < n; ++i)
        if (text[i] == '\0') return text.substr(0, i);
    } else if (n > 0) {
      if (const void* nul = std::memchr(text.data(), '\0', n); nul != nullptr)
        n = static_cast<std::size_t>(static_cast<const char*>(nul) - text.data());
    }
    return text.substr(0, n);
  }

  // Stores the first N - 1 characters of the text (up to its first NUL).
  void Set(std::string_view text) {
    const std::string_view kept = Cut(text);
    if (!kept.empty()) std::memmove(Chars, kept.data(), kept.size());
    std::memset(Chars + kept.size(), 0, N - kept.size());
  }

  [[nodiscard]] std::string_view View() const { return std::string_view(Chars, ::strnlen(Chars, N)); }
  [[nodiscard]] bool Empty() const { return Chars[0] == '\0'; }
  [[nodiscard]] const char* CStr() const { return Chars; }

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.View() == b.View(); }
};

// Names of terminals, nonterminals, output terminals, actions and keyword shapes:
// 25 significant characters, compared with case distinguished.
using Name = FixedText<26>;

}  // namespace parvolen
