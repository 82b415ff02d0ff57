#include "base/text.h"

#include <cctype>
#include <cstdint>

namespace parvolen {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

namespace {

Status SplitAt(std::string_view line, std::string_view sign, Status missing, std::string_view& left,
               std::string_view& right) {
  const std::size_t at = line.find(sign);
  if (at == std::string_view::npos) return missing;
  left = Trim(line.substr(0, at));
  right = Trim(line.substr(at + sign.size()));
  return stOk;
}

}  // namespace

Status SplitAtEquals(std::string_view line, std::string_view& key, std::string_view& value) {
  return SplitAt(line, "=", stMissingEquals, key, value);
}

Status SplitAtDefines(std::string_view line, std::string_view& left, std::string_view& right) {
  return SplitAt(line, "::=", stMissingDefines, left, right);
}

Status IntegerValue(std::string_view text, std::int32_t lower, std::int32_t upper, std::int32_t& dest) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return stIntegerExpected;
  // Accumulate with saturation just past the 32-bit range, so any length of digits is safe.
  constexpr std::int64_t kBeyond = std::int64_t{INT32_MAX} + 2;
  std::int64_t magnitude = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kBeyond) magnitude = kBeyond;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return stValueTooHigh;
  if (value < INT32_MIN) return stValueTooLow;
  if (upper != -1 && value > upper) return stValueTooHigh;
  if (value < lower) return stValueTooLow;
  dest = static_cast<std::int32_t>(value);
  return stOk;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

Status YesNoValue(std::string_view text, std::int32_t& dest) {
  for (std::string_view yes : {"yes", "y", "true", "t", "+", "1"})
    if (EqualNoCase(text, yes)) {
      dest = 1;
      return stOk;
    }
  for (std::string_view no : {"no", "n", "false", "f", "-", "0"})
    if (EqualNoCase(text, no)) {
      dest = 0;
      return stOk;
    }
  return stYesNoExpected;
}

bool SplitPair(std::string_view text, std::string_view& first, std::string_view& second) {
  text = Trim(text);
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  first = text.substr(0, end);
  second = Trim(text.substr(end));
  if (first.empty() || second.empty()) return false;
  for (char c : second)
    if (IsBlank(c)) return false;
  return true;
}

}  // namespace parvolen
