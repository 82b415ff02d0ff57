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
// Placeholders: Put with values replaces each "%s", "%d" or "%c" of the fragment by the next
// value, in order; the generator passes numbers and characters already as text (std::to_string,
// MkCharEsc). Put without values writes every character as it stands, so conversions that belong
// to the generated C (an fprintf format such as "%s" or "%*c") are written by that form.
// Indentation is a placeholder value too: Tabs(n) is the text of n tab characters.
//
// The writer counts the line ends it has written (Lines). OpenMemory collects the text in memory
// instead, for a part of a file that has to be written before what it needs is known. The
// destructor closes a file that is still open and ignores the result; a generator that cares
// calls Close itself.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/status.h"

namespace parvolen {

class CodeWriter {
 public:
  CodeWriter() = default;
  CodeWriter(const CodeWriter&) = delete;
  CodeWriter& operator=(const CodeWriter&) = delete;
  ~CodeWriter();

  // Creates or truncates the file for writing as text; stCannotCreate when it cannot be created.
  [[nodiscard]] Status Open(const std::string& path);
  // Closes the file; stCloseError when a write failed or the close failed, stOk otherwise (also when not open).
  [[nodiscard]] Status Close();
  [[nodiscard]] bool IsOpen() const { return file_ != nullptr || inMemory_; }

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
  [[nodiscard]] long Lines() const { return lines_; }

  // The text of n tab characters (none for n <= 0), for indentation placeholders.
  [[nodiscard]] static std::string Tabs(int n);

 private:
  void Write(std::string_view text);

  std::FILE* file_ = nullptr;
  bool inMemory_ = false;
  std::string text_;  // what was written in memory
  long lines_ = 0;
};

}  // namespace parvolen
