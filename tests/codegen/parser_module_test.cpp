// Failures of the parser generator: files that cannot be created, paths that are too long,
// records whose tries point outside their tables, and nesting too deep for the stack.
#include <gtest/gtest.h>

#include <string>

#include "base/stack_room.h"
#include "codegen/classic/parser_module.h"
#include "codegen_fixture.h"
#include "model/symbol_tables.h"

namespace parvolen {
namespace {

using namespace testing_codegen;

// One nonterminal S with the productions S ::= (a) and S ::= (b), tries built by hand.
void TwoChoices(Language& lang) {
  LangBuilder(lang).Terminals({"a", "b"});
  lang.Nonterminals = 1;
  std::int32_t s = 0;
  ASSERT_EQ(NewNonterminal(lang, "S", s), stOk);
  lang.StartingSymbol.Set("S");
  lang.Edges = 4;
  ASSERT_EQ(lang.EdgeTab.Allocate(lang.Edges), stOk);
  lang.EdgeTab[1] = EdgeRec{2, 3, 0, 1, kEdgeTerminal};
  lang.EdgeTab[2] = EdgeRec{0, 0, 0, 1, kEdgeEnd};
  lang.EdgeTab[3] = EdgeRec{4, 0, 0, 2, kEdgeTerminal};
  lang.EdgeTab[4] = EdgeRec{0, 0, 0, 2, kEdgeEnd};
  lang.LastEdge = 4;
  lang.NontTab[s].ProdEdges = 1;
}

TEST(ParserModule, FilesThatCannotBeWritten) {
  Language lang;
  TwoChoices(lang);
  ConsOptions options;
  const fs::path dir = ScratchDir();
  EXPECT_EQ(ConsParser(lang, (dir / "missing").string(), false, options), stCannotCreate);
  // 246 characters and the separator leave room for 8 more, "_parser.h" has 9.
  EXPECT_EQ(ConsParser(lang, std::string(246, 'd'), false, options), stTargetNameTooLong);

  // The source cannot be created: the header is left complete.
  fs::create_directory(dir / "_parser.c");
  EXPECT_EQ(ConsParser(lang, dir.string(), false, options), stCannotCreate);
  const std::string header = ReadFile(dir / "_parser.h");
  EXPECT_EQ(header.substr(header.size() - 7), "#endif\n");
}

TEST(ParserModule, TriesOutsideTheirTablesAreReported) {
  ConsOptions options;
  const fs::path dir = ScratchDir();
  struct Case {
    const char* what;
    void (*corrupt)(Language&);
    Status status;
  };
  const Case cases[] = {
      {"edge past the last", [](Language& l) { l.EdgeTab[3].Altr = 5; }, stBadEdgeCode},
      {"unknown terminal", [](Language& l) { l.EdgeTab[3].Code = 3; }, stBadTerminalCode},
      {"unknown edge type", [](Language& l) { l.EdgeTab[3].WhoAmI = 7; }, stBadEdgeType},
      {"decision list without nodes", [](Language& l) { l.NontTab[1].ProdNodes = 1; }, stBadNodeCode},
      {"loop view without views", [](Language& l) { l.NontTab[1].RecEdges = 2, l.NontTab[1].DLRF = 1; },
       stBadViewCode},
  };
  for (const Case& c : cases) {
    Language lang;
    TwoChoices(lang);
    c.corrupt(lang);
    EXPECT_EQ(ConsParser(lang, dir.string(), false, options), c.status) << c.what;
  }
}

TEST(ParserModule, NestingDeeperThanTheStackStops) {
  // S ::= (a)...(a) with every length from 0 to n: a switch nested in the switch before it.
  constexpr std::int32_t kDepth = 3000;
  Language lang;
  LangBuilder(lang).Terminals({"a"});
  lang.Nonterminals = 1;
  std::int32_t s = 0;
  ASSERT_EQ(NewNonterminal(lang, "S", s), stOk);
  lang.StartingSymbol.Set("S");
  lang.Edges = 2 * kDepth;
  ASSERT_EQ(lang.EdgeTab.Allocate(lang.Edges), stOk);
  for (std::int32_t level = 0; level < kDepth; ++level) {
    const std::int32_t terminal = 2 * level + 1;
    lang.EdgeTab[terminal] = EdgeRec{level + 1 < kDepth ? terminal + 2 : 0, terminal + 1, 0, 1, kEdgeTerminal};
    lang.EdgeTab[terminal + 1] = EdgeRec{0, 0, 0, level + 1, kEdgeEnd};
  }
  lang.LastEdge = 2 * kDepth;
  lang.NontTab[s].ProdEdges = 1;

  ConsOptions options;
  const fs::path dir = ScratchDir();
  const Status st = RunWithStack(std::size_t{512} << 10, [&]() { return ConsParser(lang, dir.string(), false, options); });
  EXPECT_EQ(st, stNoMem);
}

}  // namespace
}  // namespace parvolen
