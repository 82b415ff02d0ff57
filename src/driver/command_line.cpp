#include "driver/command_line.h"

#include "base/console.h"

namespace parvolen {
namespace {

std::string Cut(std::string_view argument) { return std::string(argument.substr(0, CommandLine::kMaxArgument)); }

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string_view> args) {
  CommandLine cl;
  if (args.empty()) cl.Usage = true;
  for (std::string_view arg : args) {
    if (arg == "/?" || arg == "-?" || arg == "?") {
      cl.Usage = true;
      break;
    }
    if (arg == "-q") {
      cl.Banner = false;
    } else if (arg == "-s") {
      cl.SemanticCode = true;
    } else if (arg == "-T") {
      cl.DebugSupport = true;
    } else if (arg.starts_with("-l")) {
      cl.ListFile = Cut(arg.substr(2));
      cl.Listing = true;
    } else if (cl.Positional == 0) {
      cl.LangFile = Cut(arg);
      ++cl.Positional;
    } else if (cl.Positional == 1) {
      cl.TargetDir = Cut(arg);
      ++cl.Positional;
    } else {
      ++cl.TooMany;
    }
  }
  return cl;
}

void PrintUsage() {
  Print("Parvolen: Constructor (compiler compiler) for 1-kind grammars v0.12\n");
  Print("USAGE:\n\tParvolen [-q] [-s] [-T] <langfile> [<targetdir>] [-l<lstfile>]\n");
  Print("\nTarget directory must exist. If omitted, current directory is used.\n");
  Print("-q supresses printing of banner.\n");
  Print("-s enables generation of semantic action code (if specified in the grammar\n");
  Print("-T enables generation of target file debug support.\n");
  Print("-l specifies listing file\n");
}

}  // namespace parvolen
