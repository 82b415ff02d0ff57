// How the grammar analysis fills the trace of the failure that stopped it (model/analysis_trace.h).
// It fills one only when one is attached to the record (Language::Trace); without one every call
// below does nothing.
#pragma once

#include <cstdint>

#include "base/status.h"
#include "model/analysis_trace.h"
#include "model/language.h"

namespace parvolen {

// The view of owner that ViewMakeAll computes next.
void TraceView(Language* lang, std::int32_t owner, ViewKind view);
// Nonterminal nont is entered again at remaining lookahead depth: where stNotKindAny arises.
void TraceReentry(Language* lang, std::int32_t nont, std::int32_t depth);
// On the way back from stNotKindAny through edge: the edge goes before the steps known so far.
void TraceStep(Language* lang, Status st, std::int32_t edge);

// Member claimant claims terminal term at the last level, where holder has it: stNotKindGiven arises.
void TraceConflict(Language* lang, std::int32_t holder, std::int32_t claimant, std::int32_t term);
// On the way back from stNotKindGiven through a level that read term: term goes before the string.
void TraceClaimedTerm(Language* lang, Status st, std::int32_t term);
// On the way back from stNotKindGiven out of the decision list of the list at first (innermost wins).
void TraceChoice(Language* lang, Status st, std::int32_t first);

}  // namespace parvolen
