// Stack room for the recursive grammar analysis: a helper thread with a large stack to run it
// on, and a check that lets a recursive step stop before the stack of its thread runs out.
// The same check counts the recursive steps, so that a limit on them can bound the time of
// work that may grow far beyond what it is worth (such as counting a description's needs).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "base/status.h"

namespace parvolen {

// Stack of the thread that runs the analysis: deep enough for grammars of many thousand
// nested nonterminals or tokens. Only the part actually used is ever backed by memory.
inline constexpr std::size_t kAnalysisStackBytes = std::size_t{512} << 20;

// Runs the job on a helper thread with a stack of the given size and waits for it; when no such
// thread can be started, runs it on the calling thread. Returns the job's status, and stNoMem
// when the job ran out of memory (std::bad_alloc). The helper thread counts its steps on, and
// obeys the step limit of, the calling thread.
[[nodiscard]] Status RunWithStack(std::size_t bytes, const std::function<Status()>& job);

namespace stack_room_detail {

// The lowest address a recursive step may use on this thread; 0 while unknown or unlimited.
// The steps taken on this thread and the count past which no more are allowed.
struct StackLimit {
  bool learned = false;
  std::uintptr_t lowest = 0;
  std::int64_t steps = 0;
  std::int64_t stepLimit = INT64_MAX;
};
extern thread_local constinit StackLimit tLimit;

// Learns the lowest address of the calling thread's stack.
void LearnLimit();

}  // namespace stack_room_detail

// True when the calling thread's stack is nearly used up, or when its step limit is passed;
// recursive steps then give stNoMem. Every call counts one step. Inline: every recursive step
// of the analysis asks.
[[nodiscard]] inline bool StackNearlyFull() {
  stack_room_detail::StackLimit& limit = stack_room_detail::tLimit;
  if (!limit.learned) stack_room_detail::LearnLimit();
  if (++limit.steps > limit.stepLimit) return true;
  return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)) < limit.lowest;
}

// The steps counted on the calling thread (and the helper threads it ran) so far.
[[nodiscard]] std::int64_t StepsTaken();

// For its lifetime, allows the calling thread `steps` more steps; past them StackNearlyFull is
// true. An enclosing limit still holds when it is nearer.
class StepLimit {
 public:
  explicit StepLimit(std::int64_t steps);
  ~StepLimit();
  StepLimit(const StepLimit&) = delete;
  StepLimit& operator=(const StepLimit&) = delete;

  // Whether the steps allowed ran out.
  [[nodiscard]] bool Reached() const;

 private:
  std::int64_t enclosing_;
  std::int64_t limit_;
};

}  // namespace parvolen
