#include "base/console.h"

namespace parvolen {
namespace {

ConsoleSink*& Current(Channel channel) {
  static ConsoleSink standardOutput(stdout);
  static ConsoleSink standardError(stderr);
  static ConsoleSink* current[] = {&standardOutput, &standardError};
  return current[channel == Channel::Messages ? 0 : 1];
}

}  // namespace

void ConsoleSink::Write(std::string_view text) {
  if (buffer_ != nullptr) {
    buffer_->append(text);
  } else if (file_ != nullptr) {
    std::fwrite(text.data(), 1, text.size(), file_);
  }
}

void ConsoleSink::Flush() {
  if (file_ != nullptr) std::fflush(file_);
}

ConsoleSink& CurrentSink(Channel channel) { return *Current(channel); }

ConsoleRedirect::ConsoleRedirect(Channel channel, ConsoleSink& sink) : channel_(channel), previous_(Current(channel)) {
  Current(channel) = &sink;
}

ConsoleRedirect::~ConsoleRedirect() { Current(channel_) = previous_; }

}  // namespace parvolen
