#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "driver/run.h"

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

}  // namespace
}  // namespace parvolen
