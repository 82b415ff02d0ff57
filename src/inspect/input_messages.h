// The words of the embeddable translator's syntax errors, built as its generated code builds them:
// the same bounds on each part, the same escapes, the same order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parvolen::inspect {

// Appends text, keeping at most room bytes in buf.
void AppendBounded(std::string& buf, std::size_t room, std::string_view text);
// Appends a terminal's text, control bytes escaped as \n, \t or \xHH, within room bytes.
void AppendShown(std::string& buf, std::size_t room, std::string_view text);

// How terminals are shown (by code) and which show their text too.
struct TerminalWords {
  std::vector<std::string> Texts;
  std::vector<std::int32_t> Valued;
  [[nodiscard]] const std::string& Text(std::int32_t kind) const;
  [[nodiscard]] bool IsValued(std::int32_t kind) const;
};

// "expected A, B or C, found D 'text'": the terminals expected (a long list ends with ", ...")
// and the one found, with at most 40 bytes of its text.
[[nodiscard]] std::string DescribeUnexpected(const TerminalWords& words, const std::vector<std::int32_t>& expected,
                                             std::int32_t found, std::string_view text);

}  // namespace parvolen::inspect
