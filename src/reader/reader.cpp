#include "reader/reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/diagnostic.h"
#include "base/stack_room.h"
#include "base/text.h"
#include "reader/capacities.h"
#include "reader/faults.h"
#include "reader/language_section.h"
#include "reader/line_reader.h"
#include "reader/listing.h"
#include "reader/prefix_only.h"
#include "reader/sections.h"

namespace parvolen {
namespace {

// Opens the description for reading; a directory is no description. On failure `error` holds
// the system's reason (an errno value).
FilePtr OpenDescription(const std::string& name, int& error) {
  errno = 0;
  FilePtr file(std::fopen(name.c_str(), "r"));
  error = errno;
  struct stat info {};
  if (file && ::fstat(::fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode)) {
    file.reset();
    error = EISDIR;
  }
  if (!file && error == 0) error = EIO;  // fopen failed without saying why
  return file;
}

// Names the description that cannot be opened and the system's reason, on standard error.
void ReportOpenFailure(const std::string& name, int error) {
  Diagnostic d;
  d.File = name;
  std::string reason = name.empty() ? "no file name given" : std::strerror(error);
  if (!reason.empty() && reason.front() >= 'A' && reason.front() <= 'Z') reason.front() += 'a' - 'A';
  d.Text = "cannot open the description: " + reason;
  Report(d);
}

[[nodiscard]] bool IsHeader(std::string_view trimmed) { return trimmed.size() > 1 && trimmed.front() == '['; }

// The line as it stands in the file: the skipped indentation, then the text up to its line end.
// Written into `source`, whose room is reused.
void SourceLineInto(const LineReader& lines, const std::string& line, std::string& source) {
  source.assign(lines.Indent());
  source.append(line);
  while (!source.empty() && (source.back() == '\r' || source.back() == '\n')) source.pop_back();
}

// Makes `d` a diagnostic at the offending text of the current line; offset and length are taken
// within the trimmed text, which begins at the byte textStart of the line as it stands in the
// file. The room of d's texts is reused: the reader does this for every line.
void SetAtLine(Diagnostic& d, std::string_view file, const LineReader& lines, const std::string& line,
               std::size_t textStart, std::size_t offset, std::size_t length) {
  d.Level = Severity::Error;
  d.File.assign(file);
  d.Line = lines.Number();
  d.Column = static_cast<std::int32_t>(textStart + offset + 1);
  d.Length = static_cast<std::int32_t>(std::max<std::size_t>(length, 1));
  SourceLineInto(lines, line, d.Source);
  d.Text.clear();
  d.Hint.clear();
}

// A diagnostic at the offending text of the current line, as SetAtLine makes it.
Diagnostic AtLine(std::string_view file, const LineReader& lines, const std::string& line, std::size_t textStart,
                  std::size_t offset, std::size_t length) {
  Diagnostic d;
  SetAtLine(d, file, lines, line, textStart, offset, length);
  return d;
}

// The state of one reading: the record's handle, the current row and the listing.
class Reader {
 public:
  Reader(LanguagePool& pool, std::int32_t handle, ReadProgress* progress, std::string_view file,
         const Capacities* raised)
      : pool_(pool), handle_(handle), progress_(progress), file_(file), raised_(raised), startSteps_(StepsTaken()) {}

  // Reads lines up to the end of the file or a stopping line; the first failing status.
  [[nodiscard]] Status ReadLines(std::FILE* description, Listing& listing) {
    Reserve(description);
    LineReader lines(description);
    lines_ = &lines;
    const Status st = ReadEach(lines, listing);
    lines_ = nullptr;
    return st;
  }

  // Room for the records kept per line, estimated from the size of the file (lines of about
  // sixteen bytes), so that they are not moved again and again while they grow.
  void Reserve(std::FILE* description) {
    struct stat info {};
    if (::fstat(::fileno(description), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) return;
    const auto lines = static_cast<std::size_t>(std::min<off_t>(info.st_size / 16, off_t{1} << 20));
    declared_.reserve(lines);
    declaredTexts_.reserve(static_cast<std::size_t>(std::min<off_t>(info.st_size, off_t{16} << 20)));
    if (progress_ != nullptr) progress_->Handled.reserve(progress_->Handled.size() + lines);
  }

  // Ends the current row and every later one, as at the end of the file.
  [[nodiscard]] Status EndRemaining() {
    currentText_.clear();  // no header follows
    for (std::size_t r = row_; r < kSectionCount; ++r)
      if (Status st = End(r); st != stOk) return st;
    return stOk;
  }

  // The status of a grammar that fails the check in a counting reading, else stOk.
  [[nodiscard]] Status GrammarFault() const { return grammarFault_; }

 private:
  static const std::array<SectionRow, kSectionCount>& Rows() { return SectionTable(); }

  [[nodiscard]] Status ReadEach(LineReader& lines, Listing& listing) {
    std::string line;
    std::int64_t counter = 0;
    while (lines.Next(line)) {
      listing.Line(++counter, line);
      const std::string_view text = Trim(line);
      if (progress_ != nullptr) {
        progress_->LastNumber = counter;
        progress_->LastText = text;
      }
      const std::size_t textStart = lines.Indent().size() + static_cast<std::size_t>(text.data() - line.data());
      SetAtLine(current_, file_, lines, line, textStart, 0, text.size());
      currentText_ = text;
      if (text.empty() || text.front() == ';') {
        if (!text.empty()) WarnEarlyEnd(lines, line, textStart);
        if (text.empty() && lines.Cut()) WarnNulEnd(lines, line);
        break;
      }
      Status st = stOk;
      if (IsHeader(text)) {
        st = SwitchTo(text, AtLine(file_, lines, line, textStart, 0, text.size()));
        LineFault fault;
        if (st == stBadSection && LocateHeaderFault(text, row_, Embedded(), fault))
          ReportFault(AtLine(file_, lines, line, textStart, fault.Offset, fault.Length), fault);
      } else if (const LineHandler lineHandler = Rows()[row_].Line; lineHandler != nullptr) {
        Language* lang = pool_.Record(handle_);
        if (progress_ != nullptr)
          progress_->Handled.push_back({counter, row_, std::string(text), Rows()[row_].Header,
                                        static_cast<std::int32_t>(textStart + 1), current_.Source});
        if (lang != nullptr) lang->ReadingLine = static_cast<std::int32_t>(counter);
        st = lang == nullptr ? stBadLanguageHandle : lineHandler(*lang, text);
        if (st != stOk && lang != nullptr) ReportLineFault(*lang, lines, line, text, textStart, st);
        if (st == stOk) Declare(text, lines.Number());
        if (st == stOk && Rows()[row_].Header == "[Language]") NoteKey(lines, line, text, textStart);
      } else {
        listing.Skipped(text);
      }
      if (st != stOk) return st;
    }
    return stOk;
  }

  [[nodiscard]] Status End(std::size_t row) {
    if (raised_ == nullptr && Embedded() && Rows()[row].Header == "[Language]") OpenUnsetCapacities();
    const SectionHandler end = Rows()[row].End;
    const Status st = end == nullptr ? stOk : end(pool_, handle_);
    // A counting reading goes on past a grammar that fails the check, to count the later tables.
    if (raised_ != nullptr && (st == stNotKindAny || st == stNotKindGiven)) {
      grammarFault_ = st;
      return stOk;
    }
    if (st != stOk) ReportEndFault(row, st);
    if (st == stOk && raised_ != nullptr && Rows()[row].Header == "[Language]") RaiseCapacities();
    return st;
  }

  // A counting reading: the capacities of [Language] give way to the raised ones.
  void RaiseCapacities() {
    Language* lang = pool_.Record(handle_);
    if (lang == nullptr) return;
    for (std::size_t k = 0; k < kCapacityCount; ++k) lang->*CapacityKeys()[k].Capacity = (*raised_)[k];
  }

  // The embeddable translator needs no capacity keys: a table whose key [Language] leaves out
  // takes what the description needs, up to the counting limit (a calloc'd block costs no memory
  // until used). A key that is given still bounds its table.
  void OpenUnsetCapacities() {
    Language* lang = pool_.Record(handle_);
    if (lang == nullptr) return;
    for (const CapacityKey& key : CapacityKeys())
      if (KeyPlace(key.Key) == nullptr) lang->*key.Capacity = kCountingLimit;
  }

  // The reading is one for the embeddable translator (--prefix), which reads more.
  [[nodiscard]] bool Embedded() const {
    const Language* lang = pool_.Record(handle_);
    return lang != nullptr && lang->EmbeddedKeys != 0;
  }

  // A header: only the current row and later ones can match, and a section that only --prefix
  // reads only in such a reading; the rows left or passed over end.
  [[nodiscard]] Status SwitchTo(std::string_view header, const Diagnostic& place) {
    std::size_t found = row_;
    while (found < kSectionCount &&
           !(EqualNoCase(header, Rows()[found].Header) && (Embedded() || !PrefixOnly(Rows()[found].Header))))
      ++found;
    if (found == kSectionCount) return stBadSection;
    if (Status st = End(row_); st != stOk) return st;
    for (std::size_t r = row_ + 1; r < found; ++r)
      if (Status st = End(r); st != stOk) return st;
    row_ = found;
    headers_[row_] = place;
    const SectionHandler begin = Rows()[row_].Begin;
    return begin == nullptr ? stOk : begin(pool_, handle_);
  }

  // Remembers where a [Language] line set its key, for faults that the end of a later section
  // finds in the value: the place of the value. A key given again is a warning that names the
  // line of the first (the last value counts).
  void NoteKey(const LineReader& lines, const std::string& line, std::string_view text, std::size_t textStart) {
    std::string_view key, value;
    if (SplitAtEquals(text, key, value) != stOk) return;
    if (const Diagnostic* first = KeyPlace(key); first != nullptr) {
      Diagnostic d = AtLine(file_, lines, line, textStart, static_cast<std::size_t>(key.data() - text.data()), key.size());
      d.Level = Severity::Warning;
      d.Text = "key '" + std::string(key) + "' given again in [Language]: this value replaces the one before";
      d.Hint = "first given on line " + std::to_string(first->Line);
      Report(d);
    }
    const auto offset = static_cast<std::size_t>(value.data() - text.data());
    keys_.push_back({std::string(key), AtLine(file_, lines, line, textStart, offset, value.size())});
  }

  // The end handler of the row failed: names the [Language] line whose value is to blame (the
  // last that set the key), or the file when no line is.
  void ReportEndFault(std::size_t row, Status st) {
    Language* lang = pool_.Record(handle_);
    if (const CapacityKey* key = CapacityKeyOf(st); key != nullptr && lang != nullptr && raised_ == nullptr) {
      Diagnostic place = headers_[row];
      if (place.File.empty()) place.File = std::string(file_);
      ReportCapacityFault(*lang, *key, place);
      return;
    }
    const bool headerRead = !headers_[row].File.empty();
    if (LineFault missing; lang != nullptr && LocateMissingSection(*lang, row, st, headerRead, currentText_, missing)) {
      if (!headerRead && !currentText_.empty() && ReportEarlySection(row)) return;
      // At the empty section's header, or where the missing one should have been.
      Diagnostic place = headerRead ? headers_[row] : current_;
      if (place.File.empty()) place.File = std::string(file_);
      if (!headerRead && currentText_.empty()) place.Column = 0;  // the last line of the file stands for its end
      ReportFault(place, missing);
      return;
    }
    EndFault fault;
    if (lang == nullptr || !LocateEndFault(*lang, row, st, fault)) return;
    Diagnostic d;
    d.File = std::string(file_);
    if (const Diagnostic* place = KeyPlace(fault.Key); place != nullptr) d = *place;
    d.Text = fault.Text;
    d.Hint = fault.Hint;
    Report(d);
  }

  // The section of the header just read came too early when the section of the row that its
  // header ended without entries follows further on: names both, with the line of the later
  // one and the order. Reads on to find it (the reading fails anyway); false when no line that
  // the reading would reach has that header.
  bool ReportEarlySection(std::size_t row) {
    if (lines_ == nullptr) return false;
    const std::string_view missing = Rows()[row].Header;
    for (std::string next; lines_->Next(next);) {
      const std::string_view text = Trim(next);
      if (text.empty() || text.front() == ';') return false;
      if (!IsHeader(text) || !EqualNoCase(text, missing)) continue;
      ReportFault(current_, EarlySectionFault(currentText_, missing, lines_->Number()));
      return true;
    }
    return false;
  }

  // Where the last [Language] line that set the key stands; nullptr when none did.
  const Diagnostic* KeyPlace(std::string_view key) const {
    const Diagnostic* place = nullptr;
    if (key.empty()) return place;
    for (const auto& [name, at] : keys_)
      if (EqualNoCase(name, key)) place = &at;
    return place;
  }

  // A full table: the capacity given and what the description needs, counted by reading it
  // again with room to spare. The diagnostic stands at the value of the key when [Language]
  // sets it, else at the place given (the line or the section that overflowed the table).
  void ReportCapacityFault(const Language& lang, const CapacityKey& key, Diagnostic place) const {
    const Diagnostic* keyPlace = KeyPlace(key.Key);
    Diagnostic d = keyPlace != nullptr ? *keyPlace : std::move(place);
    const std::int32_t given = lang.*key.Capacity;
    ReadOptions options;
    options.EmbeddedKeys = lang.EmbeddedKeys != 0;
    const CapacityCount count =
        CountCapacities(file_, key.TooMany, options, CountingSteps(StepsTaken() - startSteps_));
    const auto k = static_cast<std::size_t>(&key - CapacityKeys().data());
    std::string needs;
    if (count.Outcome == stOk && count.Needed[k] > given) {
      needs = std::to_string(count.Needed[k]);
    } else if (count.Outcome == key.TooMany && kCountingLimit > given) {
      needs = "more than " + std::to_string(kCountingLimit);
    }
    d.Text = std::string(key.Key) + " = " + std::to_string(given) + (keyPlace == nullptr ? " (the default)" : "") +
             " is too small";
    if (!needs.empty()) {
      d.Text += ": this description needs " + needs;
      if (keyPlace == nullptr && count.Outcome == stOk)
        d.Hint = "add '" + std::string(key.Key) + " = " + needs + "' to [Language]";
    } else if (count.GaveUp) {
      d.Hint = "no count of what it needs: counting was given up, as it took far longer than this reading";
    } else if (count.Outcome == key.TooMany) {
      d.Hint = "no count of what it needs: counting stopped at its limit, " + std::to_string(kCountingLimit) +
               ", which is not above the value given";
    } else {
      d.Hint = "no count of what it needs: the description fails further on for another reason";
    }
    Report(d);
  }

  static void ReportFault(Diagnostic d, const LineFault& fault) {
    d.Text = fault.Text;
    d.Hint = fault.Hint;
    Report(d);
  }

  // The line handler of the current row failed on the line: names the offending text where
  // the status tells what to look for, else the line as a whole with the status message.
  void ReportLineFault(Language& lang, const LineReader& lines, const std::string& line, std::string_view text,
                       std::size_t textStart, Status st) const {
    if (const CapacityKey* key = CapacityKeyOf(st); key != nullptr && raised_ == nullptr) {
      ReportCapacityFault(lang, *key, AtLine(file_, lines, line, textStart, 0, text.size()));
      return;
    }
    LineFault fault;
    const std::string_view header = Rows()[row_].Header;
    const bool located = (header == "[Language]" && LocateLanguageFault(lang, text, st, fault)) ||
                         LocateLineFault(lang, row_, text, st, fault) || Redeclared(text, st, fault);
    if (located && (st == stKeywordDefined || st == stSymbolTwice)) fault.Hint = FirstShape(text);
    if (!located) {
      std::string message(StatusMessage(st));
      if (!message.empty() && message.front() >= 'A' && message.front() <= 'Z') message.front() += 'a' - 'A';
      fault = {0, text.size(), message, ""};
    }
    ReportFault(AtLine(file_, lines, line, textStart, fault.Offset, fault.Length), fault);
  }

  // A name or production declared again: names the line of the first declaration.
  bool Redeclared(std::string_view text, Status st, LineFault& fault) const {
    std::string_view noun;
    switch (st) {
      case stTerminalDefined: noun = "terminal"; break;
      case stNonterminalDefined: noun = "nonterminal"; break;
      case stOutTermDefined: noun = "output terminal"; break;
      case stActionDefined: noun = "action"; break;
      case stProductionDefined: noun = "production"; break;
      default: return false;
    }
    fault = {0, text.size(), std::string(noun) + " declared twice", ""};
    if (st != stProductionDefined) fault.Text = std::string(noun) + " '" + std::string(text) + "' declared twice";
    for (const Declared& earlier : declared_)
      if (earlier.Row == row_ && DeclaredText(earlier) == text) {
        fault.Hint = "first declared on line " + std::to_string(earlier.Line);
        break;
      }
    return true;
  }

  // "first declared on line N" for the shape of a "name = shape" line that the current section
  // took before.
  std::string FirstShape(std::string_view text) const {
    std::string_view name, shape, earlierName, earlierShape;
    if (SplitAtEquals(text, name, shape) != stOk) return "";
    for (const Declared& earlier : declared_)
      if (earlier.Row == row_ && SplitAtEquals(DeclaredText(earlier), earlierName, earlierShape) == stOk &&
          earlierShape == shape)
        return "first declared on line " + std::to_string(earlier.Line);
    return "";
  }

  // The non-blank lines after the current one, read here only to be counted.
  static std::int64_t CountRest(LineReader& lines) {
    std::int64_t rest = 0;
    for (std::string next; lines.Next(next);)
      if (!Trim(next).empty()) ++rest;
    return rest;
  }

  static std::string NotRead(std::int64_t rest) {
    return "the " + std::to_string(rest) +
           (rest == 1 ? " non-blank line after it is" : " non-blank lines after it are") + " not read";
  }

  // A line that begins with ";" ends the description; a warning when non-blank lines follow.
  void WarnEarlyEnd(LineReader& lines, const std::string& line, std::size_t textStart) const {
    Diagnostic d = AtLine(file_, lines, line, textStart, 0, 1);
    const std::int64_t rest = CountRest(lines);
    if (rest == 0) return;
    d.Level = Severity::Warning;
    d.Text = "';' at the beginning of a line ends the description: " + NotRead(rest);
    d.Hint = "the description format has no comment lines";
    Report(d);
  }

  // A line whose text begins with a NUL byte ends the description as an empty line does; a
  // NUL byte has no place in a description, so this is always a warning, at the NUL byte.
  void WarnNulEnd(LineReader& lines, const std::string& line) const {
    Diagnostic d = AtLine(file_, lines, line, lines.Indent().size() + line.size(), 0, 1);
    d.Source += '\0';  // shown escaped
    const std::int64_t rest = CountRest(lines);
    d.Level = Severity::Warning;
    d.Text = "a NUL byte at the beginning of a line ends the description";
    if (rest > 0) d.Text += ": " + NotRead(rest);
    d.Hint = "a description is text, and a NUL byte ends the line it stands in";
    Report(d);
  }

  LanguagePool& pool_;
  std::int32_t handle_;
  std::size_t row_ = 0;
  ReadProgress* progress_;
  std::string_view file_;
  LineReader* lines_ = nullptr;  // the lines, while ReadLines reads them
  Diagnostic current_;       // the line being read, as a whole
  std::string currentText_;  // its trimmed text; empty once every line is read
  const Capacities* raised_;  // a counting reading's capacities, else nullptr
  Status grammarFault_ = stOk;  // a counting reading's grammar that fails the check
  std::int64_t startSteps_;   // the analysis steps taken before this reading began
  std::array<Diagnostic, kSectionCount> headers_{};  // where each section's header stands, once read
  std::vector<std::pair<std::string, Diagnostic>> keys_;  // the [Language] keys where they were set
  struct Declared {
    std::size_t Row;
    std::size_t Offset;  // the trimmed line, in declaredTexts_
    std::size_t Length;
    std::int64_t Line;
  };
  std::vector<Declared> declared_;  // every line a line handler took, for the first of two declarations
  std::string declaredTexts_;       // their texts one after the other, in one block

  void Declare(std::string_view text, std::int64_t line) {
    declared_.push_back({row_, declaredTexts_.size(), text.size(), line});
    declaredTexts_.append(text);
  }
  [[nodiscard]] std::string_view DeclaredText(const Declared& d) const {
    return std::string_view(declaredTexts_).substr(d.Offset, d.Length);
  }
};

// One reading, with the capacities of [Language] or, for a counting reading, the raised ones.
Status Read(LanguagePool& pool, std::string_view descriptionName, std::string_view listingName,
            std::int32_t& handle, ReadProgress* progress, const ReadOptions& options, const Capacities* raised) {
  handle = 0;
  std::int32_t created = 0;
  if (Status st = pool.Create(created); st != stOk) return st;
  int error = 0;
  FilePtr description = OpenDescription(std::string(descriptionName), error);
  if (!description) {
    ReportOpenFailure(std::string(descriptionName), error);
    (void)pool.Release(created);
    return stCannotOpen;
  }
  handle = created;
  if (progress != nullptr) pool.Record(created)->Trace = progress->Trace;
  pool.Record(created)->EmbeddedKeys = options.EmbeddedKeys ? 1 : 0;

  Listing listing;
  listing.Open(std::string(listingName), description.get());
  Reader reader(pool, created, progress, descriptionName, raised);
  const Status st = reader.ReadLines(description.get(), listing);
  listing.Close();
  const bool closed = std::fclose(description.release()) == 0;
  if (st != stOk) return st;
  if (!closed) return stCloseError;
  if (progress != nullptr) progress->LinesDone = true;
  if (Status ended = reader.EndRemaining(); ended != stOk) return ended;
  return reader.GrammarFault();
}

}  // namespace

Status ReadDescription(LanguagePool& pool, std::string_view descriptionName, std::string_view listingName,
                       std::int32_t& handle, ReadProgress* progress, const ReadOptions& options) {
  return Read(pool, descriptionName, listingName, handle, progress, options, nullptr);
}

Status ReadWithCapacities(LanguagePool& pool, std::string_view descriptionName, const Capacities& capacities,
                          std::int32_t& handle, const ReadOptions& options) {
  return Read(pool, descriptionName, "", handle, nullptr, options, &capacities);
}

}  // namespace parvolen

