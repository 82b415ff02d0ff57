// [Tokens] through the whole run of `parvolen --prefix`: each case a description's [Tokens]
// section and the status and standard error it gives, from the reading (patterns, names) to the
// check of the lexicon (tokens never matched, terminals nothing lexes, the automaton's limits).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/describe.h"
#include "support/run_capture.h"

namespace parvolen {
namespace {

// [Tokens] is line 25, so the first of its lines is line 26.
constexpr std::string_view kHead =
    "[Language]\nStartingSymbol = S\nEofName = eoi\nTerminals = 6\nNonterminals = 2\nProductions = 4\n"
    "Edges = 30\nViews = 30\nNodes = 30\nKeywords = 2\nSymbNodes = 4\nLookahead = 1\n"
    "[Terminals]\nname\nnumber\nkw if\neoi\nword\n";
constexpr std::string_view kRest =
    "[Nonterminals]\nS\n[Productions]\nS ::= (kw if)(name)(number)(eoi)\n[Keywords]\nkw if = if\n[Tokens]\n";

struct Case {
  std::string what;
  std::string tokens;
  Status status;
  std::string err;
};

TEST(TokensDiagnostics, EachFaultAtItsPlace) {
  const Case cases[] = {
      {"a clean lexicon", "name = [a-z]+\nnumber = [0-9]+\n", stOk, ""},
      {"an unbalanced parenthesis, at the opening one", "name = ([a-z]+\nnumber = [0-9]+\n", stBadPattern,
       "desc.lang:26:8: error: unbalanced '('\n"
       "   26 | name = ([a-z]+\n"
       "      |        ^\n"},
      {"a reversed range", "name = [z-a]+\nnumber = [0-9]+\n", stBadPattern,
       "desc.lang:26:9: error: range 'z-a' is empty: its ends are reversed\n"
       "   26 | name = [z-a]+\n"
       "      |         ^~~\n"},
      {"an unknown fragment", "{digit} = [0-9]\nname = [a-z]+\nnumber = {digits}+\n", stBadPattern,
       "desc.lang:28:10: error: unknown name 'digits'\n"
       "   28 | number = {digits}+\n"
       "      |          ^~~~~~~~\n"},
      {"a token that matches the empty text", "name = [a-z]*\nnumber = [0-9]+\n", stBadPattern,
       "desc.lang:26:8: error: the pattern matches the empty text; every match must take at least one byte: use "
       "+ instead of *, or drop the ?\n"
       "   26 | name = [a-z]*\n"
       "      |        ^~~~~~\n"},
      {"a name that is no terminal", "nmae = [a-z]+\n", stUnknownTerminal,
       "desc.lang:26:1: error: 'nmae' is no declared terminal; declare it in [Terminals], or write {nmae} for a "
       "fragment\n"
       "   26 | nmae = [a-z]+\n"
       "      | ^~~~\n"},
      {"a keyword's terminal", "kw if = if\n", stTerminalDefined,
       "desc.lang:26:1: error: terminal 'kw if' is spelt by a keyword 'if'; a terminal is lexed either by "
       "[Keywords] or [Symbols] or by [Tokens]\n"
       "   26 | kw if = if\n"
       "      | ^~~~~\n"},
      {"a token that an earlier line always beats: a warning naming the winner",
       "name = [a-z]+\nnumber = [0-9]+\nword = [a-z]+\n", stOk, ""},
      {"a terminal of the productions that nothing lexes, at its declaration", "name = [a-z]+\n",
       stUnknownTerminal,
       "desc.lang:15:1: error: terminal 'number' is used in productions but nothing lexes it; define it in [Tokens], "
       "[Keywords] or [Symbols], or name it in [Language] (IdName, NumName, StrName, CharName)\n"
       "   15 | number\n"
       "      | ^~~~~~\n"},
      {"a keyword that beats a token of the same text",
       "name = [a-z]+\nnumber = [0-9]+|if\n", stOk, ""},
      {"an automaton beyond its limits, blamed on its token", "name = [a-z]+\nnumber = (0|1)*0(0|1){16}\n",
       stTooManySymbNodes, ""},
  };
  for (const Case& c : cases) {
    const std::string path = TempPath("tokens") + ".lang";
    {
      std::FILE* f = std::fopen(path.c_str(), "w");
      ASSERT_NE(f, nullptr);
      const std::string text = std::string(kHead) + std::string(kRest) + c.tokens;
      std::fwrite(text.data(), 1, text.size(), f);
      std::fclose(f);
    }
    const std::string dir = TempPath("tokens-out");
    std::filesystem::create_directories(dir);
    const std::string prefixArg = "--prefix=t";
    const Outcome o = RunWith({"-q", prefixArg, path, dir});
    std::string err = o.err;
    for (std::size_t at; (at = err.find(path)) != std::string::npos;) err.replace(at, path.size(), "desc.lang");
    // The terminal that the shadowing case needs is used by no production: not the point here.
    const std::string unused = "desc.lang:18:1: warning: terminal 'word' is used by no production\n   18 | word\n      | ^~~~\n";
    if (err.rfind(unused, 0) == 0) err.erase(0, unused.size());
    EXPECT_EQ(o.status, c.status) << c.what << "\n" << err;
    const bool shadowed = c.what.rfind("a token that an earlier", 0) == 0;
    if (shadowed) {
      EXPECT_NE(err.find("desc.lang:28:1: warning: token 'word' can never be matched: token 'name' always wins"),
                std::string::npos)
          << err;
    } else if (!c.err.empty() || c.status == stOk) {
      EXPECT_EQ(err, c.err) << c.what;
    }
    if (c.status == stTooManySymbNodes) {
      EXPECT_NE(err.find("desc.lang:27:1: error: the automaton of the lexicon grows beyond its limits at token 'number'"),
                std::string::npos)
          << err;
    }
  }
}

}  // namespace
}  // namespace parvolen
