// The listing file: an echo of every description line read.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace parvolen {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class Listing {
 public:
  // Creates the listing file; with an empty name, or when the file cannot be created or is
  // the description file itself, the listing stays closed and writes nothing.
  void Open(const std::string& name, std::FILE* description);
  // "CFG: <counter> '<line>'": a line as read.
  void Line(std::int64_t counter, const std::string& line);
  // "*** Skipping config line: '<line>'": a trimmed line that no section takes.
  void Skipped(std::string_view line);
  void Close() { file_.reset(); }

 private:
  FilePtr file_;
};

}  // namespace parvolen
