#include "findings/kind_failure.h"
#include "inspect/report_parts.h"

namespace parvolen::inspect {

FailureReport BuildFailure(const ReadOutcome& outcome, const Grammar* grammar, Examples* examples) {
  FailureReport f;
  f.Code = outcome.Code;
  f.Message = std::string(StatusMessage(outcome.Code));
  if (outcome.Progress != nullptr) {
    f.Line = outcome.Progress->LastNumber;
    f.Text = outcome.Progress->LastText;
    f.AtEnd = outcome.Progress->LinesDone;
  }
  if (grammar == nullptr || outcome.Trace == nullptr) return f;
  if (outcome.Code == stNotKindAny) {
    if (std::optional<Reentry> reentry = FindReentry(*grammar, *outcome.Trace)) {
      f.HaveReentry = true;
      f.View = std::move(reentry->View);
      f.Reentered = std::move(reentry->Reentered);
      f.Depth = reentry->Depth;
      f.Chain = std::move(reentry->Chain);
    }
  }
  if (outcome.Code == stNotKindGiven) {
    if (std::optional<Conflict> conflict = FindConflict(*grammar, *outcome.Trace, examples)) {
      f.HaveConflict = true;
      f.Nonterminal = std::move(conflict->Nonterminal);
      f.Where = std::move(conflict->Where);
      f.Holder = std::move(conflict->Holder);
      f.Claimant = std::move(conflict->Claimant);
      f.Claimed = std::move(conflict->Claimed);
      f.HaveReach = conflict->HaveReach;
      f.Reach = std::move(conflict->Reach);
    }
  }
  return f;
}

}  // namespace parvolen::inspect
