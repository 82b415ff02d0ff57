#include "inspect/report_parts.h"
#include "inspect/strings.h"

namespace parvolen::inspect {
namespace {

// The view with what it holds, e.g. "NLRF of S (what can follow S where it occurs)".
std::string ViewName(ViewKind view, const std::string& owner) {
  switch (view) {
    case ViewKind::First: return "First of " + owner + " (what " + owner + " begins with)";
    case ViewKind::PureDLRF: return "PureDLRF of " + owner + " (what the left-recursive tails of " + owner + " begin with)";
    case ViewKind::DLRF: return "DLRF of " + owner + " (what can follow " + owner + " through its left-recursive tails)";
    case ViewKind::NLRF: return "NLRF of " + owner + " (what can follow " + owner + " where it occurs)";
  }
  return "?";
}

// The edges that led back to the re-entered nonterminal: terminals read, nonterminals entered
// and productions left at their end, for what follows their owner (action and output edges
// read nothing and are left out).
std::vector<ChainStep> Chain(const Grammar& grammar, const std::vector<std::int32_t>& steps) {
  std::vector<ChainStep> chain;
  const Language& lang = grammar.Lang();
  for (std::int32_t e : steps) {
    if (e < 1 || e > lang.LastEdge) continue;
    const EdgeRec& edge = lang.EdgeTab[e];
    ChainStep step{grammar.EdgeText(e), "", {}};
    switch (edge.WhoAmI) {
      case kEdgeTerminal: step.Role = "reads"; break;
      case kEdgeNonterminal: step.Role = "enters"; break;
      case kEdgeEnd:
        step.Role = "leaves";
        if (const auto& prods = grammar.Productions(); edge.Code >= 1 && static_cast<std::size_t>(edge.Code) < prods.size())
          step.Edge = grammar.NontName(prods[edge.Code].Owner);
        break;
      default: continue;
    }
    for (std::int32_t p : grammar.ProductionsBelow(e)) step.Productions.push_back(RefTo(grammar, p));
    chain.push_back(std::move(step));
  }
  return chain;
}

}  // namespace

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
  const AnalysisTrace& trace = *outcome.Trace;
  if (outcome.Code == stNotKindAny && trace.Reentered != 0) {
    f.HaveReentry = true;
    f.View = ViewName(trace.View, grammar->NontName(trace.ViewOwner));
    f.Reentered = grammar->NontName(trace.Reentered);
    f.Depth = trace.Depth;
    f.Chain = Chain(*grammar, trace.Steps);
  }
  if (outcome.Code == stNotKindGiven && trace.ChoiceList != 0) {
    f.HaveConflict = true;
    const ChoicePoint* choice = grammar->ChoiceAt(trace.ChoiceList);
    const Language& lang = grammar->Lang();
    const std::int32_t owner = choice != nullptr ? choice->Owner : 0;
    f.Nonterminal = grammar->NontName(owner);
    f.Where = choice != nullptr ? grammar->Where(*choice) : "?";
    f.Holder = MemberOf(*grammar, trace.Holder);
    f.Claimant = MemberOf(*grammar, trace.Claimant);
    f.Claimed = NamesOf(*grammar, trace.Claimed);
    if (choice != nullptr && examples != nullptr && lang.NontTab.Exists()) {
      if (auto reach = examples->Reaching(*choice)) {
        f.HaveReach = true;
        f.Reach = NamesOf(*grammar, *reach);
      }
    }
  }
  return f;
}

}  // namespace parvolen::inspect
