#include <string_view>
#include <vector>

#include "inspect/command.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  return parvolen::inspect::RunInspect(args);
}
