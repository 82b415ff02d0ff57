#include "reader/line_reader.h"

#include <stdio.h>

#include "base/text.h"

namespace parvolen {

// The file belongs to this reading alone: its bytes are taken without the stream's lock.
bool LineReader::Next(std::string& text) {
  text.clear();
  if (done_) return false;
  number_ = nextNumber_;
  indent_ = nextIndent_;
  std::size_t length = 0;
  bool cut = false;
  int c = 0;
  // The text gathers in a chunk that is appended whenever it is full.
  char chunk[256];
  std::size_t used = 0;
  while ((c = getc_unlocked(file_)) != EOF && c != '\n') {
    ++length;
    if (c == '\0') cut = true;
    if (cut) continue;
    chunk[used++] = static_cast<char>(c);
    if (used == sizeof chunk) {
      text.append(chunk, used);
      used = 0;
    }
  }
  text.append(chunk, used);
  cut_ = cut;
  if (length == 0) {
    // An empty run (a line end right away, the end of the file or a read error) is no line.
    done_ = true;
    return false;
  }
  if (c == '\n') {
    nextNumber_ = number_ + 1;
    nextIndent_.clear();
    while ((c = getc_unlocked(file_)) != EOF && IsBlank(static_cast<char>(c))) {
      if (c == '\n') {
        ++nextNumber_;
        nextIndent_.clear();
      } else {
        nextIndent_.push_back(static_cast<char>(c));
      }
    }
    if (c != EOF) std::ungetc(c, file_);
  }
  return true;
}

}  // namespace parvolen
