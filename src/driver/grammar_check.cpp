#include "driver/grammar_check.h"

#include <algorithm>
#include <vector>

#include "base/diagnostic.h"
#include "findings/grammar.h"
#include "findings/grammar_diagnostics.h"
#include "findings/places.h"

namespace parvolen {

Status CheckGrammar(const Language& lang, const ReadProgress& progress, std::string_view file, Status read,
                    const GrammarCheckOptions& options) {
  if (read != stOk && read != stNotKindAny && read != stNotKindGiven) return read;
  const Grammar grammar(lang, &progress);
  const DescriptionPlaces places(file, progress);
  if (read != stOk) {
    if (progress.Trace != nullptr)
      for (const Diagnostic& d : KindDiagnostics(grammar, *progress.Trace, read, places)) Report(d);
    return read;
  }
  if (!options.Warnings && !options.Strict) return stOk;
  std::vector<Diagnostic> found;
  if (options.Losses) found = LossDiagnostics(grammar, places, options.Strict ? Severity::Error : Severity::Warning);
  const bool rejects = !found.empty();
  std::vector<Diagnostic> unused = UnusedDiagnostics(grammar, places, progress);
  found.insert(found.end(), unused.begin(), unused.end());
  std::stable_sort(found.begin(), found.end(), [](const Diagnostic& a, const Diagnostic& b) { return a.Line < b.Line; });
  for (const Diagnostic& d : found) Report(d);
  return options.Strict && rejects ? stNotKindGiven : stOk;
}

}  // namespace parvolen
