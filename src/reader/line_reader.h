// Reads the lines of a description file the way the format defines them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace parvolen {

// A line is the run of bytes up to the next line end, of any length; its text ends at its
// first NUL byte. After a line every whitespace byte is skipped, so empty lines and leading
// blanks vanish for every line but the first, and a file that begins with a line end yields
// no line at all.
class LineReader {
 public:
  explicit LineReader(std::FILE* file) : file_(file) {}

  // Gives the text of the next line; false at the end of the file or when no line can be read.
  [[nodiscard]] bool Next(std::string& text);

  // Where the last line given stands in the file, for diagnostics: its 1-based line number
  // counting every line end (skipped empty lines too), and the whitespace skipped before its
  // text on that line.
  [[nodiscard]] std::int64_t Number() const { return number_; }
  [[nodiscard]] const std::string& Indent() const { return indent_; }
  // Whether a NUL byte ended the text of the last line given before its line end.
  [[nodiscard]] bool Cut() const { return cut_; }

 private:
  struct FreeBuffer {
    void operator()(char* p) const { std::free(p); }
  };
  std::FILE* file_;
  std::unique_ptr<char, FreeBuffer> buffer_;  // the bytes of the last line read, room reused
  std::size_t room_ = 0;
  bool done_ = false;
  bool cut_ = false;
  std::int64_t number_ = 0;
  std::string indent_;
  std::int64_t nextNumber_ = 1;  // the line number and indentation where the next line begins
  std::string nextIndent_;
};

}  // namespace parvolen
