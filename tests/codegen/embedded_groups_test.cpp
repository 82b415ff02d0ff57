// Groups, operators and preferences in the productions of the embeddable translator: each
// description with groups against the plain productions written by hand (the fresh
// nonterminals declared last, the productions in the order the groups are written out in): the
// real program writes the same translator for both, byte for byte. Then the places and texts of
// what goes wrong.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "codegen_fixture.h"
#include "support/describe.h"

namespace parvolen {
namespace {

using namespace testing_codegen;

const std::string kHead =
    "[Language]\nStartingSymbol = S\nEofName = eoi\nLookahead = 1\n[Terminals]\na\nb\nc\nd\neoi\n";
const std::string kTail =
    "[OutTerms]\nout\n[Actions]\nact\n[Productions]\n";
const std::string kWords = "[Keywords]\na = a\nb = b\nc = c\nd = d\n[OutShapes]\nout = o\n";

struct Program {
  int status = 0;
  std::string out, err, c;
};

// Runs parvolen --prefix=lang over the description in a directory of its own.
Program Generate(const fs::path& dir, const std::string& description, const std::string& options = "") {
  fs::create_directories(dir);
  WriteFile(dir / "g.lang", description);
  const std::string command = "cd '" + dir.string() + "' && '" + PARVOLEN_PROGRAM + "' -q " + options +
                              " --prefix=lang g.lang . > out.txt 2> err.txt";
  const int raw = std::system(command.c_str());
  Program p;
  p.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  p.out = ReadFile(dir / "out.txt");
  p.err = ReadFile(dir / "err.txt");
  p.c = ReadFile(dir / "lang.c");
  return p;
}

std::string Description(const std::string& nonterminals, const std::string& productions,
                        const std::string& language = "") {
  return kHead.substr(0, 11) + language + kHead.substr(11) + "[Nonterminals]\n" + nonterminals + kTail +
         productions + kWords;
}

struct Case {
  std::string name;
  std::string groups;  // productions with groups, nonterminals S and X
  std::string fresh;   // the nonterminals the groups make, one a line
  std::string plain;   // the same grammar by hand
  std::string language = "";  // more [Language] keys for the plain grammar
  std::string declared = "";  // more nonterminals of both
};

TEST(EmbeddedGroups, WriteOutAsTheHandWrittenGrammar) {
  const Case cases[] = {
      {"zero or more of a symbol", "S ::= (a)[X]*(eoi)\nX ::= (b)\n", "S_list1\n",
       "S ::= (a)[S_list1](eoi)\nX ::= (b)\nS_list1 ::= [S_list1][X]\nS_list1 ::=\n"},
      {"one or more of a group", "S ::= /(a)(b)/+(eoi)\nX ::= (b)\n", "S_list1\n",
       "S ::= [S_list1](eoi)\nX ::= (b)\nS_list1 ::= [S_list1](a)(b)\nS_list1 ::= (a)(b)\n"},
      {"an optional group shares the beginning", "S ::= (a)/(b)[X]/?(c)(eoi)\nX ::= (d)\n", "",
       "S ::= (a)(b)[X](c)(eoi)\nS ::= (a)(c)(eoi)\nX ::= (d)\n"},
      {"a list in an optional part", "S ::= (a)/[X]/(c)[X]/*/?(d)(eoi)\nX ::= (b)\n", "S_list1\n",
       "S ::= (a)[X][S_list1](d)(eoi)\nS ::= (a)(d)(eoi)\nX ::= (b)\nS_list1 ::= [S_list1](c)[X]\nS_list1 ::=\n"},
      {"an optional part in a list, actions and output where they stand",
       "S ::= /(a){act}(b)?<out>/*(eoi)\nX ::= (d)\n", "S_list1\n",
       "S ::= [S_list1](eoi)\nX ::= (d)\nS_list1 ::= [S_list1](a){act}(b)<out>\n"
       "S_list1 ::= [S_list1](a){act}<out>\nS_list1 ::=\n"},
      {"groups beside left recursion", "S ::= [X](eoi)\nX ::= [X](c)?(d)\nX ::= (b)[S]*\n", "X_list1\n",
       "S ::= [X](eoi)\nX ::= [X](c)(d)\nX ::= [X](d)\nX ::= (b)[X_list1]\nX_list1 ::= [X_list1][S]\nX_list1 ::=\n"},
      {"a fresh name avoids a declared one", "S ::= [S_list1][X]*(eoi)\nX ::= (b)\nS_list1 ::= (a)\n", "S_list2\n",
       "S ::= [S_list1][S_list2](eoi)\nS_list2 ::= [S_list2][X]\nS_list2 ::=\nX ::= (b)\nS_list1 ::= (a)\n", "",
       "S_list1\n"},
      {"a preference settles the dangling else as Extended does",
       "S ::= [X](eoi)\nX ::= (a)[X]/!(b)[X]/?\nX ::= (c)\n", "",
       "S ::= [X](eoi)\nX ::= (a)[X](b)[X]\nX ::= (a)[X]\nX ::= (c)\n", "Extended = yes\n"},
  };
  const fs::path work = ScratchDir();
  int n = 0;
  for (const Case& c : cases) {
    const fs::path dir = work / std::to_string(++n);
    const Program groups = Generate(dir / "groups", Description("S\nX\n" + c.declared, c.groups));
    const Program plain = Generate(dir / "plain", Description("S\nX\n" + c.declared + c.fresh, c.plain, c.language));
    EXPECT_EQ(groups.status, 0) << c.name << "\n" << groups.err;
    EXPECT_EQ(plain.status, 0) << c.name << "\n" << plain.err;
    EXPECT_FALSE(groups.c.empty()) << c.name;
    EXPECT_EQ(groups.c, plain.c) << c.name;
  }
}

// What goes wrong, with the whole of standard error: faults of the notation, the notation in a
// classic reading, and a conflict in a fresh nonterminal, at its group.
TEST(EmbeddedGroups, DiagnosticsStandWhereTheGroupIsWritten) {
  struct Fault {
    std::string productions;
    bool embedded;
    Status status;
    std::string err;
  };
  const std::string nonterminals = "S\nX\n";
  const std::string capacities =
      "Terminals = 10\nNonterminals = 5\nOutTerms = 2\nActions = 2\nProductions = 20\nKeywords = 10\nEdges = 100\n"
      "Views = 100\nNodes = 100\nSymbNodes = 10\n";
  const Fault faults[] = {
      {"S ::= (a)/(b)(c)(eoi)\n", true, stEdgeRightDelim,
       "desc.lang:29:10: error: the group has no closing '/' with its operator; close it with '/*' (zero or more), "
       "'/+' (one or more) or '/?' (optional)\n"
       "   29 | S ::= (a)/(b)(c)(eoi)\n"
       "      |          ^~~~~~~~~~~~\n"},
      {"S ::= (a)/?(eoi)\n", true, stEdgeLeftDelim,
       "desc.lang:29:10: error: '/?' closes a group, but none is open; a group opens with '/' before its first symbol\n"
       "   29 | S ::= (a)/?(eoi)\n"
       "      |          ^~\n"},
      {"S ::= (a)*?(eoi)\n", true, stEdgeLeftDelim,
       "desc.lang:29:11: error: '?' follows a symbol or a group only once; write the part as a group, '/.../?', "
       "to apply a second operator\n"
       "   29 | S ::= (a)*?(eoi)\n"
       "      |           ^\n"},
      {"S ::= (a)//*(eoi)\n", true, stEdgeLeftDelim,
       "desc.lang:29:10: error: a group holds at least one symbol\n"
       "   29 | S ::= (a)//*(eoi)\n"
       "      |          ^~~\n"},
      {"S ::= (a)/[Y]/*(eoi)\n", true, stUnknownNonterminal,
       "desc.lang:29:12: error: unknown nonterminal 'Y'; did you mean 'S'?\n"
       "   29 | S ::= (a)/[Y]/*(eoi)\n"
       "      |            ^\n"},
      {"S ::= (a)[X]*(eoi)\n", false, stEdgeLeftDelim,
       "desc.lang:29:13: error: expected '(', '[', '{' or '<' to begin a symbol of the right side; only the "
       "embeddable translator reads groups and their operators: run with --prefix=NAME\n"
       "   29 | S ::= (a)[X]*(eoi)\n"
       "      |             ^\n"},
  };
  for (const Fault& f : faults) {
    Described d = Describe(Description(nonterminals, f.productions, capacities), f.embedded);
    EXPECT_EQ(d.status, f.status) << f.productions;
    EXPECT_EQ(d.err, f.err) << f.productions;
  }
  // Groups nested without end stop at a depth, not at the end of the stack.
  const Described deep = Describe(Description(nonterminals, "S ::= " + std::string(100000, '/') + "\n", capacities), true);
  EXPECT_EQ(deep.status, stEdgeLeftDelim);
  EXPECT_NE(deep.err.find("desc.lang:29:107: error: groups nest at most 100 deep"), std::string::npos) << deep.err;
  // The loop of X's list meets what follows it on 'b': the choice of the fresh nonterminal is
  // told at the group, and a preference there settles it with a note.
  const fs::path work = ScratchDir();
  const std::string loop = "S ::= [X](b)(eoi)\nX ::= (a)/(b)(c)?/*\n";
  const Program conflict = Generate(work / "conflict", Description(nonterminals, loop));
  EXPECT_EQ(conflict.status, stNotKindGiven);
  EXPECT_NE(conflict.err.find("g.lang:20:11: error: the embeddable translator cannot decide the choice of [X_list1] in "
                              "the tails, after [X_list1] on 1 terminal: both leaving the tail loop and (b) can begin "
                              "with 'b'; the choice is reached, for instance, after 'a'\n"
                              "   20 | X ::= (a)/(b)(c)?/*\n"
                              "      |           ^~~\n"),
            std::string::npos)
      << conflict.err;
  const std::string preferred = "S ::= [X](b)(eoi)\nX ::= (a)/!(b)(c)?/*\n";
  const Program settled = Generate(work / "settled", Description(nonterminals, preferred));
  EXPECT_EQ(settled.status, 0) << settled.err;
  EXPECT_NE(settled.err.find("g.lang:20:12: note: the choice of [X_list1] in the tails, after [X_list1] takes (b) on 'b'"),
            std::string::npos)
      << settled.err;
}

}  // namespace
}  // namespace parvolen
