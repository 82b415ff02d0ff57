// How the routines that the parser writer makes from the decisions would take an input, without
// writing them: the tries are followed as the routines follow them, each choice and tail loop
// selected by its decision. Used to check that an example input shows what a diagnostic says.
#pragma once

#include <cstdint>
#include <vector>

#include "codegen/embedded/decisions.h"
#include "model/language.h"

namespace parvolen {

enum class Replay { Accepts, Rejects, Unknown };

// The verdict on the terminals of the input (the end of the input after them): Unknown when
// the replay needs more steps or deeper nesting than it allows itself.
[[nodiscard]] Replay ReplayParse(const Language& lang, const EmbeddedDecisions& decisions,
                                 const std::vector<std::int32_t>& input);

}  // namespace parvolen
