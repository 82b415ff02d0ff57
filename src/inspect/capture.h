// Keeping what an operation prints apart from the report: while it runs, standard output goes
// to a temporary file, whose content is then given back.
#pragma once

#include <functional>
#include <string>

namespace parvolen::inspect {

// Runs the job with standard output sent to a temporary file and gives what it wrote there.
// When no temporary file can be made, the output goes to standard output as usual.
[[nodiscard]] std::string CaptureOutput(const std::function<void()>& job);

}  // namespace parvolen::inspect
