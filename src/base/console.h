// All of the program's messages go to standard output through these two calls.
#pragma once

#include <cstdio>
#include <string_view>

namespace parvolen {

// Writes the text to standard output as it stands.
inline void Print(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

// Prints "*** <name> ***\n", the header of a diagnostic for a missing record, table or argument.
inline void PrintDiagHeader(std::string_view name) {
  Print("*** ");
  Print(name);
  Print(" ***\n");
}

}  // namespace parvolen
