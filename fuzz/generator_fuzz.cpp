// Fuzz target for the generator: the input is a description file, read and generated into a
// fresh directory exactly as a run of the program does it. The first byte chooses the options
// (bit 0: -s, bit 1: -T, bit 2: --prefix=fz, the embeddable translator, whose reading knows
// [Tokens] and its keys); the rest is the description.
//
// Checked after every run:
//  - the status is 0 or one of the codes 1 to 86;
//  - the target directory holds only files the generators write, and on status 0 all of them
//    that the description calls for;
//  - the sandbox around it holds nothing but the description and the target directory, and no
//    generated file appeared in the current directory;
//  - every file the run opened is closed again.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/status.h"
#include "codegen/construct.h"
#include "driver/command_line.h"
#include "driver/run.h"
#include "model/language.h"
#include "reader/reader.h"

// The generators that exist in this build; the expected files follow them, so the target keeps
// its invariants as modules are added.
#if __has_include("codegen/classic/parser_module.h")
#define FUZZ_HAS_PARSER 1
#else
#define FUZZ_HAS_PARSER 0
#endif
#if __has_include("codegen/classic/consact.h")
#define FUZZ_HAS_ACTIONS 1
#else
#define FUZZ_HAS_ACTIONS 0
#endif
#if __has_include("codegen/classic/writer_module.h")
#define FUZZ_HAS_WRITER 1
#else
#define FUZZ_HAS_WRITER 0
#endif

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 12> kGeneratedNames = {
    "_error.h", "_error.c", "_lexer.h",   "_lexer.c",  "_parser.h", "_parser.c",
    "_actions.h", "_actions.c", "_writer.h", "_writer.c", "fz.h", "fz.c"};

// The options byte: bits of -s, -T and --prefix=fz.
constexpr std::uint8_t kSemanticBit = 1, kDebugBit = 2, kEmbeddedBit = 4;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "generator_fuzz: invariant broken: %s\n", what.c_str());
  std::abort();
}

// The sandbox of this process: <dir>/parvolen-fuzz-<pid>/ with the description "in.lang" and the
// target directory "out/", made once and removed at exit; after every input the files generated
// into out/ are removed. <dir> is $TMPDIR when set, else /dev/shm when it is a writable directory
// (a file system in memory: every input writes and removes its files), else the system's
// temporary directory.
struct Sandbox {
  fs::path root;
  fs::path description;
  fs::path target;
};

fs::path SandboxParent() {
  const char* tmpdir = std::getenv("TMPDIR");
  std::error_code ec;
  if ((tmpdir == nullptr || *tmpdir == '\0') && fs::is_directory("/dev/shm", ec) &&
      ::access("/dev/shm", W_OK | X_OK) == 0)
    return "/dev/shm";
  return fs::temp_directory_path();
}

void RemoveSandbox();

const Sandbox& TheSandbox() {
  static const Sandbox box = [] {
    Sandbox b;
    b.root = SandboxParent() / ("parvolen-fuzz-" + std::to_string(::getpid()));
    b.description = b.root / "in.lang";
    b.target = b.root / "out";
    std::error_code ec;
    fs::remove_all(b.root, ec);  // left by an earlier process of the same number
    fs::create_directories(b.target, ec);
    if (ec) Fail("cannot create the sandbox " + b.root.string());
    return b;
  }();
  // Registered after the sandbox is made, so it runs before the sandbox is destroyed.
  static const bool removedAtExit = std::atexit(RemoveSandbox) == 0;
  (void)removedAtExit;
  return box;
}

void RemoveSandbox() {
  std::error_code ec;
  fs::remove_all(TheSandbox().root, ec);
}

// Generated files that were in the current directory before the first input.
const std::set<std::string>& FilesInWorkingDir() {
  static const std::set<std::string> present = [] {
    std::set<std::string> names;
    for (std::string_view name : kGeneratedNames)
      if (fs::exists(fs::path(name))) names.insert(std::string(name));
    return names;
  }();
  return present;
}

// Open file descriptors of this process; -1 where the system does not list them.
int OpenFileCount() {
  std::error_code ec;
  fs::directory_iterator it("/proc/self/fd", ec);
  if (ec) return -1;
  int count = 0;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) return -1;
    ++count;
  }
  return count;
}

void WriteDescription(const fs::path& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) Fail("cannot write " + path.string());
  if (size > 0 && std::fwrite(data, 1, size, file) != size) Fail("cannot write " + path.string());
  if (std::fclose(file) != 0) Fail("cannot close " + path.string());
}

// The files a successful run writes for this language, as far as this build generates them.
std::set<std::string> ExpectedFiles(const parvolen::Language& lang) {
  std::set<std::string> names = {"_error.h", "_error.c", "_lexer.h", "_lexer.c"};
  if (FUZZ_HAS_PARSER) names.insert({"_parser.h", "_parser.c"});
  if (FUZZ_HAS_ACTIONS && lang.LastAction > 0) names.insert({"_actions.h", "_actions.c"});
  if (FUZZ_HAS_WRITER && lang.LastOutTerm > 0) names.insert({"_writer.h", "_writer.c"});
  return names;
}

// Checks the sandbox after a run; gives the files found in the target.
std::set<std::string> CheckTarget(const Sandbox& box, parvolen::Status status, const std::set<std::string>& expected) {
  if (status < 0 || status > parvolen::kLastStatus) Fail("status " + std::to_string(status) + " out of range");

  for (const fs::directory_entry& entry : fs::directory_iterator(box.root)) {
    const fs::path& p = entry.path();
    if (p != box.description && p != box.target) Fail("written outside the target directory: " + p.string());
  }
  std::set<std::string> found;
  if (fs::exists(box.target)) {
    for (const fs::directory_entry& entry : fs::directory_iterator(box.target)) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file() || !expected.contains(name)) Fail("unexpected file in the target: " + name);
      found.insert(name);
    }
  }
  if (status == parvolen::stOk && found != expected) {
    std::string missing;
    for (const std::string& name : expected)
      if (!found.contains(name)) missing += " " + name;
    Fail("status 0 but files missing:" + missing);
  }
  for (std::string_view name : kGeneratedNames) {
    if (fs::exists(fs::path(name)) && !FilesInWorkingDir().contains(std::string(name)))
      Fail("generated file in the current directory: " + std::string(name));
  }
  return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Sandbox& box = TheSandbox();
  (void)FilesInWorkingDir();

  // The target is empty: the previous input's files were removed after its checks.
  if (std::error_code ec; !fs::is_directory(box.target, ec) && !fs::create_directories(box.target, ec))
    Fail("cannot create the target " + box.target.string());
  WriteDescription(box.description, data + 1, size - 1);

  const int filesBefore = OpenFileCount();
  parvolen::Status status = parvolen::stOk;
  std::set<std::string> expected;
  if ((data[0] & kEmbeddedBit) != 0) {
    // The embeddable translator: the whole run of the program, which writes fz.h and fz.c or,
    // failing, none or only fz.h.
    std::vector<std::string_view> args = {"-q", "--prefix=fz"};
    if ((data[0] & kSemanticBit) != 0) args.push_back("-s");
    if ((data[0] & kDebugBit) != 0) args.push_back("-T");
    const std::string description = box.description.string(), target = box.target.string();
    args.push_back(description);
    args.push_back(target);
    status = parvolen::Run(args);
    expected = {"fz.h", "fz.c"};
  } else {
    parvolen::CommandLine cl;
    cl.SemanticCode = (data[0] & kSemanticBit) != 0;
    cl.DebugSupport = (data[0] & kDebugBit) != 0;
    parvolen::ConsOptions options = parvolen::MakeConsOptions(cl);

    // The steps of a run of the program, without its final message.
    parvolen::LanguagePool pool;
    std::int32_t handle = 0;
    status = parvolen::ReadDescription(pool, box.description.string(), "", handle);
    // A failed reading generates nothing, so then every file in the target is unexpected; a
    // failed generation leaves the files completed before it, all of them from the expected set.
    if (status == parvolen::stOk) {
      parvolen::Language* lang = pool.Record(handle);
      if (lang == nullptr) Fail("status 0 without a record");
      status = parvolen::Construct(lang, box.target.string(), &options);
      expected = ExpectedFiles(*lang);
    }
    (void)pool.Release(handle);
  }
  std::fflush(stdout);
  const std::set<std::string> written = CheckTarget(box, status, expected);
  if (const int filesAfter = OpenFileCount(); filesAfter != filesBefore)
    Fail(std::to_string(filesAfter - filesBefore) + " files left open");
  for (const std::string& name : written)
    if (std::error_code ec; !fs::remove(box.target / name, ec) || ec) Fail("cannot remove " + name);
  return 0;
}

// A huge block must end in status 1, not in an allocator abort or a fuzzer out-of-memory
// report: the allocator answers a null pointer for a block over 1 GiB. (The large blocks of the
// numbered tables are mapped past the allocator, model/zero_block.h: they fail, with status 1,
// only where the system refuses them, and cost memory only where written.)
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=1024:detect_leaks=1";
}
