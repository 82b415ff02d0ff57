// The railroad layout of a small grammar with every construct (a sequence, nested choices, an
// empty alternative, a tail loop with a choice in it, a badge), compared with
// golden/railroad.txt. PARVOLEN_UPDATE_GOLDEN=1 rewrites the file: read it against the layout
// rules in railroad.cpp before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "findings/grammar.h"
#include "inspect/markup.h"
#include "inspect/railroad.h"
#include "inspected.h"

namespace parvolen::inspect {
namespace {

const std::filesystem::path kGolden = std::filesystem::path(__FILE__).parent_path() / "golden" / "railroad.txt";

TEST(Railroad, LayoutOfEveryConstruct) {
  Inspected d(Description("StartingSymbol = S\nEofName = eoi\nLookahead = 1\n", "a\nb\nc\nd\nx\ncomma\nsemi\neoi\n",
                          "S\nL\nO\n",
                          "S ::= (a)[L][O](eoi)\nS ::= (a)(c)(eoi)\nS ::= (b)(eoi)\nL ::= [L](comma)(x)\n"
                          "L ::= [L](semi)\nL ::= (x)\nO ::= (d)\nO ::=\n"));
  ASSERT_EQ(d.It().Code(), stOk);
  const Grammar grammar(*d.It().Lang(), &d.It().Progress());
  ASSERT_FALSE(grammar.Choices().empty());
  const RailMarks marks{{grammar.Choices().front().First, RailMark{"2", "#c1", "a note", false}}};
  std::string got;
  for (std::int32_t n = 1; n <= 3; ++n) got += RailDump(MakeRailDiagram(grammar, n, marks));
  if (std::getenv("PARVOLEN_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(kGolden, std::ios::binary) << got;
    return;
  }
  std::ifstream in(kGolden, std::ios::binary);
  std::ostringstream want;
  want << in.rdbuf();
  EXPECT_EQ(got, want.str());
  // Every name is text, whatever it holds.
  EXPECT_EQ(Escaped("<a href='x'>&\"\x01\xff λ"), "&lt;a href=&#39;x&#39;&gt;&amp;&quot;\xEF\xBF\xBD\xEF\xBF\xBD λ");
}

}  // namespace
}  // namespace parvolen::inspect
