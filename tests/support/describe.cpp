#include "support/describe.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/console.h"
#include "reader/reader.h"

namespace parvolen {

std::string TempPath(std::string_view stem) {
  static int counter = 0;
  const char* dir = std::getenv("PARVOLEN_TEST_TMP");
  const std::filesystem::path base = dir != nullptr ? dir : std::filesystem::temp_directory_path();
  std::filesystem::create_directories(base);
  return (base / (std::string(stem) + "-" + std::to_string(::getpid()) + "-" + std::to_string(++counter)))
      .string();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

Described Describe(std::string_view text, bool embedded) {
  const std::string description = TempPath("description");
  const std::string listing = TempPath("listing");
  std::ofstream(description, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));

  Described result;
  {
    ConsoleSink sink(result.out);
    ConsoleSink errors(result.err);
    const ConsoleRedirect redirect(Channel::Messages, sink);
    const ConsoleRedirect diagnostics(Channel::Diagnostics, errors);
    ReadOptions options;
    options.EmbeddedKeys = embedded;
    result.status = ReadDescription(result.pool, description, listing, result.handle, nullptr, options);
  }
  for (std::size_t at; (at = result.err.find(description)) != std::string::npos;)
    result.err.replace(at, description.size(), "desc.lang");
  result.listing = ReadFile(listing);
  std::remove(description.c_str());
  std::remove(listing.c_str());
  return result;
}

}  // namespace parvolen
