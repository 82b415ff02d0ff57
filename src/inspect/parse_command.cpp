#include "inspect/parse_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/console.h"
#include "base/diagnostic.h"
#include "codegen/embedded/decisions.h"
#include "codegen/embedded/header.h"
#include "codegen/embedded/lexicon_check.h"
#include "findings/grammar.h"
#include "inspect/inspection.h"
#include "inspect/tree_writers.h"

namespace parvolen::inspect {
namespace {

// The whole input, from the file or (for "-") standard input; false when it cannot be read.
bool ReadInput(const std::string& name, std::string& text, std::string& reason) {
  FILE* in = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
  if (in == nullptr) {
    reason = std::strerror(errno);
    return false;
  }
  char block[65536];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, in)) > 0) text.append(block, got);
  const bool failed = std::ferror(in) != 0;
  if (failed) reason = "read error";
  if (in != stdin) std::fclose(in);
  return !failed;
}

}  // namespace

Status RunParse(const InspectCommand& cmd) {
  Inspection inspection(cmd.File, true);
  Print(inspection.Console(), Channel::Diagnostics);
  Status st = inspection.Code();
  const Language* lang = inspection.Lang();
  if (st == stOk && lang == nullptr) st = stBadLanguageHandle;
  if (st != stOk) {
    ReportError(cmd.File + ": " + std::string(StatusMessage(st)) +
                "; 'parvolen-inspect --prefix " + cmd.File + "' explains the description");
    return st;
  }
  EmbeddedDecisions decisions;
  if (st = decisions.Compute(*lang, &inspection.Progress(), cmd.File); st != stOk) return st;
  regex::Lexicon lexicon;
  if (st = BuildCheckedLexicon(*lang, &inspection.Progress(), cmd.File, lexicon); st != stOk) return st;

  const std::string shown = cmd.Input == "-" ? std::string("stdin") : cmd.Input;
  const Grammar grammar(*lang, &inspection.Progress());
  std::string text, reason;
  ParseOutcome outcome;
  if (!ReadInput(cmd.Input, text, reason)) {
    // As the generated translator's NAME_parse_file words it; the system's reason beside it.
    outcome.Failure = {EmbeddedStatusValue("OPEN"), 0, 0, "cannot open the input"};
    if (cmd.MaxErrors > 0) outcome.Errors = {outcome.Failure};
    ReportError(shown + ": " + reason);
  } else {
    outcome = ParseInput(grammar, decisions, lexicon, text, kEmbeddedDefaultMaxDepth, cmd.MaxErrors);
  }
  const ParsedInput parsed{shown, &outcome, cmd.MaxErrors > 0};
  Print(cmd.Json ? WriteTreeJson(grammar, parsed) : cmd.Dot ? WriteTreeDot(grammar, parsed) : WriteTreeText(grammar, parsed));
  CurrentSink(Channel::Messages).Flush();
  return outcome.Accepted ? stOk : kRejectedBase + outcome.Failure.Status;
}

}  // namespace parvolen::inspect
