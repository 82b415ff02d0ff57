#include "reader/reader.h"

#include <sys/stat.h>

#include <string>

#include "base/text.h"
#include "reader/line_reader.h"
#include "reader/listing.h"
#include "reader/sections.h"

namespace parvolen {
namespace {

// Opens the description for reading; a directory is no description.
FilePtr OpenDescription(const std::string& name) {
  FilePtr file(std::fopen(name.c_str(), "r"));
  struct stat info {};
  if (file && ::fstat(::fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode)) file.reset();
  return file;
}

[[nodiscard]] bool IsHeader(std::string_view trimmed) { return trimmed.size() > 1 && trimmed.front() == '['; }

// The state of one reading: the record's handle, the current row and the listing.
class Reader {
 public:
  Reader(LanguagePool& pool, std::int32_t handle, ReadProgress* progress)
      : pool_(pool), handle_(handle), progress_(progress) {}

  // Reads lines up to the end of the file or a stopping line; the first failing status.
  [[nodiscard]] Status ReadLines(std::FILE* description, Listing& listing) {
    LineReader lines(description);
    std::string line;
    std::int64_t counter = 0;
    while (lines.Next(line)) {
      listing.Line(++counter, line);
      const std::string_view text = Trim(line);
      if (progress_ != nullptr) {
        progress_->LastNumber = counter;
        progress_->LastText = text;
      }
      if (text.empty() || text.front() == ';') break;
      Status st = stOk;
      if (IsHeader(text)) {
        st = SwitchTo(text);
      } else if (const LineHandler lineHandler = Rows()[row_].Line; lineHandler != nullptr) {
        Language* lang = pool_.Record(handle_);
        if (progress_ != nullptr) progress_->Handled.push_back({counter, row_, std::string(text)});
        st = lang == nullptr ? stBadLanguageHandle : lineHandler(*lang, text);
      } else {
        listing.Skipped(text);
      }
      if (st != stOk) return st;
    }
    return stOk;
  }

  // Ends the current row and every later one, as at the end of the file.
  [[nodiscard]] Status EndRemaining() {
    for (std::size_t r = row_; r < kSectionCount; ++r)
      if (Status st = End(r); st != stOk) return st;
    return stOk;
  }

 private:
  static const std::array<SectionRow, kSectionCount>& Rows() { return SectionTable(); }

  [[nodiscard]] Status End(std::size_t row) {
    const SectionHandler end = Rows()[row].End;
    return end == nullptr ? stOk : end(pool_, handle_);
  }

  // A header: only the current row and later ones can match; the rows left or passed over end.
  [[nodiscard]] Status SwitchTo(std::string_view header) {
    std::size_t found = row_;
    while (found < kSectionCount && !EqualNoCase(header, Rows()[found].Header)) ++found;
    if (found == kSectionCount) return stBadSection;
    if (Status st = End(row_); st != stOk) return st;
    for (std::size_t r = row_ + 1; r < found; ++r)
      if (Status st = End(r); st != stOk) return st;
    row_ = found;
    const SectionHandler begin = Rows()[row_].Begin;
    return begin == nullptr ? stOk : begin(pool_, handle_);
  }

  LanguagePool& pool_;
  std::int32_t handle_;
  std::size_t row_ = 0;
  ReadProgress* progress_;
};

}  // namespace

Status ReadDescription(LanguagePool& pool, std::string_view descriptionName, std::string_view listingName,
                       std::int32_t& handle, ReadProgress* progress) {
  handle = 0;
  std::int32_t created = 0;
  if (Status st = pool.Create(created); st != stOk) return st;
  FilePtr description = OpenDescription(std::string(descriptionName));
  if (!description) {
    (void)pool.Release(created);
    return stCannotOpen;
  }
  handle = created;
  if (progress != nullptr) pool.Record(created)->Trace = progress->Trace;

  Listing listing;
  listing.Open(std::string(listingName), description.get());
  Reader reader(pool, created, progress);
  const Status st = reader.ReadLines(description.get(), listing);
  listing.Close();
  const bool closed = std::fclose(description.release()) == 0;
  if (st != stOk) return st;
  if (!closed) return stCloseError;
  if (progress != nullptr) progress->LinesDone = true;
  return reader.EndRemaining();
}

}  // namespace parvolen
