#include "reader/line_reader.h"

#include <stdio.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "base/text.h"

namespace parvolen {

// The file belongs to this reading alone: the bytes after a line are taken without the stream's
// lock. The line itself is read in one call, which also takes the bytes up to a read error or
// the end of the file.
bool LineReader::Next(std::string& text) {
  text.clear();
  if (done_) return false;
  number_ = nextNumber_;
  indent_ = nextIndent_;
  char* raw = buffer_.release();
  errno = 0;
  const ssize_t got = getdelim(&raw, &room_, '\n', file_);
  const int error = errno;
  buffer_.reset(raw);
  if (got < 0 && error == ENOMEM) throw std::bad_alloc();
  std::size_t length = got > 0 ? static_cast<std::size_t>(got) : 0;
  int c = EOF;  // what ended the line: a line end, or the end of the file
  if (length > 0 && raw[length - 1] == '\n') {
    c = '\n';
    --length;
  }
  const void* nul = length > 0 ? std::memchr(raw, '\0', length) : nullptr;
  cut_ = nul != nullptr;
  if (length > 0) text.assign(raw, nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - raw) : length);
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
