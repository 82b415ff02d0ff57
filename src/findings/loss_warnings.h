// The losses of the analysis worded for people: where the generated parser rejects input that
// the grammar derives, with an example input, the reason and a suggested rewrite.
#pragma once

#include <string>
#include <vector>

#include "findings/grammar.h"
#include "findings/losses.h"
#include "findings/references.h"

namespace parvolen {

struct WarningReport {
  std::string Kind;  // "lost-strings", "below-level-1" or "end-unseen"
  std::string Nonterminal;
  std::string Where;
  MemberRef Member;
  Names Terminals;
  bool HaveExample = false;
  Names Before;  // the example input read before the choice point
  Names After;   // and the rest of it
  std::string Explanation;
  std::string Suggestion;
};

// The warnings for the losses of the analysis, with their explanation and suggested rewrite.
[[nodiscard]] std::vector<WarningReport> BuildWarnings(const Grammar& grammar, const std::vector<Loss>& losses);

}  // namespace parvolen
