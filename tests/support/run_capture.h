// One run of the program's driver in this process, with what it printed on each channel.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/console.h"
#include "base/status.h"
#include "driver/run.h"

namespace parvolen {

struct Outcome {
  Status status = stOk;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs the driver on the arguments (those after the program name).
inline Outcome RunWith(std::vector<std::string_view> args) {
  Outcome outcome;
  ConsoleSink out(outcome.out);
  ConsoleSink err(outcome.err);
  const ConsoleRedirect messages(Channel::Messages, out);
  const ConsoleRedirect diagnostics(Channel::Diagnostics, err);
  outcome.status = Run(args);
  return outcome;
}

}  // namespace parvolen
