// Operations called without the record, slot, result place or table they need print a
// diagnostic and give status 83.
#include <gtest/gtest.h>

#include <functional>

#include "analysis/edges.h"
#include "analysis/node_table.h"
#include "analysis/nodes.h"
#include "analysis/view_table.h"
#include "analysis/views.h"

namespace parvolen {
namespace {

TEST(AnalysisDiagnostics, MissingArguments) {
  Language empty;  // no tables at all
  std::int32_t out = 0;
  const std::pair<const char*, std::function<Status()>> cases[] = {
      {"*** EdgeIns ***\n Language handle\n Target position\n Next insertion position\n",
       [] { return EdgeIns(nullptr, nullptr, 1, 1, nullptr); }},
      {"*** EdgeCopy ***\n", [&] { return EdgeCopy(&empty, &out, 0); }},
      {"*** ViewMakeAll ***\n", [&] { return ViewMakeAll(&empty); }},
      {"*** ViewCopyTree ***\n Language info\n Target\n", [] { return ViewCopyTree(nullptr, nullptr, 0); }},
      {"*** ViewNew:\n Language info\n Target space\n", [] { return ViewNew(nullptr, nullptr); }},
      {"*** ViewNew:\n Target space\n Continue pointer\n", [&] { return ViewIns(&empty, nullptr, 0, nullptr); }},
      {"*** NodeIns ***\n Language handle\n Target position\n Next insertion position\n",
       [] { return NodeIns(nullptr, nullptr, 1, 0, nullptr); }},
      {"*** NodeFromView 1 ***\n Language handle\n Target position\n",
       [] { return NodeFromView(nullptr, nullptr, 0, 0, 1, 0, 0, false); }},
      {"*** NodeFromView 2 ***\n View node storage\n",
       [&] { return NodeFromView(&empty, &out, 0, 0, 1, 0, 0, false); }},
      {"*** MakeNodeTree ***\n Target position\n Nonterminal info space\n",
       [&] { return MakeNodeTree(&empty, nullptr, 0); }},
      {"*** NodeRebuild ***\n Nonterminal info storage\n", [&] { return NodeRebuild(&empty); }},
  };
  for (const auto& [expected, call] : cases) {
    testing::internal::CaptureStdout();
    const Status st = call();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
    EXPECT_EQ(st, stNotAllocated) << expected;
  }
}

}  // namespace
}  // namespace parvolen
