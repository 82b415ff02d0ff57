// Why the grammar is not of the kind the parser needs, from the analysis trace: for status 51
// the nonterminal entered again without reading and the edges that led back to it, for status
// 52 the two members of a choice point that claim the same lookahead string.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/analysis_trace.h"
#include "findings/examples.h"
#include "findings/grammar.h"
#include "findings/references.h"

namespace parvolen {

struct ChainStep {
  std::string Edge;  // as written; for a production left, its owner
  std::string Role;  // "reads", "enters", "leaves"
  std::vector<ProductionRef> Productions;
};

// stNotKindAny: a view whose computation entered a nonterminal again.
struct Reentry {
  std::string View;  // e.g. "NLRF of S (what can follow S where it occurs)"
  std::string ViewOwner;
  std::string Reentered;
  std::int32_t Depth = 0;
  std::vector<ChainStep> Chain;
};

// stNotKindGiven: two members of a choice point begin with the same string.
struct Conflict {
  std::string Nonterminal;
  std::string Where;
  MemberRef Holder;    // the member that has the string
  MemberRef Claimant;  // the member that claims it as well
  Names Claimed;
  bool HaveReach = false;
  Names Reach;  // a short input read before the choice point
};

// The re-entry the trace recorded, if any.
[[nodiscard]] std::optional<Reentry> FindReentry(const Grammar& grammar, const AnalysisTrace& trace);

// The conflict the trace recorded, if any; examples, when given, find an input that reaches it.
[[nodiscard]] std::optional<Conflict> FindConflict(const Grammar& grammar, const AnalysisTrace& trace,
                                                   Examples* examples);

}  // namespace parvolen
