#include <string_view>
#include <vector>

#include "base/memory_tuning.h"
#include "inspect/command.h"

int main(int argc, char** argv) {
  parvolen::TuneAllocator();
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  return parvolen::inspect::RunInspect(args);
}
