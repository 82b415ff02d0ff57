#include "model/output_shapes.h"

#include <gtest/gtest.h>

#include <string>

#include "model/symbol_tables.h"

namespace parvolen {
namespace {

TEST(OutShapes, SetCutReplaceAndFailures) {
  Language lang;
  EXPECT_EQ(OutShapesLine(lang, "plus = +"), stNotAllocated);  // no output terminal declared
  lang.OutTerms = 3;
  ASSERT_EQ(OutTermsLine(lang, "plus"), stOk);
  ASSERT_EQ(OutTermsLine(lang, "minus"), stOk);
  ASSERT_EQ(OutShapesLine(lang, "plus = a  =  b"), stOk);
  EXPECT_EQ(lang.OutTermTab[1].Shape.View(), "a  =  b");
  ASSERT_EQ(OutShapesLine(lang, "plus=" + std::string(60, 'x')), stOk);
  EXPECT_EQ(lang.OutTermTab[1].Shape.View(), std::string(50, 'x'));
  ASSERT_EQ(OutShapesLine(lang, "plus ="), stOk);
  EXPECT_TRUE(lang.OutTermTab[1].Shape.Empty());
  EXPECT_EQ(OutShapesLine(lang, "times = *"), stUnknownOutTerm);
  EXPECT_EQ(OutShapesLine(lang, "plus +"), stMissingEquals);
  EXPECT_EQ(OutTNewShape(&lang, 0, "x"), stBadOutTermCode);
  EXPECT_EQ(OutTNewShape(&lang, 3, "x"), stBadOutTermCode);  // within capacity, not declared
}

TEST(OutShapes, MissingArgumentsPrintTheirLines) {
  Language lang;
  testing::internal::CaptureStdout();
  EXPECT_EQ(OutTNewShape(nullptr, 1, nullptr), stNotAllocated);
  EXPECT_EQ(OutTNewShape(&lang, 1, "x"), stNotAllocated);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "*** OutTNewShape ***\n Language handle\n Invalid input string pointer\n"
            "*** OutTNewShape ***\n Output terminal space allocation\n");
}

}  // namespace
}  // namespace parvolen
