// The diagnostics about a grammar that a run of parvolen prints on standard error: one case
// list of descriptions with their command-line options, the status and the end of standard
// output they must give, and fragments that standard error must hold in this order (or be empty).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/console.h"
#include "driver/command_line.h"
#include "driver/run.h"
#include "support/describe.h"
#include "support/run_capture.h"

namespace parvolen {
namespace {

// Capacities large enough for every case; the sections follow. Lines 1 to 12.
constexpr std::string_view kHeader =
    "[Language]\nStartingSymbol = S\nTerminals = 20\nNonterminals = 20\nProductions = 40\nEdges = 200\n"
    "Views = 2000\nNodes = 400\nKeywords = 10\nSymbNodes = 20\nActions = 5\nOutTerms = 5\n";

// A right-recursive list followed by an optional part; the list ends the input.
constexpr std::string_view kFollowLoss =
    "EofName = eoi\n"                                                        // 13
    "[Terminals]\nx\ny\nsemi\neoi\n"                                         // 14-18
    "[Nonterminals]\nS\nL\nX\nOpt\n"                                         // 19-23
    "[Productions]\nS ::= [L](semi)(eoi)\nL ::= [X][L]\nL ::=\nX ::= (x)[Opt]\nOpt ::= (y)\nOpt ::=\n";  // 24-30

// A choice that a second terminal decides, at Lookahead 2.
constexpr std::string_view kSecondTerminal =
    "EofName = eoi\nLookahead = 2\n"                           // 13-14
    "[Terminals]\nname\nassign\nopen\neoi\n"                   // 15-19
    "[Nonterminals]\nS\nAssign\nCall\n"                        // 20-23
    "[Productions]\nS ::= [Assign](eoi)\nS ::= [Call](eoi)\n"  // 24-26
    "Assign ::= (name)(assign)\nCall ::= (name)(open)\n";      // 27-28

// Declarations that no production uses, each kind once.
constexpr std::string_view kUnused =
    "EofName = eoi\n"                                            // 13
    "[Terminals]\na\nspare\neoi\n"                               // 14-17
    "[Nonterminals]\nS\nLost\n"                                  // 18-20
    "[OutTerms]\nshown\nhidden\n"                                // 21-23
    "[Actions]\ndone\nidle\n"                                    // 24-26
    "[Productions]\nS ::= (a){done}<shown>(eoi)\nLost ::= (a)\n"  // 27-29
    "[Keywords]\n  spare = spare\na = a\n"                        // 30-32
    "[Symbols]\nspare = ##\n";                                    // 33-34

// The same with IdName, which keywords need (one line more before the sections).
constexpr std::string_view kUnusedNamed =
    "IdName = spare\nEofName = eoi\n[Terminals]\na\nspare\neoi\n[Nonterminals]\nS\nLost\n[OutTerms]\nshown\nhidden\n"
    "[Actions]\ndone\nidle\n[Productions]\nS ::= (a){done}<shown>(eoi)\nLost ::= (a)\n"
    "[Keywords]\n  spare = spare\na = a\n[Symbols]\nspare = ##\n";

// Indirect left recursion: no lookahead decides it.
constexpr std::string_view kIndirect =
    "[Terminals]\nplus\nnum\n"                                          // 13-15
    "[Nonterminals]\nS\nSum\n"                                          // 16-18
    "[Productions]\nS ::= [Sum]\nSum ::= [S](plus)(num)\nSum ::= (num)\n";  // 19-22

// Two alternatives that begin alike at Lookahead 1.
constexpr std::string_view kConflict =
    "[Terminals]\nname\nassign\nopen\n"                                   // 13-16
    "[Nonterminals]\nS\nAssign\nCall\n"                                   // 17-20
    "[Productions]\nS ::= [Assign]\nS ::= [Call]\n"                       // 21-23
    "Assign ::= (name)(assign)\nCall ::= (name)(open)\n";                 // 24-25

// An optional part that the end of the input decides, without an end-of-input terminal.
constexpr std::string_view kEndUnseen =
    "[Terminals]\na\nb\n[Nonterminals]\nS\nB\n[Productions]\nS ::= (a)[B]\nB ::= (b)\nB ::=\n";  // 13-22

// A nonterminal that never ends its recursion and one that has no production, both used.
constexpr std::string_view kUseless =
    "EofName = eoi\n"                                                          // 13
    "[Terminals]\nident\nx\neoi\n"                                            // 14-17
    "[Nonterminals]\nS\nLoop\nGone\n"                                         // 18-21
    "[Productions]\nS ::= (x)(eoi)\nS ::= [Loop](eoi)\nS ::= (eoi)[Gone]\n"     // 22-25
    "Loop ::= (ident)[Loop]\n";                                                // 26

// The same without the undefined nonterminal: the embeddable translator takes the one
// production left at the start.
constexpr std::string_view kNeverCompletes =
    "EofName = eoi\nIdName = ident\n"                          // 13-14
    "[Terminals]\nident\nx\neoi\n"                            // 15-18
    "[Nonterminals]\nS\nLoop\n"                                // 19-21
    "[Productions]\nS ::= (x)(eoi)\nS ::= [Loop](eoi)\n"       // 22-24
    "Loop ::= (ident)[Loop]\n[Symbols]\nx = x\n";              // 25-27

// A starting symbol that derives nothing.
constexpr std::string_view kEmptyStart =
    "[Terminals]\nx\n[Nonterminals]\nS\n[Productions]\nS ::= (x)[S]\n";  // 13-18

// Keywords without IdName.
constexpr std::string_view kNoIdName =
    "[Terminals]\nif\nx\n[Nonterminals]\nS\n[Productions]\nS ::= (if)(x)\n[Keywords]\nif = if\n[Symbols]\nx = +\n";  // 13-22

// Extended = yes: the tail loop of L always continues on x, which must also follow it.
constexpr std::string_view kEndlessLoop =
    "Extended = yes\n"                                                // 13
    "[Terminals]\na\nx\n[Nonterminals]\nS\nL\n"                      // 14-19
    "[Productions]\nS ::= [L](x)\nL ::= [L](x)\nL ::= (a)\n"           // 20-23
    "[Symbols]\na = a\nx = x\n";                                      // 24-26

// Extended = yes: the dangling else, where the else part takes 'else' from ending.
constexpr std::string_view kDanglingElse =
    "Extended = yes\nEofName = eoi\n"                                                 // 13-14
    "[Terminals]\nif\nthen\nelse\ns\neoi\n[Nonterminals]\nS\nStmt\n"                 // 15-23
    "[Productions]\nS ::= [Stmt](eoi)\nStmt ::= (if)(then)[Stmt](else)[Stmt]\n"       // 24-26
    "Stmt ::= (if)(then)[Stmt]\nStmt ::= (s)\n"                                       // 27-28
    "[Symbols]\nif = if\nthen = then\nelse = else\ns = s\n";                           // 29-33

// Extended = yes: after (a) ending A loses 'b' to (b)(c) but keeps 'eoi'.
constexpr std::string_view kPreference =
    "Extended = yes\nEofName = eoi\n"                                                  // 13-14
    "[Terminals]\na\nb\nc\neoi\n[Nonterminals]\nS\nA\n"                               // 15-22
    "[Productions]\nS ::= [A](b)(eoi)\nS ::= [A](eoi)\nA ::= (a)\nA ::= (a)(b)(c)\n"    // 23-27
    "[Symbols]\na = a\nb = b\nc = c\n";                                                // 28-31

// Extended = yes, Lookahead = 2: after (a) ending A and (b)(c) both claim 'b c'; 'eoi' after
// 'b c' tells the production that ends from the one that goes on only at the third terminal.
constexpr std::string_view kPreferenceTwo =
    "Extended = yes\nEofName = eoi\nLookahead = 2\n"                                   // 13-15
    "[Terminals]\na\nb\nc\neoi\n[Nonterminals]\nS\nA\n"                          // 16-23
    "[Productions]\nS ::= [A](b)(c)(eoi)\nA ::= (a)\nA ::= (a)(b)(c)\n";               // 24-27

// The same choice where two terminals tell them apart: ending A is taken on 'b eoi'.
constexpr std::string_view kNoCollisionTwo =
    "Extended = yes\nEofName = eoi\nLookahead = 2\n"                                   // 13-15
    "[Terminals]\na\nb\nc\neoi\n[Nonterminals]\nS\nA\n"                          // 16-23
    "[Productions]\nS ::= [A](b)(eoi)\nA ::= (a)\nA ::= (a)(b)(c)\n";                  // 24-27

// Extended = yes: a tail that reads no terminal is never taken again and again.
constexpr std::string_view kEmptyTail =
    "Extended = yes\nEofName = eoi\n"                                                  // 13-14
    "[Terminals]\nt\neoi\n[Nonterminals]\nS\nN\n[OutTerms]\no\n"                     // 15-22
    "[Productions]\nS ::= [N](eoi)\nN ::= [N]<o>\nN ::= (t)\nN ::=\n"                 // 23-27
    "[Symbols]\nt = t\n";                                                              // 28-29

constexpr std::string_view kClean =
    "EofName = eoi\n[Terminals]\na\neoi\n[Nonterminals]\nS\n[Productions]\nS ::= (a)(eoi)\n";

constexpr std::string_view kDone = "\nDone.\n";
constexpr std::string_view kNotKindGiven = "\nGrammar is not kind for given lookahead.\n\n\n";
constexpr std::string_view kNotKindAny = "\nGrammar is not kind for any lookahead.\n\n\n";
constexpr std::string_view kUnknownNonterminal = "\nUnknown nonterminal name.\n\n\n";
constexpr std::string_view kSpecialUnknown =
    "\nTerminal name specified in [Language] section was not in [Terminal] section.\n\n\n";

struct Case {
  std::string_view name;
  std::string_view body;  // after kHeader
  std::vector<std::string_view> options;
  Status status;
  std::string_view out;                // the end of standard output
  std::vector<std::string_view> err;   // in this order; none: standard error is empty
  std::string_view absent = {};        // when given, standard error does not hold it
};

const Case kCases[] = {
    {"follow loss warns", kFollowLoss, {}, stOk, kDone,
     {"desc.lang:30:1: warning: the generated parser rejects input that the grammar derives, such as 'x semi': "
      "on 'semi' the decision list of 'Opt' at the start has no entry for ending the production here; the "
      "right-recursive list 'L' loses what follows it; write the list left-recursive: L ::= [L][X] in place of "
      "line 26 (L ::= [X][L])\n   30 | Opt ::=\n      | ^~~~~~~\n"}},
    {"follow loss fails when strict", kFollowLoss, {"--strict"}, stNotKindGiven, kNotKindGiven,
     {"desc.lang:30:1: error: the generated parser rejects input that the grammar derives"}},
    {"second terminal warns", kSecondTerminal, {}, stOk, kDone,
     {"desc.lang:25:7: warning: the generated parser rejects input that the grammar derives, such as 'name assign': "
      "on 'name' the choice of 'S' between [Assign] and [Call] is left to a later terminal (Lookahead = 2), but the "
      "parser decides on one terminal; factor the common prefix",
      "   25 | S ::= [Assign](eoi)\n      |       ^~~~~~~~\n"}},
    {"second terminal fails when strict, even silenced", kSecondTerminal, {"-w", "--strict"}, stNotKindGiven,
     kNotKindGiven, {"desc.lang:25:7: error: the generated parser rejects input"}},
    {"silenced", kSecondTerminal, {"-w"}, stOk, kDone, {}},
    {"silenced by the long option", kUnused, {"--no-warnings"}, stOk, kDone, {}},
    {"end of input unseen", kEndUnseen, {}, stOk, kDone,
     {"desc.lang:22:1: warning: the generated parser rejects input that the grammar derives, such as 'a': at the "
      "end of the input 'B' has to take ending the production here, but no end-of-input terminal is named (EofName)"}},
    {"unused declarations", kUnused, {}, stOk, kDone,
     {"desc.lang:16:1: warning: terminal 'spare' is used by no production\n",
      "desc.lang:20:1: warning: nonterminal 'Lost' is never reached from the starting symbol 'S'\n",
      "desc.lang:23:1: warning: output terminal 'hidden' is used by no production\n",
      "desc.lang:26:1: warning: action 'idle' is used by no production\n",
      "desc.lang:31:3: warning: keyword 'spare' stands for terminal 'spare', which no production uses\n"
      "   31 |   spare = spare\n      |   ^~~~~\n",
      "desc.lang:34:1: warning: symbol '##' stands for terminal 'spare', which no production uses\n"}},
    {"unused declarations are no failure when strict", kUnusedNamed, {"--strict"}, stOk, kDone,
     {"desc.lang:17:1: warning: terminal 'spare'"}},
    {"cycle at the production that re-enters", kIndirect, {}, stNotKindAny, kNotKindAny,
     {"desc.lang:21:9: error: 'S' is entered again without reading a terminal: S -> Sum -> S; no lookahead decides "
      "such a grammar; write indirect left recursion as direct left recursion\n"
      "   21 | Sum ::= [S](plus)(num)\n      |         ^~~\n"}},
    {"conflict at both productions", kConflict, {"-w"}, stNotKindGiven, kNotKindGiven,
     {"desc.lang:23:7: error: the choice of 'S' at the start cannot be decided: both [Assign] and [Call] are taken on "
      "'name' (Lookahead = 1); let the productions share their beginning",
      "   23 | S ::= [Call]\n      |       ^~~~~~\n",
      "desc.lang:22:7: note: [Assign] is taken on 'name' as well\n   22 | S ::= [Assign]\n      |       ^~~~~~~~\n"}},
    {"useless symbols warn", kUseless, {}, stOk, kDone,
     {"desc.lang:20:1: warning: nonterminal 'Loop' derives no finite terminal string",
      "desc.lang:21:1: warning: nonterminal 'Gone' is used but never defined",
      "desc.lang:24:7: warning: this production of 'S' can never complete: 'Loop' derives no finite terminal string\n"
      "   24 | S ::= [Loop](eoi)\n      |       ^~~~~~\n",
      "desc.lang:25:12: warning: this production of 'S' can never complete: 'Gone' has no production\n",
      "desc.lang:26:17: warning: this production of 'Loop' can never complete"}},
    {"undefined nonterminal fails with --prefix, even silenced", kUseless, {"-w", "--prefix=p"}, stUnknownNonterminal,
     kUnknownNonterminal, {"desc.lang:21:1: error: nonterminal 'Gone' is used but never defined"}},
    {"never-completing productions with --prefix", kNeverCompletes, {"--prefix=p"}, stOk, kDone,
     {"desc.lang:21:1: warning: nonterminal 'Loop' derives no finite terminal string"}},
    {"empty start warns", kEmptyStart, {}, stOk, kDone,
     {"desc.lang:16:1: warning: the starting symbol 'S' derives no finite terminal string"}},
    {"empty start fails with --prefix", kEmptyStart, {"--prefix=p"}, stNotKindAny, kNotKindAny,
     {"desc.lang:16:1: error: the starting symbol 'S' derives no finite terminal string"}},
    {"keywords without IdName warn", kNoIdName, {}, stOk, kDone,
     {"desc.lang:21:1: warning: keywords are declared but IdName is not set"}},
    {"keywords without IdName fail when strict", kNoIdName, {"--strict"}, stSpecialTerminalUnknown,
     kSpecialUnknown, {"desc.lang:21:1: error: keywords are declared but IdName is not set"}},
    {"keywords without IdName are fine with --prefix", kNoIdName, {"--prefix=p"}, stOk, kDone, {}},
    {"a loop that never ends warns", kEndlessLoop, {}, stOk, kDone,
     {"desc.lang:22:10: warning: with Extended = yes the tail loop of 'L' goes on at 'x', which can also follow 'L': "
      "the generated parser never ends the loop before 'x' and rejects input that needs it to, such as 'a x'"}},
    {"a loop that never ends fails when strict", kEndlessLoop, {"--strict"}, stNotKindGiven, kNotKindGiven,
     {"desc.lang:22:10: error: with Extended = yes the tail loop of 'L'"}},
    {"a loop that never ends fails with --prefix", kEndlessLoop, {"--prefix=p"}, stNotKindGiven, kNotKindGiven,
     {"desc.lang:22:10: error: with Extended = yes the tail loop of [L] never ends: (x) is taken on every string "
      "that can follow it, such as 'x'; input that needs it is rejected, such as 'a x'"}},
    {"the dangling else loses no input with --prefix", kDanglingElse, {"--prefix=p"}, stOk, kDone, {}},
    {"a preference that loses input warns with --prefix", kPreference, {"--prefix=p"}, stOk, kDone,
     {"desc.lang:26:1: warning: with Extended = yes the choice of [A] after (a) takes (b) on 'b' (Lookahead = 1), "
      "never ending the production; input that needs it is rejected, such as 'a b eoi'"}},
    {"a tail that reads nothing with --prefix", kEmptyTail, {"--prefix=p"}, stOk, kDone, {}},
    {"a preference that loses input warns", kPreference, {}, stOk, kDone,
     {"desc.lang:26:1: warning: with Extended = yes the choice of 'A' after (a) takes (b) on 'b' (Lookahead = 1), "
      "never ending the production here: the generated parser rejects input that the grammar derives, such as "
      "'a b'; let the members of this choice begin with strings that cannot follow 'A'\n   26 | A ::= (a)\n"}},
    {"a preference that loses input fails when strict", kPreference, {"--strict"}, stNotKindGiven, kNotKindGiven,
     {"desc.lang:26:1: error: with Extended = yes the choice of 'A' after (a)"}},
    {"a preference on two terminals that collide", kPreferenceTwo, {}, stOk, kDone,
     {"desc.lang:26:1: warning: with Extended = yes the choice of 'A' after (a) takes (b) on 'b c' (Lookahead = 2), "
      "never ending the production here: the generated parser rejects input that the grammar derives, such as "
      "'a b c';"}},
    {"two terminals that do not collide lose nothing to the preference", kNoCollisionTwo, {}, stOk, kDone,
     {"on 'b' the choice of 'A' between end and (b) is left to a later terminal"}, "Extended"},
    {"the dangling else loses no input", kDanglingElse, {"--strict"}, stOk, kDone, {}},
    {"a clean grammar", kClean, {"--strict"}, stOk, kDone, {}},
};

Outcome RunOn(std::string_view text, std::vector<std::string_view> options, const std::string& target) {
  const std::string description = TempPath("grammar-warnings");
  std::ofstream(description, std::ios::binary) << text;
  std::vector<std::string_view> args = options;
  args.push_back("-q");
  args.push_back(description);
  args.push_back(target);
  Outcome outcome = RunWith(args);
  for (std::size_t at; (at = outcome.err.find(description)) != std::string::npos;)
    outcome.err.replace(at, description.size(), "desc.lang");
  std::remove(description.c_str());
  return outcome;
}

TEST(GrammarWarnings, CaseList) {
  const std::string target = TempPath("grammar-warnings-out");
  std::filesystem::create_directories(target);
  for (const Case& c : kCases) {
    const Outcome got = RunOn(std::string(kHeader) + std::string(c.body), c.options, target);
    EXPECT_EQ(got.status, c.status) << c.name;
    EXPECT_TRUE(got.out.ends_with(c.out)) << c.name << "\n" << got.out;
    // Files are written exactly when the run succeeds.
    EXPECT_EQ(!std::filesystem::is_empty(target), c.status == stOk) << c.name;
    std::filesystem::remove_all(target);
    std::filesystem::create_directories(target);
    if (c.err.empty()) {
      EXPECT_EQ(got.err, "") << c.name;
    }
    if (!c.absent.empty()) {
      EXPECT_EQ(got.err.find(c.absent), std::string::npos) << c.name << "\n" << got.err;
    }
    std::size_t from = 0;
    for (std::string_view fragment : c.err) {
      const std::size_t at = got.err.find(fragment, from);
      EXPECT_NE(at, std::string::npos) << c.name << ": missing\n" << fragment << "\nin\n" << got.err;
      if (at != std::string::npos) from = at + fragment.size();
    }
  }
  std::filesystem::remove_all(target);
}

// -w is an option only as the whole argument; the long options may stand anywhere.
TEST(GrammarWarnings, Options) {
  const std::vector<std::string_view> quiet = {"-w", "g.lang", "--strict"};
  const CommandLine cl = ParseCommandLine(quiet);
  EXPECT_FALSE(cl.Warnings);
  EXPECT_TRUE(cl.Strict);
  EXPECT_EQ(cl.LangFile, "g.lang");
  const std::vector<std::string_view> near = {"-wx", "-W", "--no-warnings"};
  const CommandLine other = ParseCommandLine(near);
  EXPECT_EQ(other.LangFile, "-wx");
  EXPECT_EQ(other.TargetDir, "-W");
  EXPECT_FALSE(other.Warnings);
  EXPECT_FALSE(other.Strict);
  EXPECT_TRUE(other.BadOption.empty());
}

}  // namespace
}  // namespace parvolen
