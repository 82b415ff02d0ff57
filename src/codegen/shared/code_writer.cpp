#include "codegen/shared/code_writer.h"

#include <cassert>
#include <utility>

namespace parvolen {
namespace {

// True when the fragment holds a placeholder ("%s", "%d" or "%c") at position i.
bool IsPlaceholder(std::string_view fragment, std::size_t i) {
  if (fragment[i] != '%' || i + 1 >= fragment.size()) return false;
  const char conv = fragment[i + 1];
  return conv == 's' || conv == 'd' || conv == 'c';
}

}  // namespace

CodeWriter::~CodeWriter() {
  if (file_ != nullptr) std::fclose(file_);
}

Status CodeWriter::Open(const std::string& path) {
  if (file_ != nullptr) std::fclose(file_);
  lines_ = 0;
  file_ = std::fopen(path.c_str(), "w");
  return file_ == nullptr ? stCannotCreate : stOk;
}

Status CodeWriter::Close() {
  if (file_ == nullptr) return stOk;
  const bool writeFailed = std::ferror(file_) != 0;
  const bool closeFailed = std::fclose(file_) != 0;
  file_ = nullptr;
  return writeFailed || closeFailed ? stCloseError : stOk;
}

void CodeWriter::OpenMemory() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  inMemory_ = true;
  text_.clear();
  lines_ = 0;
}

std::string CodeWriter::TakeText() {
  inMemory_ = false;
  return std::move(text_);
}

void CodeWriter::Write(std::string_view text) {
  if (text.empty()) return;
  if (inMemory_) {
    text_.append(text);
  } else if (file_ != nullptr) {
    std::fwrite(text.data(), 1, text.size(), file_);
  } else {
    return;
  }
  for (char ch : text) {
    if (ch == '\n') ++lines_;
  }
}

void CodeWriter::Put(std::string_view fragment) { Write(fragment); }

void CodeWriter::Put(std::string_view fragment, std::string_view value) { Put(fragment, {value}); }

void CodeWriter::Put(std::string_view fragment, std::initializer_list<std::string_view> values) {
  const std::string_view* next = values.begin();
  std::size_t start = 0;
  for (std::size_t i = 0; i < fragment.size(); ++i) {
    if (next == values.end() || !IsPlaceholder(fragment, i)) continue;
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
