#include "base/status.h"

#include <gtest/gtest.h>

namespace parvolen {
namespace {

TEST(StatusMessage, KnownAndUnknownCodes) {
  EXPECT_EQ(StatusMessage(0), "No error");
  EXPECT_EQ(StatusMessage(26), "`Yes' or `no' expected");
  EXPECT_EQ(StatusMessage(37), "Missing the '\"' delimiter at string end");
  EXPECT_EQ(StatusMessage(54), "Terminal name specified in [Language] section was not in [Terminal] section");
  EXPECT_EQ(StatusMessage(86), "Internal: Application not finished");
  EXPECT_EQ(StatusMessage(87), "Unknown error code");
  EXPECT_EQ(StatusMessage(-1), "Unknown error code");
}

}  // namespace
}  // namespace parvolen
