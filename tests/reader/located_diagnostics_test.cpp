// The located diagnostics of the reader: each case a description and the whole of standard
// error, with the status and standard output of the reading as they were before diagnostics.
#include <gtest/gtest.h>

#include <string>

#include "support/describe.h"

namespace parvolen {
namespace {

// A [Language] section with room for the productions of the cases below.
constexpr std::string_view kHead =
    "[Language]\nStartingSymbol = E\nNonterminals = 2\nTerminals = 4\nProductions = 4\nEdges = 20\n"
    "Views = 20\nNodes = 20\nLookahead = 1\n";
constexpr std::string_view kTables = "[Terminals]\nnum\nlpar\nrpar\n[Nonterminals]\nE\n[Productions]\n";

struct Case {
  std::string description;
  std::string text;
  Status status;
  std::string err;
};

TEST(LocatedDiagnostics, PointAtTheOffendingText) {
  const std::string head(kHead);
  const std::string tables = head + std::string(kTables);
  const Case cases[] = {
      {"unknown terminal, with a blank line and indentation before it; lines count as in the file",
       head + "\n[Terminals]\n  num\n  lpar\n  rpar\n[Nonterminals]\nE\n[Productions]\nE ::= (num)\n\tE ::= (lpar)[E](rpr)\n",
       stUnknownTerminal,
       "desc.lang:19:18: error: unknown terminal 'rpr'; did you mean 'rpar'?\n"
       "   19 | \tE ::= (lpar)[E](rpr)\n"
       "      | \t                ^~~\n"},
      {"unknown nonterminal far from every name: no hint", tables + "E ::= [Term]\n", stUnknownNonterminal,
       "desc.lang:17:8: error: unknown nonterminal 'Term'\n"
       "   17 | E ::= [Term]\n"
       "      |        ^~~~\n"},
      {"action without [Actions]", tables + "E ::= (num){act}\n", stNotAllocated,
       "desc.lang:17:13: error: unknown action 'act'; the description declares no actions\n"
       "   17 | E ::= (num){act}\n"
       "      |             ^~~\n"},
      {"text between the symbols", tables + "E ::= (num) (lpar)\n", stEdgeLeftDelim,
       "desc.lang:17:12: error: expected '(', '[', '{' or '<' to begin a symbol of the right side; "
       "the symbols of a right side follow each other without blanks\n"
       "   17 | E ::= (num) (lpar)\n"
       "      |            ^\n"},
      {"unknown [Language] key", "[Language]\nStartingSymbol = E\nLookahed = 2\n", stUnknownKey,
       "desc.lang:3:1: error: unknown key 'Lookahed' in [Language]; did you mean 'Lookahead'?\n"
       "    3 | Lookahed = 2\n"
       "      | ^~~~~~~~\n"},
      {"value out of range", "[Language]\n   Lookahead = 9\n", stValueTooHigh,
       "desc.lang:2:16: error: '9' is too high for 'Lookahead'; at most 5\n"
       "    2 |    Lookahead = 9\n"
       "      |                ^\n"},
      {"no yes/no value", "[Language]\nAllAheads = maybe\n", stYesNoExpected,
       "desc.lang:2:13: error: 'maybe' is no yes/no value for 'AllAheads'; write yes or no\n"
       "    2 | AllAheads = maybe\n"
       "      |             ^~~~~\n"},
      {"header out of order", head + "[Terminals]\nnum\n[Language]\n", stBadSection,
       "desc.lang:12:1: error: section [Language] out of order: it must come before [Terminals]; sections come "
       "in this order: [Language], [Terminals], [Nonterminals], [OutTerms], [Actions], [Productions], "
       "[Keywords], [Symbols], [OutShapes], [Instructions]\n"
       "   12 | [Language]\n"
       "      | ^~~~~~~~~~\n"},
      {"misspelt header", "[Language]\nStartingSymbol = E\n[Terminls]\n", stBadSection,
       "desc.lang:3:1: error: unknown section [Terminls]; did you mean '[Terminals]'?\n"
       "    3 | [Terminls]\n"
       "      | ^~~~~~~~~~\n"},
      {"misspelt starting symbol: at its [Language] line",
       "[Language]\nStartingSymbol =  Expr\nNonterminals = 2\nTerminals = 2\n[Terminals]\nnum\n[Nonterminals]\nExp\n"
       "[Productions]\n",
       stUnknownNonterminal,
       "desc.lang:2:19: error: starting symbol 'Expr' is no declared nonterminal; did you mean 'Exp'?\n"
       "    2 | StartingSymbol =  Expr\n"
       "      |                   ^~~~\n"},
      {"no starting symbol: the file", "[Language]\nNonterminals = 2\n[Nonterminals]\nE\n", stUnknownNonterminal,
       "desc.lang: error: no starting symbol; name it with StartingSymbol in [Language]\n"},
      {"misspelt special terminal", "[Language]\nIdName = ident\nTerminals = 2\n[Terminals]\nid\nnum\n",
       stSpecialTerminalUnknown,
       "desc.lang:2:10: error: 'ident' of IdName is no declared terminal\n"
       "    2 | IdName = ident\n"
       "      |          ^~~~~\n"},
      {"a name declared twice: the first declaration's line", head + "[Terminals]\nnum\nlpar\n\n   num\n",
       stTerminalDefined,
       "desc.lang:14:4: error: terminal 'num' declared twice; first declared on line 11\n"
       "   14 |    num\n"
       "      |    ^~~\n"},
      {"a fault without a closer location names the line",
       head + "SemInsts = 2\nActions = 1\n" + std::string(kTables).substr(0, 43) + "[Actions]\na\n[Productions]\n" +
           "E ::= (num)\n[Instructions]\n#a\nl: push s0\n",
       stNotFinished,
       "desc.lang:24:1: error: internal: Application not finished\n"
       "   24 | l: push s0\n"
       "      | ^~~~~~~~~~\n"},
      {"';' ends the description early: a warning, the reading succeeds as before",
       tables + "E ::= (num)\n; more to come\n\nE ::= (lpar)[E](rpar)\n  \nE ::= [E](num)\n", stOk,
       "desc.lang:18:1: warning: ';' at the beginning of a line ends the description: the 2 non-blank lines "
       "after it are not read; the description format has no comment lines\n"
       "   18 | ; more to come\n"
       "      | ^\n"},
      {"';' as the last line: nothing to say", tables + "E ::= (num)\n; end\n", stOk, ""},
      {"a line that begins with a NUL byte ends the description: a warning at the byte, shown escaped",
       tables + "E ::= (num)\n  " + std::string(1, '\0') + " E ::= (x)\n\nE ::= (y)\n", stOk,
       "desc.lang:18:3: warning: a NUL byte at the beginning of a line ends the description: the 1 non-blank line "
       "after it is not read; a description is text, and a NUL byte ends the line it stands in\n"
       "   18 |   \\x00\n"
       "      |   ^~~~\n"},
      {"a NUL-led last line: a warning all the same", tables + "E ::= (num)\n" + std::string(1, '\0') + "\n", stOk,
       "desc.lang:18:1: warning: a NUL byte at the beginning of a line ends the description; a description is "
       "text, and a NUL byte ends the line it stands in\n"
       "   18 | \\x00\n"
       "      | ^~~~\n"},
      {"a [Language] key given twice, in another case: a warning at the second",
       head + "lookahead = 2\n" + std::string(kTables) + "E ::= (num)\n", stOk,
       "desc.lang:10:1: warning: key 'lookahead' given again in [Language]: this value replaces the one before; "
       "first given on line 9\n"
       "   10 | lookahead = 2\n"
       "      | ^~~~~~~~~\n"},
      {"a section before one that must precede it, which follows: both named",
       head + "[Terminals]\nnum\n[Nonterminals]\nE\n[Keywords]\nnum = n\n[Productions]\nE ::= (num)\n", stNotAllocated,
       "desc.lang:14:1: error: section [Keywords] came too early: it must come after [Productions] (line 16); "
       "sections come in this order: [Language], [Terminals], [Nonterminals], [OutTerms], [Actions], [Productions], "
       "[Keywords], [Symbols], [OutShapes], [Instructions]\n"
       "   14 | [Keywords]\n"
       "      | ^~~~~~~~~~\n"},
      {"control bytes and UTF-8 of the line: escaped, and the caret by display columns",
       tables + "E ::= (\xc3\xa9\x1b[2J)(rpr)\n", stUnknownTerminal,
       "desc.lang:17:8: error: unknown terminal '\xc3\xa9\\x1b[2J'\n"
       "   17 | E ::= (\xc3\xa9\\x1b[2J)(rpr)\n"
       "      |        ^~~~~~~~\n"},
  };
  for (const Case& c : cases) {
    Described d = Describe(c.text);
    EXPECT_EQ(d.status, c.status) << c.description;
    EXPECT_EQ(d.err, c.err) << c.description;
    // Standard output carries no diagnostic.
    EXPECT_EQ(d.out.find("desc.lang"), std::string::npos) << c.description;
  }
}

}  // namespace
}  // namespace parvolen
