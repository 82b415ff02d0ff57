// Test helpers shared by the unit tests: read a description given as text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// The outcome of reading one description: its status, handle, console output and listing.
// The record stays in the pool, in use, for the test to inspect.
struct Described {
  Status status = stOk;
  std::int32_t handle = 0;
  std::string out;      // everything printed to standard output while reading
  std::string err;      // everything printed to standard error while reading (the diagnostics)
  std::string listing;  // the listing file written while reading
  LanguagePool pool;

  // The record read, or nullptr when reading gave no handle.
  [[nodiscard]] Language* Lang() { return pool.Record(handle); }
};

// Writes the text (any bytes) to a fresh temporary file and reads it with ReadDescription. The
// diagnostics name the file "desc.lang" in place of its temporary path. `embedded` reads it as
// the embeddable translator does (its keys and [Tokens]).
[[nodiscard]] Described Describe(std::string_view text, bool embedded = false);

// A fresh path in the tests' temporary directory; nothing is created there.
[[nodiscard]] std::string TempPath(std::string_view stem);

// The whole content of a file, or an empty text when it cannot be read.
[[nodiscard]] std::string ReadFile(const std::string& path);

}  // namespace parvolen
