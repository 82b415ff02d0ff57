// The command line of parvolen-inspect and one run of it:
//   parvolen-inspect [--prefix] [--json | --dot[=NONTERMINAL] | --html=OUT] <langfile>
//   parvolen-inspect --parse=INPUT [--max-errors=N] [--json | --dot] <langfile>
//   parvolen-inspect --help | --version
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/diagnostic.h"
#include "base/status.h"

namespace parvolen::inspect {

// Exit status for a command line that cannot be followed.
inline constexpr Status kBadCommandLine = kUsageStatus;

struct InspectCommand {
  bool Usage = false;    // print the usage text and stop
  bool Version = false;  // print the version and stop
  bool Json = false;
  bool Dot = false;
  std::string DotOnly;  // the nonterminal to draw; empty: all
  std::string Html;     // the file to write the HTML report to; empty: none
  bool Prefix = false;  // explain the embeddable translator's decisions, reading as it does
  bool Parse = false;
  std::string Input;    // the input to parse, "-" for standard input
  int MaxErrors = 0;     // > 0: the parse recovers and reports up to this many errors
  bool MaxErrorsGiven = false;
  std::string File;
  std::string Error;  // why the command line cannot be followed; empty when it can
};

// Examines the arguments after the program name.
[[nodiscard]] InspectCommand ParseInspectCommand(std::span<const std::string_view> args);

// Reads the description with the program's own reader and analysis and prints the explanation.
// Returns the status of the reading (as the program would), or kBadCommandLine.
[[nodiscard]] Status RunInspect(std::span<const std::string_view> args);

}  // namespace parvolen::inspect
