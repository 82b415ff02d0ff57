#include "inspect/command.h"

#include <algorithm>
#include <climits>
#include <new>
#include <string>

#include "base/console.h"
#include "base/diagnostic.h"
#include "base/version.h"
#include "inspect/inspection.h"
#include "inspect/parse_command.h"
#include "inspect/writers.h"

namespace parvolen::inspect {
namespace {

void PrintUsage() {
  Print("parvolen-inspect: explains the grammar of a Parvolen language description\n");
  Print("USAGE:\n\tparvolen-inspect [--json | --dot[=<nonterminal>]] <langfile>\n\n");
  Print("Prints the tables, the productions with their lines, the views and decision lists,\n");
  Print("where and why a description fails, and where the generated parser would reject\n");
  Print("input that the grammar derives.\n");
  Print("--json writes the same as one JSON object.\n");
  Print("--dot writes the edge tries and decision lists (of one nonterminal) as a Graphviz graph.\n");
}

// The usage text, the options that stop at once and the ones added since; --help prints it.
void PrintHelp() {
  PrintUsage();
  Print("--html=<file> writes the report to the file as one HTML page with railroad diagrams,\n");
  Print("reading the description as the embeddable translator does (with [Tokens]).\n");
  Print("--prefix reads the description as parvolen --prefix does and explains the decisions of\n");
  Print("the embeddable translator.\n");
  Print("--parse=<input> parses the input (- for standard input) as the embeddable translator\n");
  Print("does and prints its syntax tree (--json, --dot) or its errors.\n");
  Print("--max-errors=<n> with --parse goes on after an error as the embeddable translator\n");
  Print("does with NAME_set_max_errors and prints up to n errors.\n");
  Print("--help prints this text; --version prints the version.\n");
}

// The count of --max-errors=N: digits, at most INT_MAX; false for anything else.
bool ErrorCount(std::string_view text, int& count) {
  if (text.empty() || text.size() > 10) return false;
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > INT_MAX) return false;
  count = static_cast<int>(value);
  return true;
}

// The number of the nonterminal with the name, 0 when there is none.
std::int32_t NonterminalNamed(const Language& lang, std::string_view name) {
  if (!lang.NontTab.Exists()) return 0;
  for (std::int32_t n = 1; n <= lang.LastNonterminal; ++n)
    if (lang.NontTab[n].Name.View() == name) return n;
  return 0;
}

// The lines the reading printed, as comments of a graph.
std::string AsComments(const std::string& console) {
  std::string out;
  std::size_t start = 0;
  while (start < console.size()) {
    std::size_t end = console.find('\n', start);
    if (end == std::string::npos) end = console.size();
    if (end > start) out += "// " + console.substr(start, end - start) + "\n";
    start = end + 1;
  }
  return out;
}

}  // namespace

InspectCommand ParseInspectCommand(std::span<const std::string_view> args) {
  InspectCommand cmd;
  if (args.empty()) cmd.Usage = true;
  for (std::string_view arg : args) {
    if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "/?" || arg == "?") {
      cmd.Usage = true;
    } else if (arg == "--version") {
      cmd.Version = true;
    } else if (arg == "--json") {
      cmd.Json = true;
    } else if (arg == "--dot") {
      cmd.Dot = true;
    } else if (arg.starts_with("--dot=")) {
      cmd.Dot = true;
      cmd.DotOnly = std::string(arg.substr(6));
    } else if (arg == "--html" || arg.starts_with("--html=")) {
      cmd.Html = arg.size() > 7 ? std::string(arg.substr(7)) : "";
      if (cmd.Html.empty()) cmd.Error = "--html needs the name of the file to write: --html=FILE";
    } else if (arg == "--prefix" || arg.starts_with("--prefix=")) {
      cmd.Prefix = true;
    } else if (arg.starts_with("--parse=") && arg.size() > 8) {
      cmd.Parse = true;
      cmd.Input = std::string(arg.substr(8));
    } else if (arg == "--max-errors" || arg.starts_with("--max-errors=")) {
      cmd.MaxErrorsGiven = true;
      if (!ErrorCount(arg.substr(std::min<std::size_t>(arg.size(), 13)), cmd.MaxErrors) || arg.size() <= 13)
        cmd.Error = "--max-errors needs a count: --max-errors=N, N a number from 0 to " + std::to_string(INT_MAX);
    } else if (arg == "--parse" || arg == "--parse=") {
      cmd.Error = "--parse needs the input: --parse=FILE, or --parse=- for standard input";
    } else if (arg.starts_with("-") && arg.size() > 1) {
      cmd.Error = "Unknown option " + std::string(arg);
    } else if (cmd.File.empty()) {
      cmd.File = std::string(arg);
    } else {
      cmd.Error = "More than one description file";
    }
  }
  if (cmd.Error.empty() && !cmd.Usage && !cmd.Version && cmd.File.empty()) cmd.Error = "No description file";
  if (cmd.Error.empty() && cmd.Json && cmd.Dot) cmd.Error = "--json and --dot exclude each other";
  if (cmd.Error.empty() && !cmd.Html.empty() && (cmd.Json || cmd.Dot)) cmd.Error = "--html excludes --json and --dot";
  if (cmd.Error.empty() && cmd.MaxErrorsGiven && !cmd.Parse && !cmd.Usage && !cmd.Version)
    cmd.Error = "--max-errors goes with --parse=INPUT";
  if (cmd.Error.empty() && cmd.Parse && !cmd.DotOnly.empty()) cmd.Error = "--parse draws the whole tree: --dot takes no nonterminal";
  return cmd;
}

namespace {

// The command itself; running out of memory leaves it as std::bad_alloc.
Status InspectCommandRun(std::span<const std::string_view> args) {
  const InspectCommand cmd = ParseInspectCommand(args);
  if (cmd.Version && cmd.Error.empty() && !cmd.Usage) {
    Print("parvolen-inspect " + std::string(kVersion) + "\n");
    CurrentSink(Channel::Messages).Flush();
    return stOk;
  }
  if (cmd.Usage || !cmd.Error.empty()) {
    if (!cmd.Error.empty()) Print(cmd.Error + ".\n\n");
    if (cmd.Error.empty()) {
      PrintHelp();
    } else {
      PrintUsage();
    }
    CurrentSink(Channel::Messages).Flush();
    return cmd.Error.empty() ? stOk : kBadCommandLine;
  }

  if (cmd.Parse) return RunParse(cmd);
  Inspection inspection(cmd.File, cmd.Prefix || !cmd.Html.empty());
  Status st = inspection.Code();
  const Language* lang = inspection.Lang();
  if (cmd.Dot && lang != nullptr) {
    std::int32_t only = 0;
    if (!cmd.DotOnly.empty() && (only = NonterminalNamed(*lang, cmd.DotOnly)) == 0) {
      Print("No nonterminal is named " + cmd.DotOnly + ".\n");
      st = stUnknownNonterminal;
    } else {
      std::string graph = AsComments(inspection.Console());
      if (st != stOk) graph += "// " + std::string(StatusMessage(st)) + ".\n";
      Print(graph + WriteDot(*lang, &inspection.Progress(), only));
    }
  } else if (!cmd.Html.empty()) {
    st = WriteHtmlFile(cmd.Html, inspection.MakeReport(), lang, &inspection.Progress());
  } else {
    const Report report = inspection.MakeReport();
    Print(cmd.Json ? WriteJson(report) : WriteText(report));
    st = report.Code;
  }
  CurrentSink(Channel::Messages).Flush();
  return st;
}

}  // namespace

Status RunInspect(std::span<const std::string_view> args) {
  // Running out of memory anywhere ends the command with its status and a message; unwinding
  // releases what it held first.
  try {
    return InspectCommandRun(args);
  } catch (const std::bad_alloc&) {
    CurrentSink(Channel::Messages).Flush();
    ReportError("out of memory: the inspection stops here");
    return stNoMem;
  }
}

}  // namespace parvolen::inspect
