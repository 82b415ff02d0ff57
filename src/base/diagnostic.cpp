#include "base/diagnostic.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/console.h"

namespace parvolen {
namespace {

bool warningsOff = false;    // a WarningsOff is alive
bool droppedBefore = false;  // the last diagnostic reported was dropped: so are its notes

// The source line and the caret line under it; tabs of the source are copied into the caret
// line so that the caret stands under the column on any tab setting.
std::string SourceExcerpt(const Diagnostic& d) {
  std::string number = std::to_string(d.Line);
  if (number.size() < 5) number.insert(0, 5 - number.size(), ' ');
  std::string out = number + " | " + d.Source + "\n";
  std::string caret(number.size(), ' ');
  caret += " | ";
  const std::size_t column = static_cast<std::size_t>(d.Column - 1);
  for (std::size_t i = 0; i < column; ++i) caret += i < d.Source.size() && d.Source[i] == '\t' ? '\t' : ' ';
  caret += '^';
  if (d.Length > 1) caret.append(static_cast<std::size_t>(d.Length - 1), '~');
  return out + caret + "\n";
}

}  // namespace

std::string FormatDiagnostic(const Diagnostic& d) {
  std::string out = d.File.empty() ? std::string(kProgramName) : d.File;
  if (d.Line > 0) {
    out += ":" + std::to_string(d.Line);
    if (d.Column > 0) out += ":" + std::to_string(d.Column);
  }
  out += d.Level == Severity::Error ? ": error: " : d.Level == Severity::Warning ? ": warning: " : ": note: ";
  out += d.Text;
  if (!d.Hint.empty()) out += "; " + d.Hint;
  out += "\n";
  if (d.Line > 0 && d.Column > 0) out += SourceExcerpt(d);
  return out;
}

void Report(const Diagnostic& diagnostic) {
  const Severity level = diagnostic.Level;
  droppedBefore = level == Severity::Warning ? warningsOff : level == Severity::Note && droppedBefore;
  if (droppedBefore) return;
  Print(FormatDiagnostic(diagnostic), Channel::Diagnostics);
  CurrentSink(Channel::Diagnostics).Flush();
}

WarningsOff::WarningsOff(bool active) : previous_(warningsOff) { warningsOff = warningsOff || active; }

WarningsOff::~WarningsOff() { warningsOff = previous_; }

void ReportError(std::string text) {
  Diagnostic diagnostic;
  diagnostic.Text = std::move(text);
  Report(diagnostic);
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string_view NearestName(std::string_view name, std::span<const std::string_view> candidates) {
  std::string_view best;
  std::size_t bestDistance = 0;
  for (std::string_view candidate : candidates) {
    if (candidate.empty() || candidate == name) continue;
    const std::size_t distance = EditDistance(name, candidate);
    const std::size_t limit = std::max<std::size_t>(1, std::max(name.size(), candidate.size()) / 3);
    if (distance > limit) continue;
    if (best.empty() || distance < bestDistance) {
      best = candidate;
      bestDistance = distance;
    }
  }
  return best;
}

std::string DidYouMean(std::string_view name, std::span<const std::string_view> candidates) {
  const std::string_view nearest = NearestName(name, candidates);
  return nearest.empty() ? std::string() : "did you mean '" + std::string(nearest) + "'?";
}

}  // namespace parvolen
