#include "findings/kind_failure.h"

#include "findings/strings.h"

namespace parvolen {
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

std::optional<Reentry> FindReentry(const Grammar& grammar, const AnalysisTrace& trace) {
  if (trace.Reentered == 0) return std::nullopt;
  Reentry r;
  r.ViewOwner = grammar.NontName(trace.ViewOwner);
  r.View = ViewName(trace.View, r.ViewOwner);
  r.Reentered = grammar.NontName(trace.Reentered);
  r.Depth = trace.Depth;
  r.Chain = Chain(grammar, trace.Steps);
  return r;
}

std::optional<Conflict> FindConflict(const Grammar& grammar, const AnalysisTrace& trace, Examples* examples) {
  if (trace.ChoiceList == 0) return std::nullopt;
  Conflict c;
  const ChoicePoint* choice = grammar.ChoiceAt(trace.ChoiceList);
  c.Nonterminal = grammar.NontName(choice != nullptr ? choice->Owner : 0);
  c.Where = choice != nullptr ? grammar.Where(*choice) : "?";
  c.Holder = MemberOf(grammar, trace.Holder);
  c.Claimant = MemberOf(grammar, trace.Claimant);
  c.Claimed = NamesOf(grammar, trace.Claimed);
  if (choice != nullptr && examples != nullptr && grammar.Lang().NontTab.Exists()) {
    if (auto reach = examples->Reaching(*choice)) {
      c.HaveReach = true;
      c.Reach = NamesOf(grammar, *reach);
    }
  }
  return c;
}

}  // namespace parvolen
