// What only --prefix reads: the user guide's two key tables are the model. Every key of the
// [Language] table reads in a classic reading; every key of the embeddable lexer's table is
// unknown there, with a diagnostic that names --prefix, and known in a reading with --prefix.
#include "reader/prefix_only.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "reader/language_section.h"
#include "support/describe.h"

namespace parvolen {
namespace {

const std::filesystem::path kGuide =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "docs/guide.md";

// The keys in the first column ("| `Key`...") of the table that follows the heading.
std::vector<std::string> GuideKeys(const std::string& heading) {
  std::ifstream in(kGuide);
  std::vector<std::string> keys;
  bool under = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("#")) {
      if (under && !keys.empty()) break;
      under = line == heading;
      continue;
    }
    if (!under || !line.starts_with("| `")) continue;
    const std::size_t end = line.find_first_of(" `", 3);
    keys.push_back(line.substr(3, end - 3));
  }
  return keys;
}

constexpr std::string_view kHint = "only the embeddable translator reads it: run with --prefix=NAME";

TEST(PrefixOnly, TheGuidesKeyTablesAreTheModel) {
  const std::vector<std::string> classic = GuideKeys("## The [Language] section");
  const std::vector<std::string> lexer = GuideKeys("### The lexer");
  ASSERT_EQ(classic.size(), 32u);
  ASSERT_EQ(lexer.size(), 4u);
  for (bool embedded : {false, true}) {
    for (const std::string& key : classic) {
      Language lang;
      lang.EmbeddedKeys = embedded ? 1 : 0;
      EXPECT_NE(LanguageLine(lang, key + " = 1"), stUnknownKey) << key;
      EXPECT_FALSE(PrefixOnly(key)) << key;
    }
    for (const std::string& key : lexer) {
      Language lang;
      lang.EmbeddedKeys = embedded ? 1 : 0;
      const std::string line = key + " = x y";
      const Status st = LanguageLine(lang, line);
      EXPECT_EQ(st == stUnknownKey, !embedded) << key;
      EXPECT_TRUE(PrefixOnly(key)) << key;
      if (embedded) continue;
      LineFault fault;
      ASSERT_TRUE(LocateLanguageFault(lang, line, st, fault)) << key;
      EXPECT_EQ(fault.Text, "unknown key '" + key + "' in [Language]");
      EXPECT_EQ(fault.Hint, kHint);
    }
  }
  // Case does not matter, as for every key; a misspelt key keeps its own hint.
  EXPECT_TRUE(PrefixOnly("linecomment"));
  EXPECT_TRUE(PrefixOnly("[TOKENS]"));
  EXPECT_FALSE(PrefixOnly("LineComments"));
  Language lang;
  LineFault fault;
  ASSERT_TRUE(LocateLanguageFault(lang, "Lookahed = 1", stUnknownKey, fault));
  EXPECT_EQ(fault.Hint, "did you mean 'Lookahead'?");
}

// A section that only --prefix reads, in a classic reading: the status of any unknown section,
// and a diagnostic that names --prefix.
TEST(PrefixOnly, SectionInAClassicReading) {
  Described d = Describe("[Language]\nStartingSymbol = E\nNonterminals = 1\n[Tokens]\n");
  EXPECT_EQ(d.status, stBadSection);
  EXPECT_EQ(d.err, "desc.lang:4:1: error: unknown section [Tokens]; " + std::string(kHint) +
                       "\n    4 | [Tokens]\n      | ^~~~~~~~\n");
  EXPECT_EQ(d.out.find("--prefix"), std::string::npos);
}

}  // namespace
}  // namespace parvolen
