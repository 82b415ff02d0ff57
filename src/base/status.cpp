#include "base/status.h"

#include <array>

namespace parvolen {
namespace {

// Indexed by status code; the numbering is fixed by the exit statuses (status.h).
constexpr std::array<std::string_view, kLastStatus + 1> kMessages = {
    "No error",  // 0
    "Memory allocation error",  // 1
    "Status: Return from semantic program",  // 2
    "Cannot open file",  // 3
    "File read error",  // 4
    "File write error",  // 5
    "Cannot create file",  // 6
    "Error closing file",  // 7
    "File not open while accessing it",  // 8
    "End of file reached",  // 9
    "Too many terminals",  // 10
    "Too many nonterminals",  // 11
    "Too many keyword shapes",  // 12
    "Too many nonterminal edges",  // 13
    "Too many nonterminal nodes",  // 14
    "Too many views",  // 15
    "Too many productions",  // 16
    "Too many semantic actions",  // 17
    "Too many output terminals",  // 18
    "Too many symbol nodes",  // 19
    "Too many allocated languages",  // 20
    "Too many allocated compilations",  // 21
    "Too many semantic instructions",  // 22
    "Semantic stack misaddressing",  // 23
    "Semantic stack underflow",  // 24
    "Semantic stack overflow",  // 25
    "`Yes' or `no' expected",  // 26
    "Bad section",  // 27
    "Unknown terminal name",  // 28
    "Unknown nonterminal name",  // 29
    "Unknown output terminal name",  // 30
    "Unknown semantic action name",  // 31
    "Unknown semantic instruction mnemo",  // 32
    "Unknown semantic instruction operand",  // 33
    "Missing semantic instruction parameter",  // 34
    "Missing the '=' sign",  // 35
    "Missing the '::=' sign",  // 36
    "Missing the '\"' delimiter at string end",  // 37
    "Decimal digit expected",  // 38
    "Integer value expected",  // 39
    "Edge left delimiter expected",  // 40
    "Edge right delimiter missing",  // 41
    "Value too low",  // 42
    "Value too high",  // 43
    "Unknown config variable name",  // 44
    "Terminal name already defined",  // 45
    "Nonterminal name already defined",  // 46
    "Keyword shape already defined",  // 47
    "Output terminal name already defined",  // 48
    "Semantic action name already defined",  // 49
    "Production already defined",  // 50
    "Grammar is not kind for any lookahead",  // 51
    "Grammar is not kind for given lookahead",  // 52
    "Symbol defined twice",  // 53
    "Terminal name specified in [Language] section was not in [Terminal] section",  // 54
    "Syntax error: Invalid character found",  // 55
    "Syntax error: Identifier too long",  // 56
    "Syntax error: Number too long",  // 57
    "Syntax error: String too long",  // 58
    "Syntax error: Wrong lookahead",  // 59
    "Syntax error: Wrong terminal to match",  // 60
    "Syntax error: Missing delimiter at character end",  // 61
    "Semantics: value buffer overfull",  // 62
    "Semantics: no value available",  // 63
    "Semantics: adding other values than integers",  // 64
    "Semantics: subtracting other values than integers",  // 65
    "Semantics: multiplying other values than integers",  // 66
    "Binary langfile: writing into immediate operand",  // 67
    "Binary langfile: moving immediate operand",  // 68
    "Internal: Header message too long",  // 69
    "Internal: Target file name too long to be stored here",  // 70
    "Internal: Invalid compilation handle",  // 71
    "Internal: Invalid language handle",  // 72
    "Internal: Invalid terminal code",  // 73
    "Internal: Invalid nonterminal code",  // 74
    "Internal: Invalid nonterminal edge code",  // 75
    "Internal: Invalid nonterminal node code",  // 76
    "Internal: Invalid lookahead item code",  // 77
    "Internal: Invalid nonterminal edge type",  // 78
    "Internal: Invalid output terminal code",  // 79
    "Internal: Invalid semantic action code",  // 80
    "Internal: Invalid semantic data type",  // 81
    "Internal: Pop on empty stack",  // 82
    "Internal: Structure not allocated",  // 83
    "Internal: Character input buffer overfull",  // 84
    "Internal: Terminal input buffer overfull",  // 85
    "Internal: Application not finished",  // 86
};

}  // namespace

std::string_view StatusMessage(Status code) {
  if (code < 0 || code > kLastStatus) return "Unknown error code";
  return kMessages[static_cast<std::size_t>(code)];
}

}  // namespace parvolen
