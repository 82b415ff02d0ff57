// Status codes: every operation returns one; 0 is success and the first non-zero
// status travels upward unchanged to the driver, which prints its message and exits with it.
#pragma once

#include <cstdint>
#include <string_view>

namespace parvolen {

using Status = std::int32_t;

// The numbers are the program's exit statuses: fixed, gaps and all.
// Their messages live in status.cpp, in the same order.
enum : Status {
  stOk = 0,
  stNoMem = 1,
  stSemReturn = 2,
  stCannotOpen = 3,
  stReadError = 4,
  stWriteError = 5,
  stCannotCreate = 6,
  stCloseError = 7,
  stNotOpen = 8,
  stEof = 9,
  stTooManyTerminals = 10,
  stTooManyNonterminals = 11,
  stTooManyKeywords = 12,
  stTooManyEdges = 13,
  stTooManyNodes = 14,
  stTooManyViews = 15,
  stTooManyProductions = 16,
  stTooManyActions = 17,
  stTooManyOutTerms = 18,
  stTooManySymbNodes = 19,
  stTooManyLanguages = 20,
  stTooManyCompilations = 21,
  stTooManySemInsts = 22,
  stSemMisaddressing = 23,
  stSemUnderflow = 24,
  stSemOverflow = 25,
  stYesNoExpected = 26,
  stBadSection = 27,
  stUnknownTerminal = 28,
  stUnknownNonterminal = 29,
  stUnknownOutTerm = 30,
  stUnknownAction = 31,
  stUnknownMnemo = 32,
  stUnknownOperand = 33,
  stMissingParameter = 34,
  stMissingEquals = 35,
  stMissingDefines = 36,
  stMissingStrDelim = 37,
  stDigitExpected = 38,
  stIntegerExpected = 39,
  stEdgeLeftDelim = 40,
  stEdgeRightDelim = 41,
  stValueTooLow = 42,
  stValueTooHigh = 43,
  stUnknownKey = 44,
  stTerminalDefined = 45,
  stNonterminalDefined = 46,
  stKeywordDefined = 47,
  stOutTermDefined = 48,
  stActionDefined = 49,
  stProductionDefined = 50,
  stNotKindAny = 51,
  stNotKindGiven = 52,
  stSymbolTwice = 53,
  stSpecialTerminalUnknown = 54,
  stBadPattern = 55,  // a pattern of [Tokens] (embeddable translator only)
  stSemNoValue = 63,
  stSemAddNotInt = 64,
  stSemSubNotInt = 65,
  stSemMulNotInt = 66,
  stWriteImmediate = 67,
  stMoveImmediate = 68,
  stHeaderTooLong = 69,
  stTargetNameTooLong = 70,
  stBadLanguageHandle = 72,
  stBadTerminalCode = 73,
  stBadNonterminalCode = 74,
  stBadEdgeCode = 75,
  stBadNodeCode = 76,
  stBadViewCode = 77,
  stBadEdgeType = 78,
  stBadOutTermCode = 79,
  stBadActionCode = 80,
  stBadSemType = 81,
  stPopEmpty = 82,
  stNotAllocated = 83,
  stNotFinished = 86,
};

inline constexpr Status kLastStatus = 86;

// Message of a status code; codes outside 0..86 give "Unknown error code".
[[nodiscard]] std::string_view StatusMessage(Status code);

}  // namespace parvolen
