// The lexer of the embeddable translator, run in place of its generated code: the lexicon's
// one automaton over the input in memory, with the same longest match, the same skipped text
// and comments, the same token window, and the same failures at the same places with the same
// texts (see the notes [one automaton] and [token window] in codegen/embedded/lexer.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/language.h"
#include "regex/lexicon.h"

namespace parvolen::inspect {

// A terminal read: its code (the end code at the end of the input), where it begins and its
// text, a slice of the input (without the delimiters of a constant).
struct InputToken {
  std::int32_t Kind = -1;
  int Line = 0;
  int Column = 0;
  std::size_t Offset = 0;
  std::size_t Length = 0;
};

// A failure as the generated translator reports it: the status of NAME.h, place and text.
struct InputFailure {
  int Status = 0;
  int Line = 0;
  int Column = 0;
  std::string Text;
};

class InputLexer {
 public:
  // The input must outlive the lexer.
  InputLexer(const Language& lang, const regex::Lexicon& lexicon, std::string_view input);

  // Scans the coming terminal into t; false with the failure.
  [[nodiscard]] bool Scan(InputToken& t, InputFailure& failure);
  // Where the unread input begins: the place a nesting failure is told at.
  [[nodiscard]] int Line() const { return line_; }
  [[nodiscard]] int Column() const { return ColumnAt(cur_); }
  [[nodiscard]] std::string_view Text(const InputToken& t) const { return input_.substr(t.Offset, t.Length); }
  // After a byte that begins no terminal or a terminal too long, a parse that recovers goes on
  // where the generated lexer would: past the byte or the terminal.
  void SkipFailed();

 private:
  [[nodiscard]] int ColumnAt(std::size_t at) const { return static_cast<int>(at - lineStart_) + 1; }
  void CountLines(std::size_t from, std::size_t to);
  [[nodiscard]] bool Fail(InputFailure& failure, const char* status, int line, int column, std::string text) const;
  [[nodiscard]] bool SkipComment(std::size_t begin, std::size_t s, InputFailure& failure);
  [[nodiscard]] bool BadByte(std::size_t begin, std::size_t s, InputFailure& failure);

  const Language& lang_;
  const regex::Lexicon& lexicon_;
  std::string_view input_;
  std::size_t cur_ = 0;
  std::size_t lineStart_ = 0;
  std::size_t skipTo_ = 0;  // where SkipFailed goes on
  int line_ = 1;
  std::int32_t end_;
  std::vector<bool> leads_;  // by state: it leads to another state on some byte
};

}  // namespace parvolen::inspect
