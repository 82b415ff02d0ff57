// The table capacities of a description: the [Language] keys that size the numbered tables,
// and the count of what a description needs of each, found by reading it again with room to
// spare.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"
#include "findings/read_progress.h"
#include "model/language.h"

namespace parvolen {

// One capacity key: its name in [Language], the capacity it sets, the count of entries made
// and the status of a full table.
struct CapacityKey {
  std::string_view Key;
  std::int32_t Language::*Capacity;
  std::int32_t Language::*Last;
  Status TooMany;
};

inline constexpr std::size_t kCapacityCount = 11;
using Capacities = std::array<std::int32_t, kCapacityCount>;

// The capacity keys in the order of the key table of [Language].
[[nodiscard]] const std::array<CapacityKey, kCapacityCount>& CapacityKeys();

// The key whose table gives the status when it is full; nullptr for any other status.
[[nodiscard]] const CapacityKey* CapacityKeyOf(Status st);

// The most a count goes up to: a table that needs more is counted as needing more than this.
// It keeps a counting reading finite in time and memory whatever the description.
inline constexpr std::int32_t kCountingLimit = 1 << 20;

// What a description needs: the status of its last counting reading (stOk when it read, the
// "Too many" status of a table that needs more than kCountingLimit, or the first fault of
// another kind), the counts of every table as that reading left them, and the diagnostics it
// printed.
struct CapacityCount {
  Status Outcome = stOk;
  Capacities Needed{};
  std::string Diagnostics;
  bool GaveUp = false;  // the steps allowed ran out: Outcome and Needed tell nothing then
};

// The steps of the analysis (see StackNearlyFull) that counting after a failed reading may take:
// this many times the steps of that reading, and at least kLeastCountingSteps, so that counting
// what a description needs takes no more than a small multiple of the time its reading took.
inline constexpr std::int64_t kCountingStepsFactor = 8;
inline constexpr std::int64_t kLeastCountingSteps = std::int64_t{1} << 22;
[[nodiscard]] std::int64_t CountingSteps(std::int64_t failedReadingSteps);

// Reads the description again, printing nothing, with a capacity of 1024 for every table in
// place of the [Language] values; a table that overflows gets kCountingLimit and the reading
// starts over. The table of the "Too many" status `overflowed`, when one is given, starts with
// kCountingLimit.
// The options are those of the reading that is counted for. With `steps`, the counting gives up
// after that many steps of the analysis in all its readings.
[[nodiscard]] CapacityCount CountCapacities(std::string_view descriptionName, Status overflowed = stOk,
                                            const ReadOptions& options = {},
                                            std::optional<std::int64_t> steps = std::nullopt);

}  // namespace parvolen
