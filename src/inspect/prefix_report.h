// The decisions of the embeddable translator (--prefix), explained: per choice point the
// terminals of lookahead it looks at and which member each string selects, and where two members
// share a string of as many terminals as Lookahead allows, both members, the shared string, an
// input that reaches the choice, and the preference that settled it, if one did.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "findings/read_progress.h"
#include "findings/references.h"
#include "model/language.h"

namespace parvolen::inspect {

// A member of a decision: an edge of the tries with its productions, or leaving the tail loop.
struct EmbeddedMember {
  bool Leave = false;
  MemberRef Member;
};

struct EmbeddedRow {
  Names String;  // empty where no terminal is looked at
  EmbeddedMember Selects;
};

struct EmbeddedConflict {
  EmbeddedMember Holder;    // keeps the string
  EmbeddedMember Claimant;  // claims it as well
  Names Shared;             // up to the end of the input where it ends before Lookahead terminals
  bool HaveReach = false;
  Names Reach;              // a short input read before the choice point
  std::string Preference;   // what settled it ("Extended"); empty: nothing did, status 52
};

struct EmbeddedChoice {
  std::string Nonterminal;
  std::string Where;
  bool Loop = false;
  std::int32_t Lookahead = 0;  // the terminals the decision looks at, at most
  std::vector<EmbeddedRow> Rows;
  std::optional<EmbeddedConflict> Conflict;
};

struct EmbeddedReport {
  Status Code = stOk;     // of deciding, then of building the lexicon
  std::int32_t Depth = 1;  // the most terminals any decision looks at
  std::vector<EmbeddedChoice> Choices;
};

// Decides the choices of a record that was read without failure, as `parvolen --prefix` would,
// and builds the lexicon (whose diagnostics go to standard error) for the status.
[[nodiscard]] EmbeddedReport BuildEmbeddedReport(const Language& lang, const ReadProgress* progress,
                                                 std::string_view file);

}  // namespace parvolen::inspect
