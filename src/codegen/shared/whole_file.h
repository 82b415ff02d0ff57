// WholeFile: a generated file that appears under its name only when it is complete.
//
// The text goes to a temporary file in the same folder (".NAME.PID-N.tmp") and Commit renames
// it onto the final name, so that a run that fails to write, or is stopped by SIGINT, SIGTERM,
// SIGHUP or SIGXFSZ, never leaves a truncated file under that name: a failed write removes the
// temporary file, and a handler of those signals removes every temporary file still open
// before the signal takes its default course. A file that exists keeps its permission bits; a
// symbolic link keeps pointing at its file, which is replaced. Where no temporary file can
// stand beside the final one (the final name is a device or no regular file, the folder
// takes no new file, or the file exists and is not writable), the final file is written in
// place as by fopen(path, "w"), which also gives the errors of an impossible one.
//
//   WholeFile file;
//   if (!file.Open(path)) ...               // errno tells why
//   std::fwrite(text, 1, n, file.Stream());
//   if (!file.Commit()) ...                 // errno tells why; no file under the name
#pragma once

#include <cstdio>
#include <string>

namespace parvolen {

class WholeFile {
 public:
  WholeFile() = default;
  WholeFile(const WholeFile&) = delete;
  WholeFile& operator=(const WholeFile&) = delete;
  // A file neither committed nor discarded is committed, whatever was written of it, unless an
  // exception ends its life: then it is discarded.
  ~WholeFile();

  // Opens the file for writing; false (errno set, nothing open) when it cannot be created.
  [[nodiscard]] bool Open(const std::string& path);
  [[nodiscard]] bool IsOpen() const { return stream_ != nullptr; }
  [[nodiscard]] std::FILE* Stream() const { return stream_; }

  // Flushes and closes the file and gives it its final name. False (errno set) when a write,
  // the close or the rename failed: the temporary file is removed then. True when not open.
  [[nodiscard]] bool Commit();
  // Closes the file and removes the temporary one; the final name keeps what it had.
  void Discard();

 private:
  void Forget();

  std::FILE* stream_ = nullptr;
  std::string temp_;    // the temporary file; empty when written in place
  std::string target_;  // the final file that the temporary one replaces
  int slot_ = -1;       // where the signal handler finds temp_, or -1
  int exceptions_ = 0;  // exceptions in flight when it was opened
};

}  // namespace parvolen
