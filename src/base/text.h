// Text routines of the description format, shared by the section handlers and the tables they
// fill: trimming, splitting a line at "=" or "::=", and reading integer and yes/no values.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"

namespace parvolen {

// Whitespace of the description format: blank, tab, line end, vertical tab, form feed, carriage return.
[[nodiscard]] bool IsBlank(char c);

// The text without whitespace at either end.
[[nodiscard]] std::string_view Trim(std::string_view text);

// Splits at the first "=": key and value, each trimmed. No "=" gives stMissingEquals.
[[nodiscard]] Status SplitAtEquals(std::string_view line, std::string_view& key, std::string_view& value);

// Splits at the first "::=": left and right part, each trimmed. No "::=" gives stMissingDefines.
[[nodiscard]] Status SplitAtDefines(std::string_view line, std::string_view& left, std::string_view& right);

// Reads a decimal integer (leading whitespace, optional sign, digits; the rest ignored).
// No digit gives stIntegerExpected; above an upper bound other than -1 gives stValueTooHigh
// (tested first), below the lower bound stValueTooLow; so does a value that does not fit
// 32 bits. On failure dest keeps its value.
[[nodiscard]] Status IntegerValue(std::string_view text, std::int32_t lower, std::int32_t upper,
                                  std::int32_t& dest);

// Reads yes/no: yes y true t + 1 give 1, no n false f - 0 give 0 (words in any case);
// anything else gives stYesNoExpected and leaves dest unchanged.
[[nodiscard]] Status YesNoValue(std::string_view text, std::int32_t& dest);

// Splits a pair of words separated by whitespace, such as the opening and closing text of a
// comment; false unless the text holds exactly two words.
[[nodiscard]] bool SplitPair(std::string_view text, std::string_view& first, std::string_view& second);

// Compares two texts without regard to case.
[[nodiscard]] bool EqualNoCase(std::string_view a, std::string_view b);

}  // namespace parvolen
