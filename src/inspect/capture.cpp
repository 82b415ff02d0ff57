#include "inspect/capture.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

namespace parvolen::inspect {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string CaptureOutput(const std::function<void()>& job) {
  std::fflush(stdout);
  std::unique_ptr<std::FILE, FileCloser> temp(std::tmpfile());
  const int saved = temp ? ::dup(STDOUT_FILENO) : -1;
  if (saved < 0 || ::dup2(::fileno(temp.get()), STDOUT_FILENO) < 0) {
    if (saved >= 0) ::close(saved);
    job();
    return {};
  }
  job();
  std::fflush(stdout);
  ::dup2(saved, STDOUT_FILENO);
  ::close(saved);
  std::string text;
  std::rewind(temp.get());
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, temp.get())) > 0;) text.append(buffer, n);
  return text;
}

}  // namespace parvolen::inspect
