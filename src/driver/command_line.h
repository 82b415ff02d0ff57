// The command line: [-q] [-s] [-T] [-w] <langfile> [<targetdir>] [-l<lstfile>], the long options
// --help, --version, --strict, --no-warnings, --capacities and --prefix=NAME, and the usage and
// help texts.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace parvolen {

// What the arguments ask for. File names hold at most kMaxArgument characters.
struct CommandLine {
  static constexpr std::size_t kMaxArgument = 255;

  bool Usage = false;         // print the usage text and stop
  bool Banner = true;         // cleared by -q
  bool SemanticCode = false;  // -s
  bool DebugSupport = false;  // -T
  bool Listing = false;       // some -l was given
  std::string LangFile;
  std::string TargetDir;      // empty: the current directory
  std::string ListFile;       // the rest of the last -l argument
  std::int32_t Positional = 0;
  std::int32_t TooMany = 0;   // positional parameters after the second, each reported once
  bool Help = false;          // --help: print the help text and stop
  bool Version = false;       // --version: print the version and stop
  bool Capacities = false;    // --capacities: print the capacities the description needs instead of generating
  std::string BadOption;      // the first argument that begins with "--" and is no known option
  bool Embedded = false;      // --prefix=NAME: write the embeddable translator
  std::string Prefix;         // its NAME
  bool Strict = false;        // --strict: a grammar whose parser rejects input it derives fails
  bool Warnings = true;       // cleared by -w and --no-warnings
};


// Examines the arguments after the program name, in order; no arguments at all, or one of
// "/?", "-?", "?", asks for the usage text (later arguments are then not examined). Only
// arguments that begin with "--" are long options: "--help" and "--version" stop the
// examination as "-?" does, "--strict", "--no-warnings", "--capacities" and "--prefix=NAME" are
// read, any other is kept as the bad option. "-w" is an option only as the whole argument.
[[nodiscard]] CommandLine ParseCommandLine(std::span<const std::string_view> args);

// Prints the usage text.
void PrintUsage();

// Prints the help text: the synopsis and every option, on standard output.
void PrintHelp();

// Prints the unknown option (or, for a bare --prefix, that it needs its name) and a pointer to
// --help on standard error.
void PrintBadOption(std::string_view option);

// For a parameter that begins with "-" and resembles a long option ("-h", "-version",
// "-prefix=calc"): "did you mean '--help'?" with the option it resembles; empty otherwise.
[[nodiscard]] std::string OptionLookalike(std::string_view arg);

}  // namespace parvolen
