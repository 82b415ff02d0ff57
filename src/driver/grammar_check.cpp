#include "driver/grammar_check.h"

#include <algorithm>
#include <vector>

#include "base/diagnostic.h"
#include "findings/grammar.h"
#include "findings/grammar_diagnostics.h"
#include "findings/places.h"
#include "findings/useless.h"

namespace parvolen {
namespace {

// The status that the useless symbols give the embeddable translator: a nonterminal used but
// never defined, then a starting symbol that derives nothing.
Status UselessStatus(const Language& lang, const UselessSymbols& useless) {
  for (std::size_t n = 1; n < useless.Defined.size(); ++n)
    if (!useless.Defined[n] && (useless.Used[n] || static_cast<std::int32_t>(n) == lang.StartNont))
      return stUnknownNonterminal;
  return useless.Derives(lang.StartNont) ? stOk : stNotKindAny;
}

}  // namespace

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
  if (!options.Warnings && !options.Strict && !options.Embedded) return stOk;
  const UselessSymbols useless = FindUseless(grammar);
  const Status uselessStatus = options.Embedded ? UselessStatus(lang, useless) : stOk;
  if (!options.Warnings && !options.Strict && uselessStatus == stOk) return stOk;
  std::vector<Diagnostic> found;
  if (options.Losses) {
    const Severity level = options.Strict ? Severity::Error : Severity::Warning;
    found = LossDiagnostics(grammar, places, level, &useless);
    std::vector<Diagnostic> extended = ExtendedDiagnostics(grammar, places, level);
    found.insert(found.end(), extended.begin(), extended.end());
  }
  const bool rejects = !found.empty();
  std::vector<Diagnostic> unused = UnusedDiagnostics(grammar, places, progress);
  found.insert(found.end(), unused.begin(), unused.end());
  UselessLevels levels;
  if (options.Embedded) levels = {Severity::Error, Severity::Error};
  std::vector<Diagnostic> more = UselessDiagnostics(grammar, useless, places, progress, levels);
  found.insert(found.end(), more.begin(), more.end());
  const std::optional<Diagnostic> keywords =
      options.Embedded ? std::nullopt
                       : KeywordsWithoutIdName(lang, places, progress, options.Strict ? Severity::Error : Severity::Warning);
  if (keywords) found.push_back(*keywords);
  std::stable_sort(found.begin(), found.end(), [](const Diagnostic& a, const Diagnostic& b) { return a.Line < b.Line; });
  for (const Diagnostic& d : found) Report(d);
  if (uselessStatus != stOk) return uselessStatus;
  if (options.Strict && rejects) return stNotKindGiven;
  return options.Strict && keywords ? stSpecialTerminalUnknown : stOk;
}

}  // namespace parvolen
