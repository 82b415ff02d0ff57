// CodeWriter: the one output stream of a generated file. Every module generator writes its
// files through it, so that a generator reads like the file it writes: a sequence of literal
// fragments in the order of the output.
//
//   CodeWriter out;
//   if (Status st = out.Open(path); st != stOk) return st;        // stCannotCreate
//   out.Put("#ifndef _lexer_h\n\t#define _lexer_h\n\n");            // a fragment as it stands
//   out.Put("\t#include\t\"%s\"\n\n", "_error.h");                 // one placeholder filled
//   out.Put("%s\tcase '%c':\n", {CodeWriter::Tabs(k), label});      // several, in order
//   return out.Close();                                            // stCloseError: a write or the close failed
//
// A file appears under its name only when Close finds every write done (see whole_file.h); a
// failed write leaves no file under the name, and Close names the file and the system's reason
// on standard error.
//
// Placeholders: Put with values replaces each "%s", "%d" or "%c" of the fragment by the next
// value, in order; the generator passes numbers and characters already as text (std::to_string,
// Decimal, MkCharEsc). Put without values writes every character as it stands, so conversions that belong
// to the generated C (an fprintf format such as "%s" or "%*c") are written by that form.
// Indentation is a placeholder value too: Tabs(n) is the text of n tab characters.
//
// The writer counts the line ends it has written (Lines). The text of a file is gathered in a
// block and handed to the stream a block at a time. OpenMemory collects the text in memory
// instead, for a part of a file that has to be written before what it needs is known. The
// destructor closes a file that is still open (a generator that stopped on a status) and keeps
// what was written of it under its name, unless a write failed; a generator that cares calls
// Close itself.
#pragma once

#include <charconv>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "base/status.h"
#include "codegen/shared/whole_file.h"

namespace parvolen {

// The decimal text of a number as a placeholder value, made without a string of its own:
//   out.Put("\t{%d, %d},\t/* %d */\n", {Decimal(a), Decimal(b), Decimal(i)});
class Decimal {
 public:
  explicit Decimal(long long n) : size_(static_cast<std::size_t>(std::to_chars(text_, text_ + sizeof text_, n).ptr - text_)) {}
  // The view lives as long as the Decimal (a temporary: to the end of the statement).
  operator std::string_view() const { return {text_, size_}; }  // NOLINT: meant to convert

 private:
  char text_[24];  // the longest 64-bit number has 20 characters
  std::size_t size_;
};

class CodeWriter {
 public:
  CodeWriter() = default;
  CodeWriter(const CodeWriter&) = delete;
  CodeWriter& operator=(const CodeWriter&) = delete;
  ~CodeWriter();

  // Opens the file for writing as text, to replace what the name holds when it is closed;
  // stCannotCreate (errno set) when it cannot be created.
  [[nodiscard]] Status Open(const std::string& path);
  // Closes the file and gives it its name; stCloseError when a write, the close or the renaming
  // failed (no file under the name then, and a diagnostic), stOk otherwise (also when not open).
  [[nodiscard]] Status Close();
  [[nodiscard]] bool IsOpen() const { return file_.IsOpen() || inMemory_; }

  // Collects what is written in memory rather than in a file, for a part of a file that must
  // follow what it makes known (declarations the part needs); TakeText ends the collection.
  void OpenMemory();
  [[nodiscard]] std::string TakeText();

  // Writes the fragment as it stands.
  void Put(std::string_view fragment);
  // Writes the fragment with its one placeholder replaced by the value.
  void Put(std::string_view fragment, std::string_view value);
  // Writes the fragment with its placeholders replaced by the values, in order.
  void Put(std::string_view fragment, std::initializer_list<std::string_view> values);

  // Number of line ends written since Open.
  [[nodiscard]] long Lines() const {
    CountLines();
    return lines_;
  }

  // The text of n tab characters (none for n <= 0), for indentation placeholders.
  [[nodiscard]] static std::string Tabs(int n);

 private:
  void Write(std::string_view text);
  // True while written text goes somewhere: a file is open or the text is collected in memory.
  [[nodiscard]] bool Accepts() const { return inMemory_ || file_.IsOpen(); }
  // Where n more bytes can be written at the end of the block (made by MakeRoom when short).
  char* Room(std::size_t n) { return capacity_ - used_ >= n ? block_.get() + used_ : MakeRoom(n); }
  // Hands a file's block to the stream, then grows the block when it still lacks room for n bytes.
  char* MakeRoom(std::size_t n);
  // Adds the line ends of the block not yet counted to lines_.
  void CountLines() const;
  // Hands the gathered block to the stream; the first failure is kept in writeError_.
  void Flush();

  WholeFile file_;
  std::string path_;    // the name of the open file
  int writeError_ = 0;  // errno of the first failed write, 0 while all went well
  bool inMemory_ = false;
  // What was written in memory, or the block not yet handed to the file: used_ of capacity_ bytes.
  std::unique_ptr<char[]> block_;
  std::size_t used_ = 0;
  std::size_t capacity_ = 0;
  mutable long lines_ = 0;          // line ends counted
  mutable std::size_t counted_ = 0;  // how much of the block they were counted in
};

}  // namespace parvolen
