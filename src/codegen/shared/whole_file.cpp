#include "codegen/shared/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <mutex>

namespace parvolen {
namespace {

// The temporary files that a stopping signal removes: each slot holds the path of one that is
// open, owned by its WholeFile, which empties the slot before it lets the text go. The
// generators write one file at a time, so a few slots are plenty; a file beyond them is
// written all the same, only not removed by a signal.
constexpr std::size_t kSlots = 8;
std::array<std::atomic<const char*>, kSlots> pending{};

constexpr std::array<int, 4> kStopSignals = {SIGINT, SIGTERM, SIGHUP, SIGXFSZ};

// Removes the pending temporary files, then lets the signal take its default course: the
// handler was reset on entry (SA_RESETHAND) and the signal raised here is delivered on return.
void RemovePending(int sig) {
  for (auto& slot : pending)
    if (const char* path = slot.load(); path != nullptr) ::unlink(path);
  ::raise(sig);
}

// Installs the handler for every stopping signal whose action is still the default; a signal
// that the run ignores, or that its host program handles, stays as it is.
void GuardSignals() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int sig : kStopSignals) {
      struct sigaction old {};
      if (::sigaction(sig, nullptr, &old) != 0 || (old.sa_flags & SA_SIGINFO) != 0 || old.sa_handler != SIG_DFL)
        continue;
      struct sigaction act {};
      act.sa_handler = RemovePending;
      sigemptyset(&act.sa_mask);
      for (int other : kStopSignals) sigaddset(&act.sa_mask, other);
      act.sa_flags = SA_RESETHAND;
      (void)::sigaction(sig, &act, nullptr);
    }
  });
}

int Claim(const char* path) {
  for (std::size_t i = 0; i < kSlots; ++i) {
    const char* empty = nullptr;
    if (pending[i].compare_exchange_strong(empty, path)) return static_cast<int>(i);
  }
  return -1;
}

// The folder of a path, for stat: "." for a bare file name.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A folder with the sticky bit lets only the owners of a file (or of the folder) replace it,
// while writing into the file may still be allowed.
bool RenameRefused(const std::string& target, const struct stat& file) {
  struct stat folder {};
  if (::stat(FolderOf(target).c_str(), &folder) != 0) return true;
  const uid_t self = ::geteuid();
  return (folder.st_mode & S_ISVTX) != 0 && self != 0 && file.st_uid != self && folder.st_uid != self;
}

// Where a temporary file may replace the final one: target is the final path, or the file that
// a symbolic link there names; mode the permission bits of an existing file (0 for a new one).
// False when the file must be written in place: it is no regular file, it has other names
// (hard links that a rename would part from it), it is not writable, its folder would refuse
// the renaming, or nothing can be known.
bool Replaceable(const std::string& path, std::string& target, mode_t& mode) {
  mode = 0;
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0) {
    if (errno != ENOENT) return false;
    target = path;
    return true;
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1) return false;
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return false;
  mode = info.st_mode & 07777;
  if (S_ISLNK(link.st_mode)) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return false;
    target = real;
    std::free(real);
  } else {
    target = path;
  }
  return !RenameRefused(target, info);
}

// ".NAME.PID-N.tmp" in the folder of the target.
std::string TempName(const std::string& target, unsigned number) {
  const std::size_t slash = target.rfind('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  return target.substr(0, base) + "." + target.substr(base) + "." + std::to_string(::getpid()) + "-" +
         std::to_string(number) + ".tmp";
}

}  // namespace

WholeFile::~WholeFile() {
  if (stream_ == nullptr) return;
  // Left by an exception (such as running out of memory) the text is incomplete.
  if (std::uncaught_exceptions() > exceptions_) {
    Discard();
    return;
  }
  (void)Commit();
}

bool WholeFile::Open(const std::string& path) {
  if (stream_ != nullptr) (void)Commit();
  std::string target;
  mode_t mode = 0;
  exceptions_ = std::uncaught_exceptions();
  if (Replaceable(path, target, mode)) {
    GuardSignals();
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
      temp_ = TempName(target, counter++);
      // Claimed before it exists, so that no moment leaves it unguarded.
      slot_ = Claim(temp_.c_str());
      const int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0) {
        const bool taken = errno == EEXIST;
        Forget();
        if (taken) continue;
        break;
      }
      if (mode != 0) (void)::fchmod(fd, mode);
      stream_ = ::fdopen(fd, "w");
      if (stream_ == nullptr) {
        ::close(fd);
        ::unlink(temp_.c_str());
        Forget();
        break;
      }
      target_ = target;
      return true;
    }
  }
  stream_ = std::fopen(path.c_str(), "w");
  return stream_ != nullptr;
}

bool WholeFile::Commit() {
  if (stream_ == nullptr) return true;
  int error = 0;
  if (std::fflush(stream_) != 0) {
    error = errno != 0 ? errno : EIO;
  } else if (std::ferror(stream_) != 0) {
    error = EIO;  // an earlier write failed; its caller knows better why
  }
  if (std::fclose(stream_) != 0 && error == 0) error = errno != 0 ? errno : EIO;
  stream_ = nullptr;
  if (error == 0 && !temp_.empty() && ::rename(temp_.c_str(), target_.c_str()) != 0) error = errno;
  if (error != 0 && !temp_.empty()) ::unlink(temp_.c_str());
  Forget();
  errno = error;
  return error == 0;
}

void WholeFile::Discard() {
  if (stream_ == nullptr) return;
  std::fclose(stream_);
  stream_ = nullptr;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  Forget();
}

void WholeFile::Forget() {
  if (slot_ >= 0) pending[static_cast<std::size_t>(slot_)].store(nullptr);
  slot_ = -1;
  temp_.clear();
  target_.clear();
}

}  // namespace parvolen
