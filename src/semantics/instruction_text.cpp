#include "semantics/instruction_text.h"

#include <cstdint>
#include <new>
#include <string>

#include "base/text.h"
#include "semantics/instruction_set.h"

namespace parvolen {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// "..." up to the next double quote; what follows it is ignored.
Status StringLiteral(Language& lang, std::string_view text, SemInst& inst) {
  const std::size_t close = text.find('"', 1);
  if (close == std::string_view::npos) return stMissingStrDelim;
  try {
    lang.ImmStrings.emplace_back(text.substr(1, close - 1));
  } catch (const std::bad_alloc&) {
    return stNoMem;
  }
  inst.ImmType = kImmString;
  inst.ImmVal = static_cast<std::int32_t>(lang.ImmStrings.size() - 1);
  return stOk;
}

// The leading digits as a number; one that does not fit 32 bits is no operand.
Status NumberLiteral(std::string_view text, SemInst& inst) {
  std::int64_t value = 0;
  for (std::size_t i = 0; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) return stUnknownOperand;
  }
  inst.ImmType = kImmInt;
  inst.ImmVal = static_cast<std::int32_t>(value);
  return stOk;
}

}  // namespace

Status SplitSemAsmLine(std::string_view line, std::string_view& label, std::string_view& mnemo,
                       std::string_view& first, std::string_view& second) {
  label = {};
  std::string_view rest = line;
  if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
    label = line.substr(0, colon);
    rest = line.substr(colon + 1);
  }
  rest = SkipBlanks(rest);
  std::size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  mnemo = rest.substr(0, end);
  rest = Trim(rest.substr(end));
  first = rest;
  second = {};
  if (const std::size_t comma = rest.find(','); comma != std::string_view::npos) {
    first = Trim(rest.substr(0, comma));
    second = Trim(rest.substr(comma + 1));
  }
  return stOk;
}

Status SemPar(Language& lang, std::string_view text, std::int32_t& kind, SemInst& inst) {
  if (text.empty() || (text.size() == 1 && !IsDigit(text[0]))) return stMissingParameter;
  switch (text[0]) {
    case '"':
      if (Status st = StringLiteral(lang, text, inst); st != stOk) return st;
      kind = kOperandImm;
      return stOk;
    case '\'':
      if (text.size() < 3) return stUnknownOperand;
      kind = kOperandImm;
      inst.ImmType = kImmChar;
      inst.ImmVal = static_cast<unsigned char>(text[1]);
      return stOk;
    case 's':
    case 'r':
    case 'g': {
      if (!IsDigit(text[1])) return stDigitExpected;
      const std::int32_t slot = text[1] - '0';
      // Each group has three members; kinds above 10 would name nothing.
      if (slot > 2) return stUnknownOperand;
      const std::int32_t base = text[0] == 's' ? kOperandStack : text[0] == 'r' ? kOperandReg : kOperandGReg;
      kind = base + slot;
      return stOk;
    }
    default:
      if (!IsDigit(text[0])) return stUnknownOperand;
      if (Status st = NumberLiteral(text, inst); st != stOk) return st;
      kind = kOperandImm;
      return stOk;
  }
}

}  // namespace parvolen
