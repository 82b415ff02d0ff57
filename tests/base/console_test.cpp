#include "base/console.h"

#include <gtest/gtest.h>

#include <string>

namespace parvolen {
namespace {

// A redirect lasts exactly as long as its object, nests, and leaves the other channel alone.
TEST(ConsoleRedirect, NestsAndRestoresThePreviousSink) {
  std::string outer;
  std::string inner;
  std::string diagnostics;
  ConsoleSink outerSink(outer);
  ConsoleSink innerSink(inner);
  ConsoleSink diagnosticSink(diagnostics);
  {
    const ConsoleRedirect first(Channel::Messages, outerSink);
    const ConsoleRedirect errors(Channel::Diagnostics, diagnosticSink);
    Print("a");
    {
      const ConsoleRedirect second(Channel::Messages, innerSink);
      PrintDiagHeader("Inner");
      Print("warning\n", Channel::Diagnostics);
    }
    Print("b");
    CurrentSink(Channel::Messages).Flush();
  }
  EXPECT_EQ(outer, "ab");
  EXPECT_EQ(inner, "*** Inner ***\n");
  EXPECT_EQ(diagnostics, "warning\n");

  // Back on standard output once every redirect has ended.
  testing::internal::CaptureStdout();
  Print("c");
  std::fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "c");
  EXPECT_EQ(outer, "ab");
}

}  // namespace
}  // namespace parvolen
