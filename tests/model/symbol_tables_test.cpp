#include "model/symbol_tables.h"

#include <gtest/gtest.h>

namespace parvolen {
namespace {

TEST(NonterminalsEnd, EmptyStartingSymbolSelectsNothing) {
  LanguagePool pool;
  std::int32_t handle = 0, no = 0;
  ASSERT_EQ(pool.Create(handle), stOk);
  Language& lang = *pool.Record(handle);
  EXPECT_EQ(NonterminalsEnd(pool, handle), stNotAllocated);
  lang.Nonterminals = 1;
  ASSERT_EQ(NewNonterminal(lang, "", no), stOk);
  EXPECT_EQ(NonterminalsEnd(pool, handle), stUnknownNonterminal);
  EXPECT_EQ(lang.StartNont, 0);
}

}  // namespace
}  // namespace parvolen
