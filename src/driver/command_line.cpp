#include "driver/command_line.h"

#include <algorithm>
#include <vector>

#include "base/console.h"
#include "base/diagnostic.h"

namespace parvolen {
namespace {

std::string Cut(std::string_view argument) { return std::string(argument.substr(0, CommandLine::kMaxArgument)); }

// The long options that set a flag and let the examination go on.
struct FlagOption {
  std::string_view Name;
  bool CommandLine::*Field;
  bool Value;
};
constexpr FlagOption kFlagOptions[] = {
    {"--strict", &CommandLine::Strict, true},
    {"--no-warnings", &CommandLine::Warnings, false},
    {"--capacities", &CommandLine::Capacities, true},
};

const FlagOption* FindFlag(std::string_view arg) {
  for (const FlagOption& flag : kFlagOptions)
    if (arg == flag.Name) return &flag;
  return nullptr;
}

// The long option that takes a value after "=".
constexpr std::string_view kPrefixOption = "--prefix";

// Every long option as --help names it, for the hint of an argument that resembles one.
std::vector<std::string_view> LongOptions() {
  std::vector<std::string_view> names = {"--help", "--version", "--prefix=NAME"};
  for (const FlagOption& flag : kFlagOptions) names.push_back(flag.Name);
  return names;
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string_view> args) {
  CommandLine cl;
  if (args.empty()) cl.Usage = true;
  for (std::string_view arg : args) {
    if (arg == "/?" || arg == "-?" || arg == "?") {
      cl.Usage = true;
      break;
    }
    if (arg == "--help") {
      cl.Help = true;
      break;
    }
    if (arg == "--version") {
      cl.Version = true;
      break;
    }
    if (arg.starts_with(kPrefixOption) && arg.substr(kPrefixOption.size()).starts_with('=')) {
      cl.Embedded = true;
      cl.Prefix = Cut(arg.substr(kPrefixOption.size() + 1));
      continue;
    }
    if (const FlagOption* flag = FindFlag(arg); flag != nullptr) {
      cl.*flag->Field = flag->Value;
      continue;
    }
    if (arg.starts_with("--")) {
      if (cl.BadOption.empty()) cl.BadOption = Cut(arg);
      continue;
    }
    if (arg == "-q") {
      cl.Banner = false;
    } else if (arg == "-s") {
      cl.SemanticCode = true;
    } else if (arg == "-T") {
      cl.DebugSupport = true;
    } else if (arg == "-w") {
      cl.Warnings = false;
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

void PrintHelp() {
  Print("Usage: parvolen [OPTION]... LANGFILE [TARGETDIR]\n");
  Print("Reads the language description LANGFILE and writes the C source of its translator\n");
  Print("into TARGETDIR, which must exist (the current directory when it is omitted).\n\n");
  Print("Options:\n");
  Print("  -q           do not print the banner\n");
  Print("  -s           generate the code of the semantic instructions of [Instructions]\n");
  Print("  -T           generate debug support: parsing routines print when they enter and return\n");
  Print("  -lLSTFILE    write a listing of the description to LSTFILE\n");
  Print("  -w, --no-warnings\n");
  Print("               do not print warnings (errors are still printed)\n");
  Print("  --strict     fail with status 52 when the generated parser would reject input that\n");
  Print("               the grammar derives (the warnings of that kind become errors)\n");
  Print("  --capacities print the [Language] capacities that LANGFILE needs, ready to paste,\n");
  Print("               and generate nothing\n");
  Print("  --prefix=NAME\n");
  Print("               write the embeddable translator instead: NAME.h and NAME.c, reentrant,\n");
  Print("               every public name beginning with NAME_ (see the guide)\n");
  Print("  /?, -?, ?    print the short usage text and exit\n");
  Print("  --help       print this help and exit\n");
  Print("  --version    print the version and exit\n\n");
  Print("The exit status is 0 on success, the number of the failure otherwise (man parvolen),\n");
  Print("and 2 for an unknown option that begins with \"--\". Diagnostics that name the file,\n");
  Print("line and column of a fault go to standard error.\n");
}

void PrintBadOption(std::string_view option) {
  if (option == kPrefixOption)
    ReportError("option '--prefix' needs a name: write --prefix=NAME, NAME a C identifier");
  else
    ReportError("unknown option '" + std::string(option) + "'");
  Print("Usage: parvolen [OPTION]... LANGFILE [TARGETDIR]\nTry 'parvolen --help' for more information.\n",
        Channel::Diagnostics);
}

std::string OptionLookalike(std::string_view arg) {
  const std::size_t start = arg.find_first_not_of('-');
  if (start == 0 || start == std::string_view::npos) return "";
  // The name as written, in lower case, and what follows it from an "=" on.
  const std::string_view given = arg.substr(start);
  const std::string_view rest = given.substr(std::min(given.find('='), given.size()));
  std::string word(given.substr(0, given.size() - rest.size()));
  for (char& c : word) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (word.empty()) return "";
  const std::vector<std::string_view> options = LongOptions();
  std::vector<std::string_view> names;
  for (std::string_view option : options) names.push_back(option.substr(2, option.find('=') - 2));
  std::size_t found = options.size();
  for (std::size_t i = 0; i < names.size() && found == options.size(); ++i)
    if (names[i].starts_with(word)) found = i;  // the whole name or an abbreviation
  if (found == options.size()) {
    const std::string_view nearest = NearestName(word, names);
    for (std::size_t i = 0; i < names.size() && !nearest.empty(); ++i)
      if (names[i] == nearest) found = i;
  }
  if (found == options.size()) return "";
  const bool takesValue = options[found].find('=') != std::string_view::npos;
  const std::string suggestion = takesValue && !rest.empty() ? "--" + std::string(names[found]) + std::string(rest)
                                                             : std::string(options[found]);
  return "did you mean '" + suggestion + "'?";
}

}  // namespace parvolen
