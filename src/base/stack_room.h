// Stack room for the recursive grammar analysis: a helper thread with a large stack to run it
// on, and a check that lets a recursive step stop before the stack of its thread runs out.
#pragma once

#include <cstddef>
#include <functional>

#include "base/status.h"

namespace parvolen {

// Stack of the thread that runs the analysis: deep enough for grammars of many thousand
// nested nonterminals or tokens. Only the part actually used is ever backed by memory.
inline constexpr std::size_t kAnalysisStackBytes = std::size_t{512} << 20;

// Runs the job on a helper thread with a stack of the given size and waits for it; when no such
// thread can be started, runs it on the calling thread. Returns the job's status.
[[nodiscard]] Status RunWithStack(std::size_t bytes, const std::function<Status()>& job);

// True when the calling thread's stack is nearly used up; recursive steps then give stNoMem.
[[nodiscard]] bool StackNearlyFull();

}  // namespace parvolen
