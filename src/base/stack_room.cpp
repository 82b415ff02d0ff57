#include "base/stack_room.h"

#include <pthread.h>

#include <algorithm>
#include <cstdint>

namespace parvolen {
namespace {

// Room kept free below the deepest recursive step for the plain calls it makes
// (table allocation, printing, the sanitizer's own frames).
constexpr std::size_t kSafetyMargin = std::size_t{256} << 10;

// The lowest address a recursive step may use on this thread; 0 while unknown or unlimited.
struct StackLimit {
  bool learned = false;
  std::uintptr_t lowest = 0;
};
thread_local StackLimit tLimit;

void LearnLimit() {
  tLimit.learned = true;
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) != 0) return;
  void* base = nullptr;
  std::size_t size = 0;
  if (pthread_attr_getstack(&attr, &base, &size) == 0 && base != nullptr)
    tLimit.lowest = reinterpret_cast<std::uintptr_t>(base) + std::min(kSafetyMargin, size / 2);
  pthread_attr_destroy(&attr);
}

struct Job {
  const std::function<Status()>* run;
  Status status;
};

void* RunJob(void* arg) {
  Job* job = static_cast<Job*>(arg);
  job->status = (*job->run)();
  return nullptr;
}

}  // namespace

Status RunWithStack(std::size_t bytes, const std::function<Status()>& job) {
  Job work{&job, stOk};
  pthread_attr_t attr;
  if (pthread_attr_init(&attr) != 0) return job();
  pthread_t thread;
  const bool started =
      pthread_attr_setstacksize(&attr, bytes) == 0 && pthread_create(&thread, &attr, RunJob, &work) == 0;
  pthread_attr_destroy(&attr);
  if (!started) return job();
  pthread_join(thread, nullptr);
  return work.status;
}

bool StackNearlyFull() {
  if (!tLimit.learned) LearnLimit();
  return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)) < tLimit.lowest;
}

}  // namespace parvolen
