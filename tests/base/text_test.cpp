#include "base/text.h"

#include <gtest/gtest.h>

namespace parvolen {
namespace {

TEST(Trim, EveryWhitespaceAtBothEnds) {
  EXPECT_EQ(Trim(" \t\v\f\r\na b\r\n \t"), "a b");
  EXPECT_EQ(Trim(" \t\r\n"), "");
  EXPECT_EQ(Trim(""), "");
}

TEST(Split, AtFirstSignBothSidesTrimmed) {
  std::string_view key = "old", value = "old";
  EXPECT_EQ(SplitAtEquals(" Name =  a = b ", key, value), stOk);
  EXPECT_EQ(key, "Name");
  EXPECT_EQ(value, "a = b");
  EXPECT_EQ(SplitAtEquals("=", key, value), stOk);
  EXPECT_EQ(key, "");
  EXPECT_EQ(value, "");
  EXPECT_EQ(SplitAtEquals("no sign", key, value), stMissingEquals);

  EXPECT_EQ(SplitAtDefines("E ::= [T]::=(x)", key, value), stOk);
  EXPECT_EQ(key, "E");
  EXPECT_EQ(value, "[T]::=(x)");
  EXPECT_EQ(SplitAtDefines("E :: = [T]", key, value), stMissingDefines);
  EXPECT_EQ(SplitAtDefines("E = [T]", key, value), stMissingDefines);
}

TEST(IntegerValue, SignBlanksAndTrailingText) {
  std::int32_t v = 7;
  EXPECT_EQ(IntegerValue(" \t12abc", 0, -1, v), stOk);
  EXPECT_EQ(v, 12);
  EXPECT_EQ(IntegerValue("+3", 0, -1, v), stOk);
  EXPECT_EQ(v, 3);
  EXPECT_EQ(IntegerValue("-4", -10, -1, v), stOk);
  EXPECT_EQ(v, -4);
  for (std::string_view bad : {"", "x1", "- 1", "+", " "}) {
    v = 7;
    EXPECT_EQ(IntegerValue(bad, 0, -1, v), stIntegerExpected) << bad;
    EXPECT_EQ(v, 7);
  }
}

TEST(IntegerValue, BoundsUpperFirstAndKeepOldValue) {
  std::int32_t v = 2;
  EXPECT_EQ(IntegerValue("7", 1, 5, v), stValueTooHigh);
  EXPECT_EQ(IntegerValue("0", 1, 5, v), stValueTooLow);
  EXPECT_EQ(v, 2);
  // A lower bound above the upper one: the upper bound is tested first.
  EXPECT_EQ(IntegerValue("7", 9, 5, v), stValueTooHigh);
  EXPECT_EQ(IntegerValue("5", 1, 5, v), stOk);
  EXPECT_EQ(v, 5);
  // An upper bound of -1 means none.
  EXPECT_EQ(IntegerValue("100000", 0, -1, v), stOk);
  EXPECT_EQ(v, 100000);
}

TEST(IntegerValue, OutsideThirtyTwoBits) {
  std::int32_t v = 1;
  EXPECT_EQ(IntegerValue("2147483647", 0, -1, v), stOk);
  EXPECT_EQ(v, 2147483647);
  EXPECT_EQ(IntegerValue("-2147483648", INT32_MIN, -1, v), stOk);
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_EQ(IntegerValue("2147483648", 0, -1, v), stValueTooHigh);
  EXPECT_EQ(IntegerValue("-2147483649", INT32_MIN, -1, v), stValueTooLow);
  EXPECT_EQ(IntegerValue(std::string(5000, '9'), 0, -1, v), stValueTooHigh);
  EXPECT_EQ(IntegerValue("-" + std::string(5000, '9'), 0, 5, v), stValueTooLow);
  EXPECT_EQ(v, INT32_MIN);
}

TEST(YesNoValue, WordsInAnyCaseAndSigns) {
  std::int32_t v = 5;
  for (std::string_view yes : {"yes", "Y", "TRUE", "t", "+", "1"}) {
    v = 0;
    EXPECT_EQ(YesNoValue(yes, v), stOk) << yes;
    EXPECT_EQ(v, 1) << yes;
  }
  for (std::string_view no : {"No", "n", "False", "F", "-", "0"}) {
    v = 1;
    EXPECT_EQ(YesNoValue(no, v), stOk) << no;
    EXPECT_EQ(v, 0) << no;
  }
  for (std::string_view bad : {"on", "off", "yess", "", "2", "ye"}) {
    v = 5;
    EXPECT_EQ(YesNoValue(bad, v), stYesNoExpected) << bad;
    EXPECT_EQ(v, 5);
  }
}

TEST(EqualNoCase, WholeTextsOnly) {
  EXPECT_TRUE(EqualNoCase("[LANGUAGE]", "[Language]"));
  EXPECT_FALSE(EqualNoCase("[Language]x", "[Language]"));
  EXPECT_FALSE(EqualNoCase("[Languag]", "[Language]"));
}

}  // namespace
}  // namespace parvolen
