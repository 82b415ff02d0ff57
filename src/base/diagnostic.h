// Diagnostics in the form compilers print them, on the diagnostics channel (standard error):
//
//   calc.lang:67:18: error: unknown terminal 'rpr'; did you mean 'rpar'?
//      67 | [Factor] ::= (lpar)[Expr](rpr)
//         |                          ^~~
//
// A diagnostic knows the file, the 1-based line and byte column of the offending text, the line
// as it stands in the file and the length of the offending text. Without a line it prints as
// "parvolen: error: TEXT"; without a column it prints no source line. The column printed is the
// byte column; the caret and the underline stand by display columns (a UTF-8 character is one),
// and control characters and invalid UTF-8 of the source line, text and hint show escaped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace parvolen {

// The exit status of a command line that cannot be followed, such as an unknown long option.
inline constexpr std::int32_t kUsageStatus = 2;

// The name a diagnostic without a file begins with.
inline constexpr std::string_view kProgramName = "parvolen";

// A note adds to the diagnostic before it, for instance the second place of a conflict.
enum class Severity { Error, Warning, Note };

struct Diagnostic {
  Severity Level = Severity::Error;
  std::string File;          // empty: the program name stands in its place
  std::int64_t Line = 0;     // 1-based; 0 when no line makes sense
  std::int32_t Column = 0;   // 1-based byte; 0 when no column makes sense
  std::int32_t Length = 1;   // bytes of the offending text, underlined from the column
  std::string Source;        // the whole line as it stands in the file
  std::string Text;          // what is wrong, naming the offending text
  std::string Hint;          // appended after "; ", for instance "did you mean 'rpar'?"
};

// The diagnostic as it is printed, ending with a line end.
[[nodiscard]] std::string FormatDiagnostic(const Diagnostic& diagnostic);

// Prints the diagnostic to the diagnostics channel; a warning, and the notes after it, only
// while no WarningsOff is alive.
void Report(const Diagnostic& diagnostic);

// While one lives, Report drops warnings and their notes (errors still print); for -w.
class WarningsOff {
 public:
  explicit WarningsOff(bool active = true);
  ~WarningsOff();
  WarningsOff(const WarningsOff&) = delete;
  WarningsOff& operator=(const WarningsOff&) = delete;

 private:
  bool previous_;
};

// Prints "parvolen: error: TEXT", an error of the run rather than of a place in a file.
void ReportError(std::string text);

// The number of single-byte insertions, deletions and substitutions that turn a into b.
[[nodiscard]] std::size_t EditDistance(std::string_view a, std::string_view b);

// The candidate nearest to the name by edit distance, when it is near enough to be a likely
// misspelling (at most a third of the longer name's bytes, at least one); empty otherwise.
// Ties go to the earlier candidate.
[[nodiscard]] std::string_view NearestName(std::string_view name, std::span<const std::string_view> candidates);

// "did you mean 'X'?" for the nearest candidate, empty when there is none.
[[nodiscard]] std::string DidYouMean(std::string_view name, std::span<const std::string_view> candidates);

}  // namespace parvolen
