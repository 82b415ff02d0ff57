#include "base/stack_room.h"

#include <pthread.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>

namespace parvolen {
namespace {

// Room kept free below the deepest recursive step for the plain calls it makes
// (table allocation, printing, the sanitizer's own frames).
constexpr std::size_t kSafetyMargin = std::size_t{256} << 10;

constexpr std::int64_t kNoLimit = std::numeric_limits<std::int64_t>::max();

}  // namespace

namespace stack_room_detail {

thread_local constinit StackLimit tLimit;

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

}  // namespace stack_room_detail

namespace {

using stack_room_detail::tLimit;

struct Job {
  const std::function<Status()>* run;
  Status status;
  std::int64_t steps;
  std::int64_t stepLimit;
};

Status RunCatching(const std::function<Status()>& job) {
  try {
    return job();
  } catch (const std::bad_alloc&) {
    return stNoMem;
  }
}

void* RunJob(void* arg) {
  Job* job = static_cast<Job*>(arg);
  tLimit.steps = job->steps;
  tLimit.stepLimit = job->stepLimit;
  job->status = RunCatching(*job->run);
  job->steps = tLimit.steps;
  return nullptr;
}

}  // namespace

Status RunWithStack(std::size_t bytes, const std::function<Status()>& job) {
  Job work{&job, stOk, tLimit.steps, tLimit.stepLimit};
  pthread_attr_t attr;
  if (pthread_attr_init(&attr) != 0) return RunCatching(job);
  pthread_t thread;
  const bool started =
      pthread_attr_setstacksize(&attr, bytes) == 0 && pthread_create(&thread, &attr, RunJob, &work) == 0;
  pthread_attr_destroy(&attr);
  if (!started) return RunCatching(job);
  pthread_join(thread, nullptr);
  tLimit.steps = work.steps;
  return work.status;
}

std::int64_t StepsTaken() { return tLimit.steps; }

StepLimit::StepLimit(std::int64_t steps) : enclosing_(tLimit.stepLimit) {
  const std::int64_t room = std::max<std::int64_t>(steps, 0);
  limit_ = tLimit.steps > kNoLimit - room ? kNoLimit : tLimit.steps + room;
  tLimit.stepLimit = std::min(limit_, enclosing_);
}

StepLimit::~StepLimit() { tLimit.stepLimit = enclosing_; }

bool StepLimit::Reached() const { return tLimit.steps > limit_; }

}  // namespace parvolen
