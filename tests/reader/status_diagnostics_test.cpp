// Every status that reading a description can end with, each in one case: a small description
// that fails with it, and where its diagnostic stands. The descriptions are one base description
// with one edit, with capacities so tight that one entry more overflows a table.
//
// Statuses that no case here reaches, and why:
//   1 (no memory) depends on what the machine grants; 51 and 52 (grammar not kind) are located
//   by the grammar checks, not by the reader; 63 to 68 are found while generating with -s, not
//   while reading; the other statuses are internal or not produced (docs/status-codes.md).
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/describe.h"

namespace parvolen {
namespace {

// The lines are numbered as in the file: the cases name them.
constexpr std::string_view kBase =
    "[Language]\n"           // 1
    "StartingSymbol = E\n"   // 2
    "Lookahead = 1\n"        // 3
    "Terminals = 3\n"        // 4
    "Nonterminals = 2\n"     // 5
    "OutTerms = 1\n"         // 6
    "Actions = 1\n"          // 7
    "Keywords = 1\n"         // 8
    "Edges = 12\n"           // 9
    "Nodes = 2\n"            // 10
    "Views = 8\n"            // 11
    "Productions = 3\n"      // 12
    "SymbNodes = 1\n"        // 13
    "SemInsts = 2\n"         // 14
    "IdName = id\n"          // 15
    "[Terminals]\n"          // 16
    "id\n"                   // 17
    "plus\n"                 // 18
    "kw\n"                   // 19
    "[Nonterminals]\n"       // 20
    "E\n"                    // 21
    "T\n"                    // 22
    "[OutTerms]\n"           // 23
    "o\n"                    // 24
    "[Actions]\n"            // 25
    "a\n"                    // 26
    "[Productions]\n"        // 27
    "E ::= [T]{a}<o>\n"      // 28
    "T ::= (id)\n"           // 29
    "T ::= (kw)(plus)\n"     // 30
    "[Keywords]\n"           // 31
    "kw = if\n"              // 32
    "[Symbols]\n"            // 33
    "plus = +\n"             // 34
    "[OutShapes]\n"          // 35
    "o = x\n"                // 36
    "[Instructions]\n"       // 37
    "#a\n"                   // 38
    "push s0\n"              // 39
    "pop s0\n";              // 40

struct Case {
  Status status;
  std::string_view from;   // the base's first text of this, replaced by `to`
  std::string_view to;
  std::string_view place;  // "LINE:COLUMN" or "LINE" after the file name
  std::string_view text;   // a fragment of the diagnostic's text
  bool listingAgrees;      // the listing ends with the diagnostic's line
};

const Case kCases[] = {
    {stTooManyTerminals, "kw\n", "kw\nmore\n", "4:13", "Terminals = 3 is too small: this description needs 4", false},
    {stTooManyTerminals, "Terminals = 3\n", "", "16:1", "Terminals = 0 (the default) is too small", true},
    {stTooManyTerminals, "Terminals = 3\n", "Name = T\n", "17:1", "add 'Terminals = 3' to [Language]", true},
    {stTooManyNonterminals, "T\n", "T\nU\n", "5:16", "Nonterminals = 2 is too small: this description needs 3", false},
    {stTooManyKeywords, "kw = if\n", "kw = if\nkw = then\n", "8:12", "needs 2", false},
    {stTooManyEdges, "Edges = 12", "Edges = 11", "9:9", "Edges = 11 is too small: this description needs 12", false},
    {stTooManyNodes, "Nodes = 2", "Nodes = 1", "10:9", "Nodes = 1 is too small: this description needs 2", false},
    {stTooManyViews, "Views = 8", "Views = 7", "11:9", "Views = 7 is too small: this description needs 8", false},
    {stTooManyViews, "Views = 8\n", "", "26:1", "Views = 0 (the default) is too small: this description needs 8", false},
    {stTooManyProductions, "T ::= (kw)(plus)\n", "T ::= (kw)(plus)\nT ::= (plus)\n", "12:15", "needs 4", false},
    {stTooManyActions, "a\n", "a\nb\n", "7:11", "Actions = 1 is too small: this description needs 2", false},
    {stTooManyOutTerms, "o\n", "o\np\n", "6:12", "OutTerms = 1 is too small: this description needs 2", false},
    {stTooManySymbNodes, "plus = +\n", "plus = +=\n", "13:13", "SymbNodes = 1 is too small: this description needs 2",
     false},
    {stTooManySemInsts, "pop s0\n", "pop s0\nreturn\n", "14:12", "needs 3", false},
    // The count is only what can be counted: the reading fails further on for another reason.
    {stTooManySemInsts, "pop s0\n", "pop s0\npush s9\n", "14:12", "SemInsts = 2 is too small; no count", false},
    {stYesNoExpected, "Lookahead = 1\n", "AllAheads = often\n", "3:13", "'often' is no yes/no value", true},
    {stBadSection, "[Keywords]", "[Keyword]", "31:1", "unknown section [Keyword]", true},
    {stUnknownTerminal, "(kw)(plus)", "(kw)(pluss)", "30:12", "unknown terminal 'pluss'; did you mean 'plus'?", true},
    {stUnknownNonterminal, "[T]{a}", "[U]{a}", "28:8", "unknown nonterminal 'U'", true},
    {stUnknownNonterminal, "StartingSymbol = E", "StartingSymbol = F", "2:18", "starting symbol 'F'", false},
    {stUnknownOutTerm, "o = x", "p = x", "36:1", "unknown output terminal 'p'", true},
    {stUnknownAction, "#a", "#b", "38:2", "unknown action 'b'", true},
    {stUnknownMnemo, "pop s0", "popp s0", "40:1", "unknown instruction 'popp'; did you mean 'pop'?", true},
    {stUnknownOperand, "pop s0", "pop s7", "40:5", "unknown operand 's7'", true},
    {stMissingParameter, "push s0", "push", "39:5", "missing operand of 'push'", true},
    {stMissingEquals, "kw = if", "kw if", "32:1", "expected 'terminal = shape'", true},
    {stMissingDefines, "T ::= (id)", "T := (id)", "29:1", "expected '::='", true},
    {stMissingStrDelim, "push s0", "push \"text", "39:6", "string without its closing", true},
    {stDigitExpected, "pop s0", "pop sx", "40:5", "expected a digit after 's'", true},
    {stIntegerExpected, "Views = 8", "Views = many", "11:9", "'many' is no integer for 'Views'", true},
    {stEdgeLeftDelim, "(kw)(plus)", "(kw) (plus)", "30:11", "expected '(', '[', '{' or '<'", true},
    {stEdgeRightDelim, "(kw)(plus)", "(kw)(plus", "30:11", "'(' without its closing ')'", true},
    {stValueTooLow, "Nonterminals = 2", "Nonterminals = 0", "5:16", "'0' is too low for 'Nonterminals'", true},
    {stValueTooHigh, "Lookahead = 1", "Lookahead = 6", "3:13", "'6' is too high for 'Lookahead'; at most 5", true},
    {stUnknownKey, "Lookahead = 1", "Lookahaed = 1", "3:1", "did you mean 'Lookahead'?", true},
    {stTerminalDefined, "kw\n", "id\n", "19:1", "terminal 'id' declared twice; first declared on line 17", true},
    {stNonterminalDefined, "T\n", "E\n", "22:1", "nonterminal 'E' declared twice", true},
    {stKeywordDefined, "kw = if\n", "kw = if\nid = if\n", "33:6", "keyword shape 'if' declared twice; first declared on "
     "line 32", true},
    {stOutTermDefined, "o\n[Actions]", "o\no\n[Actions]", "25:1", "output terminal 'o' declared twice", true},
    {stActionDefined, "a\n[Productions]", "a\na\n[Productions]", "27:1", "action 'a' declared twice", true},
    {stProductionDefined, "T ::= (kw)(plus)", "T ::= (id)", "30:1", "production declared twice; first declared on "
     "line 29", true},
    {stSymbolTwice, "plus = +", "plus = +\nid = +", "35:6", "symbol '+' declared twice; first declared on line 34",
     true},
    {stSpecialTerminalUnknown, "IdName = id", "IdName = ident", "15:10", "'ident' of IdName is no declared terminal",
     false},
    // A section that the description needs, missing or empty.
    {stNotAllocated, "[Productions]\nE ::= [T]{a}<o>\nT ::= (id)\nT ::= (kw)(plus)\n", "", "27:1",
     "missing section [Productions]: it must come before [Keywords]", true},
    {stNotAllocated, "E ::= [T]{a}<o>\nT ::= (id)\nT ::= (kw)(plus)\n", "", "27:1",
     "section [Productions] declares no productions", false},
    {stNotAllocated, "[Nonterminals]\nE\nT\n", "", "20:1", "missing section [Nonterminals]: it must come before "
     "[OutTerms]", true},
    {stNotAllocated, "[Actions]\na\n", "", "26:11", "unknown action 'a'; the description declares no actions", true},
};

TEST(StatusDiagnostics, EveryReadingStatusNamesItsLineAndColumn) {
  ASSERT_EQ(Describe(kBase).status, stOk);
  for (const Case& c : kCases) {
    std::string text(kBase);
    const std::size_t at = text.find(c.from);
    ASSERT_NE(at, std::string::npos) << c.from;
    text.replace(at, c.from.size(), c.to);
    Described d = Describe(text);
    const std::string label = "status " + std::to_string(c.status) + ", '" + std::string(c.to) + "'";
    EXPECT_EQ(d.status, c.status) << label;
    // One diagnostic, an error, at the place, naming the fault.
    const std::string head = "desc.lang:" + std::string(c.place) + ": error: ";
    EXPECT_TRUE(d.err.starts_with(head)) << label << "\n" << d.err;
    const std::string first = d.err.substr(0, d.err.find('\n'));
    EXPECT_NE(first.find(c.text), std::string::npos) << label << "\n" << d.err;
    EXPECT_EQ(d.err.find("desc.lang", 1), std::string::npos) << label << "\n" << d.err;
    // The listing's last line is the diagnostic's where the fault lies in the line being read.
    const std::string line = std::string(c.place.substr(0, c.place.find(':')));
    const std::size_t last = d.listing.rfind("CFG: ");
    ASSERT_NE(last, std::string::npos) << label;
    const bool agrees = d.listing.compare(last, 6 + line.size(), "CFG: " + line + " ") == 0;
    EXPECT_EQ(agrees, c.listingAgrees) << label << "\n" << d.listing.substr(last);
  }
}

}  // namespace
}  // namespace parvolen
