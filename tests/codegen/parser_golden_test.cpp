// The generated parser module of a few descriptions, read by the real reader and analysis,
// compared byte for byte with golden/<case>/_parser.h and _parser.c. PARVOLEN_UPDATE_GOLDEN=1
// rewrites them instead: read every changed line against the generator's fragments before
// committing the result.
#include <gtest/gtest.h>

#include <string>

#include "codegen/classic/parser_module.h"
#include "codegen_fixture.h"
#include "support/describe.h"

namespace parvolen {
namespace {

using namespace testing_codegen;

// Capacities roomy enough for every grammar below.
constexpr std::string_view kCapacities =
    "Terminals = 20\nNonterminals = 20\nActions = 5\nOutTerms = 5\nProductions = 40\n"
    "Edges = 200\nViews = 400\nNodes = 200\n";

void ExpectParserGolden(const std::string& name, std::string_view description, bool hasWriter = false,
                        int debugSupport = 0) {
  Described d = Describe(description);
  ASSERT_EQ(d.status, stOk) << d.out;
  ConsOptions options;
  options.DebugSupport = debugSupport;
  const fs::path dir = ScratchDir();
  ASSERT_EQ(ConsParser(*d.Lang(), dir.string(), hasWriter, options), stOk);

  const fs::path golden = SourceDir() / "golden" / name;
  const bool update = std::getenv("PARVOLEN_UPDATE_GOLDEN") != nullptr;
  if (update) fs::create_directories(golden);
  for (const char* file : {"_parser.h", "_parser.c"}) {
    const std::string got = testing_codegen::ReadFile(dir / file);
    if (update) {
      WriteFile(golden / file, got);
      continue;
    }
    ASSERT_TRUE(fs::exists(golden / file)) << golden / file;
    EXPECT_EQ(got, testing_codegen::ReadFile(golden / file)) << name << "/" << file;
  }
}

// Straight-line code for a single production, an empty routine for a nonterminal without
// productions (named with a blank), a choice on the coming terminal, and tail loops whose
// condition names one terminal and three terminals (over two lines).
TEST(ParserGolden, Expressions) {
  ExpectParserGolden("parser-expr", std::string("[Language]\nName = Expr\nStartingSymbol = Input\n"
                                                "NumName = num\nIdName = id\nEofName = end of input\n") +
                                        std::string(kCapacities) +
                                        "[Terminals]\nnum\nid\nplus\nminus\nor\ntimes\nlpar\nrpar\nend of input\n"
                                        "[Nonterminals]\nInput\nSum\nProduct\nSimple atom\nNever used\n"
                                        "[Productions]\n"
                                        "Input ::= [Sum](end of input)\n"
                                        "Sum ::= [Sum](plus)[Product]\n"
                                        "Sum ::= [Sum](minus)[Product]\n"
                                        "Sum ::= [Sum](or)[Product]\n"
                                        "Sum ::= [Product]\n"
                                        "Product ::= [Product](times)[Simple atom]\n"
                                        "Product ::= [Simple atom]\n"
                                        "Simple atom ::= (lpar)[Sum](rpar)\n"
                                        "Simple atom ::= (num)\n"
                                        "Simple atom ::= (id)\n");
}

// -T: stdio is included and every routine prints its entry and exit; an empty production is
// an empty case that only breaks, a choice nested below a shared beginning gets its own switch.
TEST(ParserGolden, Trace) {
  ExpectParserGolden("parser-trace",
                     std::string("[Language]\nName = Lists\nStartingSymbol = List\nEofName = eoi\n") +
                         std::string(kCapacities) +
                         "[Terminals]\nname\ncomma\ncolon\nstar\neoi\n"
                         "[Nonterminals]\nList\nItem\nOpt\n"
                         "[Productions]\n"
                         "List ::= [List](comma)[Item]\n"
                         "List ::= [Item]\n"
                         "Item ::= (name)[Opt]\n"
                         "Item ::= (name)(star)\n"
                         "Opt ::= (colon)(name)\n"
                         "Opt ::=\n",
                     false, 1);
}

// Actions and output terminals: Parse takes an output file, opens it after the input and
// closes it after the lexer; the routines call Action_ and OutTerm_ (blanks made underscores).
TEST(ParserGolden, ActionsAndOutputTerminals) {
  ExpectParserGolden("parser-output",
                     std::string("[Language]\nName = Writer\nStartingSymbol = Doc\nEofName = eoi\n") +
                         std::string(kCapacities) +
                         "[Terminals]\nword\nnum\nsemi\neoi\n"
                         "[Nonterminals]\nDoc\nItems\nItem\n"
                         "[OutTerms]\nopen paren\nclose\n"
                         "[Actions]\nbegin list\nnote\n"
                         "[Productions]\n"
                         "Doc ::= {begin list}<open paren>[Items](eoi)<close>\n"
                         "Items ::= [Items](semi)[Item]\n"
                         "Items ::= [Item]\n"
                         "Item ::= {note}(word)<close>\n"
                         "Item ::= (num)\n",
                     true);
}

// Lookahead 2: the members told apart only by the second terminal get no case label (their
// statements are never reached), so input that begins with the shared terminal is a syntax error.
TEST(ParserGolden, DecidedBelowTheFirstLevel) {
  ExpectParserGolden("parser-level2",
                     std::string("[Language]\nName = Deep\nStartingSymbol = S\nEofName = eoi\nLookahead = 2\n") +
                         std::string(kCapacities) +
                         "[Terminals]\na\nb\nc\nd\neoi\n"
                         "[Nonterminals]\nS\nX\nY\n"
                         "[Productions]\n"
                         "S ::= [X](eoi)\n"
                         "S ::= [Y](eoi)\n"
                         "S ::= (d)(eoi)\n"
                         "X ::= (a)(b)\n"
                         "Y ::= (a)(c)\n");
}

// Loop conditions without a terminal to name: a tail that reads nothing ("0", the loop never
// runs), and a tail that can begin with a nonterminal deriving nothing (its lambda view names
// no terminal; the two terminals it can begin with make the condition).
TEST(ParserGolden, TailLoopConditions) {
  const std::string description = std::string("[Language]\nName = Loops\nStartingSymbol = S\nEofName = eoi\n") +
                                  std::string(kCapacities) +
                                  "[Terminals]\nx\ny\nz\neoi\n"
                                  "[Nonterminals]\nS\nE\nOpt\nSelf\n"
                                  "[Productions]\n"
                                  "S ::= [E][Self](eoi)\n"
                                  "E ::= [E][Opt](x)\n"
                                  "E ::= (y)\n"
                                  "Opt ::= (z)\n"
                                  "Opt ::=\n"
                                  "Self ::= [Self]\n"
                                  "Self ::=\n";
  // The views the conditions come from: E's begins with a lambda view, Self has none.
  Described d = Describe(description);
  ASSERT_EQ(d.status, stOk) << d.out;
  const Language& lang = *d.Lang();
  ASSERT_NE(lang.NontTab[2].DLRF, 0);
  EXPECT_EQ(lang.ViewTab[lang.NontTab[2].DLRF].Term, 0);
  EXPECT_EQ(lang.NontTab[4].DLRF, 0);
  ExpectParserGolden("parser-loops", description);
}

}  // namespace
}  // namespace parvolen
