#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "base/console.h"
#include "base/diagnostic.h"
#include "base/version.h"
#include "driver/run.h"
#include "support/describe.h"
#include "support/run_capture.h"

namespace parvolen {
namespace {

CommandLine Parse(std::vector<std::string_view> args) { return ParseCommandLine(args); }

TEST(CommandLine, UsageWithoutArgumentsOrOnAQuestion) {
  EXPECT_TRUE(Parse({}).Usage);
  for (std::string_view ask : {"/?", "-?", "?"}) {
    const CommandLine cl = Parse({"x.lang", ask, "a", "b", "c"});
    EXPECT_TRUE(cl.Usage) << ask;
    EXPECT_EQ(cl.TooMany, 0);  // later arguments are not examined
  }
  EXPECT_FALSE(Parse({"x.lang"}).Usage);
}

TEST(CommandLine, OptionsAndPositionalsInAnyOrder) {
  const CommandLine cl = Parse({"-lout.lst", "g.lang", "-T", "gen", "-s", "-q"});
  EXPECT_FALSE(cl.Usage);
  EXPECT_FALSE(cl.Banner);
  EXPECT_TRUE(cl.SemanticCode);
  EXPECT_TRUE(cl.DebugSupport);
  EXPECT_TRUE(cl.Listing);
  EXPECT_EQ(cl.ListFile, "out.lst");
  EXPECT_EQ(cl.LangFile, "g.lang");
  EXPECT_EQ(cl.TargetDir, "gen");
  EXPECT_EQ(cl.Positional, 2);

  const CommandLine plain = Parse({"g.lang"});
  EXPECT_TRUE(plain.Banner);
  EXPECT_FALSE(plain.SemanticCode || plain.DebugSupport || plain.Listing);
  EXPECT_EQ(plain.TargetDir, "");
}

TEST(CommandLine, ComparisonsAreExact) {
  const CommandLine cl = Parse({"-Q", "-t", "-x"});
  EXPECT_TRUE(cl.Banner);
  EXPECT_FALSE(cl.DebugSupport);
  EXPECT_EQ(cl.LangFile, "-Q");
  EXPECT_EQ(cl.TargetDir, "-t");
  EXPECT_EQ(cl.TooMany, 1);
  // "-l" alone gives an empty name; a later -l replaces an earlier one.
  EXPECT_EQ(Parse({"-lfirst", "-l"}).ListFile, "");
  EXPECT_TRUE(Parse({"-l"}).Listing);
  EXPECT_EQ(Parse({"-l", "-lsecond"}).ListFile, "second");
  EXPECT_EQ(Parse({"-lq"}).ListFile, "q");
}

TEST(CommandLine, ExtraParametersAreCountedAndIgnored) {
  const CommandLine cl = Parse({"a", "b", "c", "d"});
  EXPECT_EQ(cl.LangFile, "a");
  EXPECT_EQ(cl.TargetDir, "b");
  EXPECT_EQ(cl.TooMany, 2);
}

TEST(CommandLine, LongArgumentsAreCut) {
  const std::string longName(300, 'f');
  const std::string longList = "-l" + std::string(300, 'o');
  const CommandLine cl = Parse({longName, longName, longList});
  EXPECT_EQ(cl.LangFile, std::string(255, 'f'));
  EXPECT_EQ(cl.TargetDir, std::string(255, 'f'));
  EXPECT_EQ(cl.ListFile, std::string(255, 'o'));
}

TEST(CommandLine, GenerationOptions) {
  const ConsOptions plain = MakeConsOptions(Parse({"g.lang"}));
  EXPECT_EQ(plain.TrackLines, 1);
  EXPECT_EQ(plain.DebugSupport + plain.OutputUsed + plain.SemanticCode + plain.ValueKinds, 0);
  const ConsOptions both = MakeConsOptions(Parse({"-T", "-s", "g.lang"}));
  EXPECT_EQ(both.DebugSupport, 1);
  EXPECT_EQ(both.SemanticCode, 1);
}

// The long options: each row a command line, its status, the start of standard output and the
// whole of standard error ("*" stands for the path of a description in the temporary directory).
TEST(CommandLine, LongOptions) {
  const std::string description = TempPath("long-options");
  std::ofstream(description) << "[Language]\nStartingSymbol = E\nNonterminals = 1\nTerminals = 1\nProductions = 1\n"
                                "Edges = 4\nViews = 4\nNodes = 4\nLookahead = 1\n[Terminals]\na\n[Nonterminals]\nE\n"
                                "[Productions]\nE ::= (a)\n";
  const std::string missing = TempPath("no-such-dir");
  const std::string version = "parvolen " + std::string(kVersion) + "\n";
  const struct {
    std::vector<std::string> args;
    Status status;
    std::string out;  // the beginning of standard output
    std::string err;
  } cases[] = {
      {{"--version"}, stOk, version, ""},
      {{"--version", "--bogus", "x.lang"}, stOk, version, ""},  // later arguments are not examined
      {{"--help"}, stOk, "Usage: parvolen [OPTION]... LANGFILE [TARGETDIR]\n", ""},
      {{"x.lang", "--bogus"}, kUsageStatus, "",
       "parvolen: error: unknown option '--bogus'\nUsage: parvolen [OPTION]... LANGFILE [TARGETDIR]\n"
       "Try 'parvolen --help' for more information.\n"},
      {{"--"}, kUsageStatus, "", "parvolen: error: unknown option '--'\nUsage: parvolen [OPTION]... LANGFILE [TARGETDIR]\n"
                                  "Try 'parvolen --help' for more information.\n"},
      // A short option that resembles a long one is a parameter as before; when no such file
      // exists, a note after the reader's error names the option.
      {{"-version"}, stCannotOpen, "\nParvolen v",
       "-version: error: cannot open the description: no such file or directory\n"
       "parvolen: note: '-version' is no option, so it was taken as the description; did you mean '--version'?\n"},
      {{"-q", "-h"}, stCannotOpen, "\nCannot open file.\n\n\n",
       "-h: error: cannot open the description: no such file or directory\n"
       "parvolen: note: '-h' is no option, so it was taken as the description; did you mean '--help'?\n"},
      {{"-q", "-x"}, stCannotOpen, "\nCannot open file.\n\n\n",
       "-x: error: cannot open the description: no such file or directory\n"
       "parvolen: note: '-x' is no option, so it was taken as the description; 'parvolen --help' lists the options\n"},
      // A description that cannot be opened is named with the system's reason.
      {{"-q", missing + ".lang"}, stCannotOpen, "\nCannot open file.\n\n\n",
       missing + ".lang: error: cannot open the description: no such file or directory\n"},
      {{"-q", "."}, stCannotOpen, "\nCannot open file.\n\n\n", ".: error: cannot open the description: is a directory\n"},
      {{"-q"}, stCannotOpen, "\nCannot open file.\n\n\n",
       "parvolen: error: cannot open the description: no file name given\n"},
      // --prefix without its name is a usage error that says what it needs.
      {{"--prefix", "calc", "*"}, kUsageStatus, "",
       "parvolen: error: option '--prefix' needs a name: write --prefix=NAME, NAME a C identifier\n"
       "Usage: parvolen [OPTION]... LANGFILE [TARGETDIR]\nTry 'parvolen --help' for more information.\n"},
      {{"--prefixcalc", "*"}, kUsageStatus, "",
       "parvolen: error: unknown option '--prefixcalc'\nUsage: parvolen [OPTION]... LANGFILE [TARGETDIR]\n"
       "Try 'parvolen --help' for more information.\n"},
      {{"-q", "*", missing}, stCannotCreate, "\nCannot create file.\n",
       "parvolen: error: cannot create '" + missing + "/_error.h': no such directory '" + missing + "'\n"},
      // --capacities prints the block and generates nothing; the target directory is not examined.
      {{"--capacities", "*", missing}, stOk,
       "[Language]\nTerminals = 1\nNonterminals = 1\nOutTerms = 0\nActions = 0\nKeywords = 0\nEdges = 2\nNodes = 0\n"
       "Views = 3\nProductions = 1\nSymbNodes = 0\nSemInsts = 0\n",
       ""},
      {{"--capacities", missing}, stCannotOpen, "",
       missing + ": error: cannot open the description: no such file or directory\n"},
      {{"-q", "*", "*"}, stCannotCreate, "\nCannot create file.\n",
       "parvolen: error: cannot create '*/_error.h': '*' is not a directory\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    for (std::string& arg : args)
      if (arg == "*") arg = description;
    const std::vector<std::string_view> views(args.begin(), args.end());
    const Outcome got = RunWith(views);
    std::string want = c.err;
    for (std::size_t at; (at = want.find('*')) != std::string::npos;) want.replace(at, 1, description);
    EXPECT_EQ(got.status, c.status) << args.front();
    EXPECT_EQ(got.out.substr(0, c.out.size()), c.out) << args.front();
    EXPECT_EQ(got.err, want) << args.front();
  }
  std::remove(description.c_str());
}

// The long option that a parameter beginning with "-" resembles: an abbreviation or the whole
// name with one minus sign (any case), a near misspelling, a value kept; nothing for the rest.
TEST(CommandLine, OptionLookalikes) {
  const struct {
    std::string_view arg;
    std::string_view option;  // empty: no hint
  } cases[] = {
      {"-h", "--help"},          {"-H", "--help"},           {"-help", "--help"},
      {"-v", "--version"},       {"-Version", "--version"},  {"-vesrion", "--version"},
      {"-c", "--capacities"},    {"-n", "--no-warnings"},    {"-st", "--strict"},
      {"-p", "--prefix=NAME"},   {"-prefix", "--prefix=NAME"}, {"-prefix=Calc", "--prefix=Calc"},
      {"-x", ""},                {"-", ""},                  {"---", ""},
      {"-helpme", "--help"},     {"-verbose", ""},           {"help", ""},
      {"g.lang", ""},
  };
  for (const auto& c : cases) {
    const std::string want = c.option.empty() ? "" : "did you mean '" + std::string(c.option) + "'?";
    EXPECT_EQ(OptionLookalike(c.arg), want) << c.arg;
  }
}

}  // namespace
}  // namespace parvolen
