// What Extended = yes costs. The analysis settles a conflict at the last level of the lookahead
// between a member whose strings run past the end of its production and a member that holds the
// same string already, in favour of the holder; a tail loop goes on at every terminal its tails
// begin with. Here are the places where that makes the generated parser reject input that the
// grammar derives.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "findings/grammar.h"
#include "findings/strings.h"

namespace parvolen {

struct ExtendedLoss {
  const ChoicePoint* Choice = nullptr;
  // A tail loop that goes on at the terminal String, which can also follow its nonterminal;
  // otherwise a choice inside a production.
  bool Loop = false;
  std::int32_t Member = 0;  // inside a production: the member that yields String
  std::int32_t Winner = 0;  // and the member that takes it
  TermString String;        // a loop: one terminal; else as long as the lookahead, or ending the input
  // An input that needs what the preference refuses, without a trailing end-of-input terminal.
  // Inside a production always given, and checked: the grammar derives it, the parser rejects
  // it, and accepts it where that one decision is taken the other way.
  std::optional<TermString> Example;
};

// The losses of the tail loops, then those inside productions, each in the order of the choice
// points (the grammar must have been read without failure); none without Extended.
[[nodiscard]] std::vector<ExtendedLoss> FindExtendedLosses(const Grammar& grammar);

}  // namespace parvolen
