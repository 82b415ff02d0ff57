#include "driver/run.h"

#include <new>
#include <string>

#include "base/console.h"
#include "base/diagnostic.h"
#include "base/version.h"
#include "codegen/embedded/module.h"
#include "codegen/embedded/plan.h"
#include "driver/grammar_check.h"
#include "model/analysis_trace.h"
#include "model/language.h"
#include "reader/capacities.h"
#include "reader/reader.h"

namespace parvolen {
namespace {

// --capacities: a [Language] block with every capacity key at what the description needs, on
// standard output; when it cannot be counted, the reading's diagnostics and its status.
// A description that only the embeddable translator reads is counted as for --prefix, and a
// grammar that fails the check gets its block too (its Views and Nodes counted up to the
// failure), then its status.
Status PrintCapacities(const std::string& langFile, bool embedded) {
  ReadOptions options;
  options.EmbeddedKeys = embedded;
  CapacityCount count = CountCapacities(langFile, stOk, options);
  const auto grammarFault = [](Status st) { return st == stNotKindAny || st == stNotKindGiven; };
  bool widened = false;
  if (!embedded && count.Outcome != stOk && !grammarFault(count.Outcome) && CapacityKeyOf(count.Outcome) == nullptr) {
    ReadOptions wide;
    wide.EmbeddedKeys = true;
    CapacityCount again = CountCapacities(langFile, stOk, wide);
    widened = again.Outcome == stOk || grammarFault(again.Outcome);
    if (widened) count = std::move(again);
  }
  if (count.Outcome == stOk || grammarFault(count.Outcome)) {
    std::string block = "[Language]\n";
    for (std::size_t k = 0; k < kCapacityCount; ++k)
      block += std::string(CapacityKeys()[k].Key) + " = " + std::to_string(count.Needed[k]) + "\n";
    Print(block);
    Diagnostic note;
    note.File = langFile;
    note.Level = Severity::Note;
    if (widened) {
      note.Text = "counted as for --prefix: the description uses what only the embeddable translator reads";
      Report(note);
    }
    if (grammarFault(count.Outcome)) {
      std::string message(StatusMessage(count.Outcome));
      if (!message.empty() && message.front() >= 'A' && message.front() <= 'Z') message.front() += 'a' - 'A';
      note.Text = "Views and Nodes are counted up to where the grammar fails the check: " + message;
      note.Hint = "run without --capacities for the diagnostics";
      Report(note);
    }
    return count.Outcome;
  }
  if (const CapacityKey* key = CapacityKeyOf(count.Outcome); key != nullptr) {
    ReportError(langFile + ": " + std::string(key->Key) + " needs more than " + std::to_string(kCountingLimit) +
                ", the most that --capacities counts");
  } else if (count.Diagnostics.empty()) {
    std::string message(StatusMessage(count.Outcome));
    if (!message.empty() && message.front() >= 'A' && message.front() <= 'Z') message.front() += 'a' - 'A';
    ReportError(langFile + ": " + message);
  } else {
    Print(count.Diagnostics, Channel::Diagnostics);
  }
  return count.Outcome;
}

// A description that cannot be opened and whose name begins with "-": an option was probably
// meant (such as -h for --help), so a note after the reader's error says how it was taken.
void NoteLookalike(const std::string& langFile) {
  if (!langFile.starts_with('-')) return;
  Diagnostic note;
  note.Level = Severity::Note;
  note.Text = "'" + langFile + "' is no option, so it was taken as the description";
  note.Hint = OptionLookalike(langFile);
  if (note.Hint.empty()) note.Hint = "'parvolen --help' lists the options";
  Report(note);
}

// Running out of memory: its message and status, as a failing run ends.
Status RunOutOfMemory() {
  ReportError("out of memory: the run stops here; the files it completed stay, and no other is left");
  Print("\n" + std::string(StatusMessage(stNoMem)) + ".\n\n\n");
  CurrentSink(Channel::Messages).Flush();
  return stNoMem;
}

}  // namespace

ConsOptions MakeConsOptions(const CommandLine& cl) {
  ConsOptions options;
  options.TrackLines = 1;
  options.DebugSupport = cl.DebugSupport ? 1 : 0;
  options.OutputUsed = 0;
  options.SemanticCode = cl.SemanticCode ? 1 : 0;
  options.ValueKinds = 0;
  return options;
}

namespace {

// The run itself; running out of memory leaves it as std::bad_alloc.
Status RunCommand(std::span<const std::string_view> args) {
  const CommandLine cl = ParseCommandLine(args);
  // The long options answer before anything else is printed.
  if (!cl.BadOption.empty()) {
    PrintBadOption(cl.BadOption);
    return kUsageStatus;
  }
  if (cl.Embedded && !ValidPrefix(cl.Prefix)) {
    ReportError("invalid prefix '" + cl.Prefix + "': a C identifier of at most 64 characters is needed");
    return kUsageStatus;
  }
  if (cl.Help || cl.Version) {
    if (cl.Help) PrintHelp();
    if (cl.Version) Print("parvolen " + std::string(kVersion) + "\n");
    CurrentSink(Channel::Messages).Flush();
    return stOk;
  }
  for (std::int32_t i = 0; i < cl.TooMany; ++i) Print("\n*** Too many parameters!\n");
  if (cl.Usage) {
    PrintUsage();
    return stOk;
  }
  if (cl.Capacities) {
    const Status st = PrintCapacities(cl.LangFile, cl.Embedded);
    CurrentSink(Channel::Messages).Flush();
    return st;
  }
  if (cl.Banner) Print("\nParvolen v" + std::string(kVersion) + "\n");

  ConsOptions options = MakeConsOptions(cl);
  LanguagePool pool;
  std::int32_t handle = 0;
  const WarningsOff quiet(!cl.Warnings);
  // The progress record and trace tell the grammar diagnostics where names and productions stand.
  AnalysisTrace trace;
  ReadProgress progress;
  progress.Trace = &trace;
  ReadOptions reading;
  reading.EmbeddedKeys = cl.Embedded;
  Status st =
      ReadDescription(pool, cl.LangFile, cl.Listing ? cl.ListFile : std::string(), handle, &progress, reading);
  if (st == stCannotOpen && handle == 0) NoteLookalike(cl.LangFile);
  if (const Language* lang = pool.Record(handle); lang != nullptr)
    st = CheckGrammar(*lang, progress, cl.LangFile, st, {cl.Strict, cl.Warnings, !cl.Embedded, cl.Embedded});
  if (st == stOk && cl.Embedded) {
    const Language* lang = pool.Record(handle);
    st = lang == nullptr ? stBadLanguageHandle : ConsEmbedded(*lang, cl.TargetDir, cl.Prefix, options, &progress, cl.LangFile);
  } else if (st == stOk) {
    st = Construct(pool.Record(handle), cl.TargetDir, &options);
  }

  if (st == stOk) {
    Print("\nDone.\n");
  } else {
    Print("\n" + std::string(StatusMessage(st)) + ".\n\n\n");
  }
  (void)pool.Release(handle);  // a run that never got a handle has nothing to release
  CurrentSink(Channel::Messages).Flush();
  return st;
}

}  // namespace

Status Run(std::span<const std::string_view> args) {
  // Running out of memory anywhere ends the run as a failing status does. Unwinding releases
  // what the run held, so the message can be made; a file being written is discarded.
  try {
    return RunCommand(args);
  } catch (const std::bad_alloc&) {
    return RunOutOfMemory();
  }
}

}  // namespace parvolen
