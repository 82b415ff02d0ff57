// One run of the program, from the command line to the exit status.
#pragma once

#include <span>
#include <string_view>

#include "base/status.h"
#include "codegen/construct.h"
#include "driver/command_line.h"

namespace parvolen {

// The generation options the command line asks for.
[[nodiscard]] ConsOptions MakeConsOptions(const CommandLine& cl);

// Reads the description named on the command line, generates the translator, prints the
// outcome and returns the status of the run (the process exit status).
[[nodiscard]] Status Run(std::span<const std::string_view> args);

}  // namespace parvolen
