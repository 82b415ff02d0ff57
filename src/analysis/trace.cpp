#include "analysis/trace.h"

namespace parvolen {
namespace {

AnalysisTrace* Attached(Language* lang) { return lang == nullptr ? nullptr : lang->Trace; }

}  // namespace

void TraceView(Language* lang, std::int32_t owner, ViewKind view) {
  if (AnalysisTrace* trace = Attached(lang)) {
    trace->ViewOwner = owner;
    trace->View = view;
  }
}

void TraceReentry(Language* lang, std::int32_t nont, std::int32_t depth) {
  if (AnalysisTrace* trace = Attached(lang)) {
    trace->Reentered = nont;
    trace->Depth = depth;
    trace->Steps.clear();
  }
}

void TraceStep(Language* lang, Status st, std::int32_t edge) {
  if (AnalysisTrace* trace = Attached(lang); trace != nullptr && st == stNotKindAny)
    trace->Steps.insert(trace->Steps.begin(), edge);
}

void TraceConflict(Language* lang, std::int32_t holder, std::int32_t claimant, std::int32_t term) {
  if (AnalysisTrace* trace = Attached(lang)) {
    trace->ChoiceList = 0;
    trace->Holder = holder;
    trace->Claimant = claimant;
    trace->Claimed.assign(1, term);
  }
}

void TraceClaimedTerm(Language* lang, Status st, std::int32_t term) {
  if (AnalysisTrace* trace = Attached(lang); trace != nullptr && st == stNotKindGiven && trace->ChoiceList == 0)
    trace->Claimed.insert(trace->Claimed.begin(), term);
}

void TraceChoice(Language* lang, Status st, std::int32_t first) {
  if (AnalysisTrace* trace = Attached(lang); trace != nullptr && st == stNotKindGiven && trace->ChoiceList == 0)
    trace->ChoiceList = first;
}

}  // namespace parvolen
