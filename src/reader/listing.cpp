#include "reader/listing.h"

#include <sys/stat.h>

namespace parvolen {
namespace {

// True when the name is the file already open as the description: creating it would
// truncate the description while it is read.
bool IsSameFile(const std::string& name, std::FILE* description) {
  struct stat named {}, open {};
  if (::stat(name.c_str(), &named) != 0 || ::fstat(::fileno(description), &open) != 0) return false;
  return named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

}  // namespace

void Listing::Open(const std::string& name, std::FILE* description) {
  file_.reset();
  if (name.empty() || IsSameFile(name, description)) return;
  file_.reset(std::fopen(name.c_str(), "w"));
}

void Listing::Line(std::int64_t counter, const std::string& line) {
  if (file_) std::fprintf(file_.get(), "CFG: %ld '%s'\n", static_cast<long>(counter), line.c_str());
}

void Listing::Skipped(std::string_view line) {
  if (file_) std::fprintf(file_.get(), "*** Skipping config line: '%s'\n", std::string(line).c_str());
}

}  // namespace parvolen
