#include "findings/places.h"

#include <gtest/gtest.h>

namespace parvolen {
namespace {

// The symbols of a right side, found by their delimiters; none past the last or in a line that
// the reader would not take.
TEST(SymbolSpan, SymbolsOfTheRightSide) {
  const struct {
    std::string_view line;
    std::size_t index;
    bool found;
    std::size_t offset, length;
  } cases[] = {
      {"S ::= (a)[B]{act}<out>", 0, true, 6, 3},  {"S ::= (a)[B]{act}<out>", 1, true, 9, 3},
      {"S ::= (a)[B]{act}<out>", 2, true, 12, 5}, {"S ::= (a)[B]{act}<out>", 3, true, 17, 5},
      {"S ::= (a)[B]{act}<out>", 4, false, 0, 0}, {"S ::=", 0, false, 0, 0},
      {"S::=[S](x)", 1, true, 7, 3},               {"S ::= (a", 0, false, 0, 0},
      {"S ::= a", 0, false, 0, 0},                 {"no defines (a)", 0, false, 0, 0},
      {"S ::= ([)", 0, true, 6, 3},  // a name may hold another kind's delimiter
  };
  for (const auto& c : cases) {
    std::size_t offset = 99, length = 99;
    EXPECT_EQ(SymbolSpan(c.line, c.index, offset, length), c.found) << c.line << " #" << c.index;
    if (c.found) {
      EXPECT_EQ(offset, c.offset) << c.line << " #" << c.index;
      EXPECT_EQ(length, c.length) << c.line << " #" << c.index;
    }
  }
}

}  // namespace
}  // namespace parvolen
