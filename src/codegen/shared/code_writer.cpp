#include "codegen/shared/code_writer.h"

#include <bit>
#include <cassert>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/diagnostic.h"

namespace parvolen {
namespace {

// The size of the block gathered before it goes to the stream.
constexpr std::size_t kBlock = 1 << 16;

// True when the fragment holds a placeholder ("%s", "%d" or "%c") at position i.
bool IsPlaceholder(std::string_view fragment, std::size_t i) {
  if (fragment[i] != '%' || i + 1 >= fragment.size()) return false;
  const char conv = fragment[i + 1];
  return conv == 's' || conv == 'd' || conv == 'c';
}

}  // namespace

CodeWriter::~CodeWriter() {
  if (file_.IsOpen() && !inMemory_) Flush();
  if (writeError_ != 0) file_.Discard();
}

Status CodeWriter::Open(const std::string& path) {
  if (file_.IsOpen()) (void)Close();
  lines_ = 0;
  writeError_ = 0;
  path_ = path;
  if (!inMemory_) {
    text_.clear();
    counted_ = 0;
  }
  return file_.Open(path) ? stOk : stCannotCreate;
}

Status CodeWriter::Close() {
  if (!file_.IsOpen()) return stOk;
  if (!inMemory_) Flush();
  int error = writeError_ != 0 ? writeError_ : std::ferror(file_.Stream()) != 0 ? EIO : 0;
  if (error != 0) {
    file_.Discard();
  } else if (!file_.Commit()) {
    error = errno != 0 ? errno : EIO;
  }
  writeError_ = 0;
  if (error == 0) return stOk;
  ReportError("cannot write '" + path_ + "': " + std::strerror(error));
  return stCloseError;
}

void CodeWriter::OpenMemory() {
  if (file_.IsOpen()) (void)Close();
  inMemory_ = true;
  text_.clear();
  counted_ = 0;
  lines_ = 0;
}

std::string CodeWriter::TakeText() {
  CountLines();
  inMemory_ = false;
  counted_ = 0;
  return std::exchange(text_, std::string());
}

// Eight bytes at a time: a byte of w ^ "\n\n..." is zero where w holds a line end, and a byte's
// top bit in ((x & 0x7f..) + 0x7f..) | x is set exactly where x's byte is not zero.
void CodeWriter::CountLines() const {
  constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7full;
  constexpr std::uint64_t kEnds = 0x0a0a0a0a0a0a0a0aull;
  const char* at = text_.data() + counted_;
  const char* end = text_.data() + text_.size();
  for (; end - at >= 8; at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, at, sizeof word);
    const std::uint64_t x = word ^ kEnds;
    lines_ += std::popcount(~(((x & kLow7) + kLow7) | x) & ~kLow7);
  }
  for (; at != end; ++at) lines_ += *at == '\n' ? 1 : 0;
  counted_ = text_.size();
}

void CodeWriter::Flush() {
  CountLines();
  counted_ = 0;
  if (text_.empty()) return;
  if (std::fwrite(text_.data(), 1, text_.size(), file_.Stream()) != text_.size() && writeError_ == 0)
    writeError_ = errno != 0 ? errno : EIO;
  text_.clear();
}

void CodeWriter::Write(std::string_view text) {
  if (text.empty() || (!inMemory_ && !file_.IsOpen())) return;
  text_.append(text);
  if (!inMemory_ && text_.size() >= kBlock) Flush();
}

void CodeWriter::Put(std::string_view fragment) { Write(fragment); }

void CodeWriter::Put(std::string_view fragment, std::string_view value) { Put(fragment, {value}); }

void CodeWriter::Put(std::string_view fragment, std::initializer_list<std::string_view> values) {
  const std::string_view* next = values.begin();
  std::size_t start = 0;
  for (std::size_t i = fragment.find('%'); i != std::string_view::npos && next != values.end();
       i = fragment.find('%', i + 1)) {
    if (!IsPlaceholder(fragment, i)) continue;
    Write(fragment.substr(start, i - start));
    Write(*next++);
    start = i + 2;
    ++i;
  }
  Write(fragment.substr(start));
  assert(next == values.end() && "every value fills one placeholder");
}

std::string CodeWriter::Tabs(int n) { return std::string(n > 0 ? static_cast<std::size_t>(n) : 0, '\t'); }

}  // namespace parvolen
