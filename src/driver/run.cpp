#include "driver/run.h"

#include <string>

#include "base/console.h"
#include "base/diagnostic.h"
#include "base/version.h"
#include "codegen/embedded_module.h"
#include "codegen/embedded_plan.h"
#include "driver/grammar_check.h"
#include "model/analysis_trace.h"
#include "model/language.h"
#include "reader/reader.h"

namespace parvolen {

ConsOptions MakeConsOptions(const CommandLine& cl) {
  ConsOptions options;
  options.TrackLines = 1;
  options.DebugSupport = cl.DebugSupport ? 1 : 0;
  options.OutputUsed = 0;
  options.SemanticCode = cl.SemanticCode ? 1 : 0;
  options.ValueKinds = 0;
  return options;
}

Status Run(std::span<const std::string_view> args) {
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
  if (const Language* lang = pool.Record(handle); lang != nullptr)
    st = CheckGrammar(*lang, progress, cl.LangFile, st, {cl.Strict, cl.Warnings, !cl.Embedded});
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

}  // namespace parvolen
