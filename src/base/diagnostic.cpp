#include "base/diagnostic.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/console.h"

namespace parvolen {
namespace {

bool warningsOff = false;    // a WarningsOff is alive
bool droppedBefore = false;  // the last diagnostic reported was dropped: so are its notes

// The number of bytes of the UTF-8 sequence that begins at i, or 0 when no valid sequence
// does (a stray continuation byte, an overlong form, a surrogate, beyond U+10FFFF).
std::size_t SequenceLength(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u; };
  const unsigned lead = byte(i);
  const auto in = [](unsigned b, unsigned low, unsigned high) { return b >= low && b <= high; };
  if (lead < 0x80) return 1;
  if (in(lead, 0xC2, 0xDF)) return in(byte(i + 1), 0x80, 0xBF) ? 2 : 0;
  if (in(lead, 0xE0, 0xEF)) {
    const unsigned low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    return in(byte(i + 1), low, high) && in(byte(i + 2), 0x80, 0xBF) ? 3 : 0;
  }
  if (in(lead, 0xF0, 0xF4)) {
    const unsigned low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    return in(byte(i + 1), low, high) && in(byte(i + 2), 0x80, 0xBF) && in(byte(i + 3), 0x80, 0xBF) ? 4 : 0;
  }
  return 0;
}

// A control character: C0 (but the tab), DEL, and C1 in its UTF-8 form (C2 80 to C2 9F).
bool IsControl(std::string_view s, std::size_t i, std::size_t length) {
  const auto lead = static_cast<unsigned char>(s[i]);
  if (length == 1) return (lead < 0x20 && lead != '\t') || lead == 0x7F;
  return length == 2 && lead == 0xC2 && static_cast<unsigned char>(s[i + 1]) < 0xA0;
}

std::string Escaped(unsigned char byte) {
  constexpr char kHex[] = "0123456789abcdef";
  return {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
}

// A text as a terminal shows it: the bytes of control characters and of invalid UTF-8 escaped
// ("\x1b"), so that the description cannot move the cursor or change colours. For each byte of
// the text, what it shows as (the whole character at its first byte, nothing at the others).
std::vector<std::string> Shown(std::string_view text) {
  std::vector<std::string> shown(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = SequenceLength(text, i);
    if (length == 0 || IsControl(text, i, length)) {
      for (std::size_t k = 0; k < std::max<std::size_t>(length, 1); ++k)
        shown[i + k] = Escaped(static_cast<unsigned char>(text[i + k]));
      i += std::max<std::size_t>(length, 1);
      continue;
    }
    shown[i] = std::string(text.substr(i, length));
    i += length;
  }
  return shown;
}

// The display columns that a shown byte takes: one per character, four per escape, a tab one
// (the caret line copies it, see SourceExcerpt).
std::size_t Width(const std::string& shown) {
  if (shown.empty()) return 0;
  return shown.size() == 4 && shown[0] == '\\' && shown[1] == 'x' ? 4 : 1;
}

std::string ShownText(std::string_view text) {
  std::string out;
  for (const std::string& part : Shown(text)) out += part;
  return out;
}

// The source line and the caret line under it. The caret stands under the first byte of the
// column and the underline runs over the display columns of the bytes of the length: a UTF-8
// character is one column, an escaped byte four. Tabs of the source are copied into the caret
// line so that the caret stands under the column on any tab setting.
std::string SourceExcerpt(const Diagnostic& d) {
  std::string number = std::to_string(d.Line);
  if (number.size() < 5) number.insert(0, 5 - number.size(), ' ');
  const std::vector<std::string> shown = Shown(d.Source);
  std::string out = number + " | ";
  for (const std::string& part : shown) out += part;
  out += "\n";
  std::string caret(number.size(), ' ');
  caret += " | ";
  const std::size_t column = static_cast<std::size_t>(d.Column - 1);
  const std::size_t length = static_cast<std::size_t>(std::max(d.Length, 1));
  // Bytes past the end of the line (an end of line that is to blame) count one column each.
  const auto width = [&](std::size_t i) { return i < shown.size() ? Width(shown[i]) : 1; };
  for (std::size_t i = 0; i < column; ++i)
    caret += i < d.Source.size() && d.Source[i] == '\t' ? std::string(1, '\t') : std::string(width(i), ' ');
  std::size_t underline = 0;
  for (std::size_t i = column; i < column + length; ++i) underline += width(i);
  caret += '^';
  if (underline > 1) caret.append(underline - 1, '~');
  return out + caret + "\n";
}

// The edit distance of a and b when it is at most bound, else bound + 1: each row of the table
// stops being computed once no entry of it is within the bound (the entries of later rows can
// only be larger).
std::size_t DistanceWithin(std::string_view a, std::string_view b, std::size_t bound) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    std::size_t least = row[0];
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
      least = std::min(least, row[j]);
    }
    if (least > bound) return bound + 1;
  }
  return std::min(row[b.size()], bound + 1);
}

}  // namespace

std::string FormatDiagnostic(const Diagnostic& d) {
  std::string out = d.File.empty() ? std::string(kProgramName) : d.File;
  if (d.Line > 0) {
    out += ":" + std::to_string(d.Line);
    if (d.Column > 0) out += ":" + std::to_string(d.Column);
  }
  out += d.Level == Severity::Error ? ": error: " : d.Level == Severity::Warning ? ": warning: " : ": note: ";
  out += ShownText(d.Text);
  if (!d.Hint.empty()) out += "; " + ShownText(d.Hint);
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
    const std::size_t limit = std::max<std::size_t>(1, std::max(name.size(), candidate.size()) / 3);
    // The distance is at least the difference of the lengths: a candidate that this alone puts
    // beyond the limit costs no table.
    const std::size_t longer = std::max(name.size(), candidate.size());
    if (longer - std::min(name.size(), candidate.size()) > limit) continue;
    const std::size_t distance = DistanceWithin(name, candidate, limit);
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
