#include "codegen/shared/code_writer.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "base/diagnostic.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace parvolen {
namespace {

// The size of the block gathered before it goes to the stream.
constexpr std::size_t kBlock = 1 << 16;
// The first block of text collected in memory.
constexpr std::size_t kFirstInMemory = 1 << 10;

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
    used_ = 0;
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
  used_ = 0;
  counted_ = 0;
  lines_ = 0;
}

std::string CodeWriter::TakeText() {
  CountLines();
  inMemory_ = false;
  counted_ = 0;
  std::string text(block_.get(), used_);
  used_ = 0;
  return text;
}

// Sixteen bytes at a time where the processor offers it: the comparison gives -1 in each byte
// lane that holds a line end, subtracted into per-lane counters for up to 255 blocks (no lane
// overflows), which one sum of absolute differences adds up.
void CodeWriter::CountLines() const {
  if (counted_ == used_) return;  // also before the first block exists
  const char* at = block_.get() + counted_;
  const char* end = block_.get() + used_;
#if defined(__SSE2__)
  const __m128i ends = _mm_set1_epi8('\n');
  while (end - at >= 16) {
    __m128i counters = _mm_setzero_si128();
    for (int blocks = 0; blocks < 255 && end - at >= 16; ++blocks, at += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
      counters = _mm_sub_epi8(counters, _mm_cmpeq_epi8(bytes, ends));
    }
    const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
    lines_ += static_cast<long>(_mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
  }
#endif
  for (; at != end; ++at) lines_ += *at == '\n' ? 1 : 0;
  counted_ = used_;
}

void CodeWriter::Flush() {
  CountLines();
  counted_ = 0;
  if (used_ == 0) return;
  if (std::fwrite(block_.get(), 1, used_, file_.Stream()) != used_ && writeError_ == 0)
    writeError_ = errno != 0 ? errno : EIO;
  used_ = 0;
}

char* CodeWriter::MakeRoom(std::size_t n) {
  if (!inMemory_ && used_ > 0) Flush();
  if (capacity_ - used_ < n) {
    // A file's block holds what is gathered before it goes to the stream and one more fragment;
    // text in memory starts small, since many short parts are collected that way.
    const std::size_t capacity = std::max({2 * capacity_, used_ + n, inMemory_ ? kFirstInMemory : 2 * kBlock});
    auto block = std::make_unique_for_overwrite<char[]>(capacity);
    if (used_ > 0) std::memcpy(block.get(), block_.get(), used_);
    block_ = std::move(block);
    capacity_ = capacity;
  }
  return block_.get() + used_;
}

void CodeWriter::Write(std::string_view text) {
  if (text.empty() || !Accepts()) return;
  std::memcpy(Room(text.size()), text.data(), text.size());
  used_ += text.size();
  if (!inMemory_ && used_ >= kBlock) Flush();
}

void CodeWriter::Put(std::string_view fragment) { Write(fragment); }

void CodeWriter::Put(std::string_view fragment, std::string_view value) { Put(fragment, {value}); }

// Room for the fragment and all values is made once; the pieces are copied straight into it.
void CodeWriter::Put(std::string_view fragment, std::initializer_list<std::string_view> values) {
  if (!Accepts()) return;
  std::size_t most = fragment.size();
  for (std::string_view value : values) most += value.size();
  char* to = Room(most);
  const auto copy = [&to](const char* from, std::size_t n) {
    if (n == 0) return;  // an empty view may hold no address at all
    std::memcpy(to, from, n);
    to += n;
  };
  const std::string_view* next = values.begin();
  std::size_t start = 0;
  for (std::size_t i = fragment.find('%'); i != std::string_view::npos && next != values.end();
       i = fragment.find('%', i + 1)) {
    if (!IsPlaceholder(fragment, i)) continue;
    copy(fragment.data() + start, i - start);
    copy(next->data(), next->size());
    ++next;
    start = i + 2;
    ++i;
  }
  copy(fragment.data() + start, fragment.size() - start);
  assert(next == values.end() && "every value fills one placeholder");
  used_ = static_cast<std::size_t>(to - block_.get());
  if (!inMemory_ && used_ >= kBlock) Flush();
}

std::string CodeWriter::Tabs(int n) { return std::string(n > 0 ? static_cast<std::size_t>(n) : 0, '\t'); }

}  // namespace parvolen
