// How the classic parser would take an input, without writing it: the tries are followed as its
// routines follow them, each tail loop kept going while the coming terminal is one its tails
// begin with. A choice is decided on its whole decision list, every level of it: where the
// generated parser, which reads one terminal, decides alike, it takes the same member, and
// elsewhere it fails, so an input rejected here is rejected by the generated parser too.
// Used to check that an example input shows what a diagnostic says.
#pragma once

#include <cstddef>
#include <cstdint>

#include "findings/strings.h"
#include "model/language.h"

namespace parvolen {

enum class ClassicVerdict { Accepts, Rejects, Unknown };

// One decision taken otherwise: at the list that begins with the edge First, reached when the
// terminals read are the first At of the input and the coming ones begin with String, the
// member Member.
struct DecisionOverride {
  std::int32_t First = 0;
  std::size_t At = 0;
  TermString String;
  std::int32_t Member = 0;
};

// The verdict on the terminals of the input (after them the end-of-input terminal, or, without
// one, nothing that any decision takes): Accepts when the starting symbol completes, as the
// generated Parse returns then. Unknown when the replay needs more steps or deeper nesting than
// it allows itself, or a tail loop passes without reading. `read`, when given, is set to the
// number of terminals read.
[[nodiscard]] ClassicVerdict ReplayClassic(const Language& lang, const TermString& input,
                                           const DecisionOverride* override = nullptr, std::size_t* read = nullptr);

}  // namespace parvolen
