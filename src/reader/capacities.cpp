#include "reader/capacities.h"

#include <algorithm>
#include <limits>

#include "base/console.h"
#include "base/stack_room.h"
#include "reader/reader.h"

namespace parvolen {
namespace {

const std::array<CapacityKey, kCapacityCount> kCapacityKeys = {{
    {"Terminals", &Language::Terminals, &Language::LastTerminal, stTooManyTerminals},
    {"Nonterminals", &Language::Nonterminals, &Language::LastNonterminal, stTooManyNonterminals},
    {"OutTerms", &Language::OutTerms, &Language::LastOutTerm, stTooManyOutTerms},
    {"Actions", &Language::Actions, &Language::LastAction, stTooManyActions},
    {"Keywords", &Language::Keywords, &Language::LastKeyword, stTooManyKeywords},
    {"Edges", &Language::Edges, &Language::LastEdge, stTooManyEdges},
    {"Nodes", &Language::Nodes, &Language::LastNode, stTooManyNodes},
    {"Views", &Language::Views, &Language::LastView, stTooManyViews},
    {"Productions", &Language::Productions, &Language::LastProduction, stTooManyProductions},
    {"SymbNodes", &Language::SymbNodes, &Language::LastSymbNode, stTooManySymbNodes},
    {"SemInsts", &Language::SemInsts, &Language::LastSemInst, stTooManySemInsts},
}};

// The room every table starts a counting reading with; most descriptions need no more.
constexpr std::int32_t kFirstRoom = 1024;

}  // namespace

const std::array<CapacityKey, kCapacityCount>& CapacityKeys() { return kCapacityKeys; }

const CapacityKey* CapacityKeyOf(Status st) {
  for (const CapacityKey& key : kCapacityKeys)
    if (key.TooMany == st) return &key;
  return nullptr;
}

std::int64_t CountingSteps(std::int64_t failedReadingSteps) {
  const std::int64_t most = std::numeric_limits<std::int64_t>::max() / kCountingStepsFactor;
  return std::max(kLeastCountingSteps, std::min(failedReadingSteps, most) * kCountingStepsFactor);
}

CapacityCount CountCapacities(std::string_view descriptionName, Status overflowed, const ReadOptions& options,
                              std::optional<std::int64_t> steps) {
  CapacityCount count;
  const StepLimit limit(steps.value_or(std::numeric_limits<std::int64_t>::max()));
  Capacities room;
  room.fill(kFirstRoom);
  if (const CapacityKey* full = CapacityKeyOf(overflowed); full != nullptr)
    room[static_cast<std::size_t>(full - kCapacityKeys.data())] = kCountingLimit;
  // Each pass either ends the counting or gives one more table the most room, so there are at
  // most as many passes as tables, and no more than two for most descriptions. (A pass can cost
  // as much as the whole analysis, whatever the room: no doubling in small steps.)
  for (;;) {
    count.Diagnostics.clear();
    std::string messages;
    LanguagePool pool;
    std::int32_t handle = 0;
    {
      ConsoleSink dropped(messages);
      ConsoleSink diagnostics(count.Diagnostics);
      const ConsoleRedirect quiet(Channel::Messages, dropped);
      const ConsoleRedirect collected(Channel::Diagnostics, diagnostics);
      count.Outcome = ReadWithCapacities(pool, descriptionName, room, handle, options);
    }
    if (const Language* lang = pool.Record(handle); lang != nullptr)
      for (std::size_t k = 0; k < kCapacityCount; ++k) count.Needed[k] = lang->*kCapacityKeys[k].Last;
    (void)pool.Release(handle);
    if (limit.Reached()) {
      count.GaveUp = true;
      return count;
    }
    const CapacityKey* full = CapacityKeyOf(count.Outcome);
    if (full == nullptr) return count;
    const auto k = static_cast<std::size_t>(full - kCapacityKeys.data());
    if (room[k] >= kCountingLimit) return count;
    room[k] = kCountingLimit;
  }
}

}  // namespace parvolen
