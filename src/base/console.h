// Where the program's messages go. Every message is written through Print to the current sink of
// a channel: messages go to standard output and diagnostics to standard error, unless a
// ConsoleRedirect points the channel elsewhere, for instance at a string that collects them.
//
// The current sinks are process-wide because messages are printed from deep inside the analysis,
// which runs on a helper thread of its own. A redirect is made and undone only while no other
// thread prints (the analysis thread is started and joined inside the redirected operation).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace parvolen {

// A destination of text: a C stream, or a string that the text is appended to. The sink refers
// to its stream or string and does not own it.
class ConsoleSink {
 public:
  explicit ConsoleSink(std::FILE* file) : file_(file) {}
  explicit ConsoleSink(std::string& buffer) : buffer_(&buffer) {}

  void Write(std::string_view text);
  // Flushes a stream; a string needs nothing.
  void Flush();

 private:
  std::FILE* file_ = nullptr;
  std::string* buffer_ = nullptr;
};

enum class Channel { Messages, Diagnostics };

// The current sink of the channel: standard output or standard error unless redirected.
[[nodiscard]] ConsoleSink& CurrentSink(Channel channel);

// Points the channel at the sink while it lives, then restores the sink it replaced.
class ConsoleRedirect {
 public:
  ConsoleRedirect(Channel channel, ConsoleSink& sink);
  ~ConsoleRedirect();
  ConsoleRedirect(const ConsoleRedirect&) = delete;
  ConsoleRedirect& operator=(const ConsoleRedirect&) = delete;

 private:
  Channel channel_;
  ConsoleSink* previous_;
};

// Writes the text as it stands to the channel's current sink.
inline void Print(std::string_view text, Channel channel = Channel::Messages) { CurrentSink(channel).Write(text); }

// Prints "*** <name> ***\n", the header of a diagnostic for a missing record, table or argument.
inline void PrintDiagHeader(std::string_view name) {
  Print("*** ");
  Print(name);
  Print(" ***\n");
}

}  // namespace parvolen
