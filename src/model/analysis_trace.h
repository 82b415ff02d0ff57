// What the grammar analysis tells about the failure that stopped it, for the explanations of a
// grammar that is not of the kind the parser needs. The analysis fills it (analysis/trace.h) only
// when one is attached to the record (Language::Trace).
#pragma once

#include <cstdint>
#include <vector>

namespace parvolen {

// The five views of a nonterminal, in the order ViewMakeAll computes them (Follow copies the
// others and is never unfolded).
enum class ViewKind : std::int32_t { First = 1, PureDLRF, DLRF, NLRF };

struct AnalysisTrace {
  // stNotKindAny: the view being computed, the nonterminal entered again with Depth terminals of
  // lookahead still to read, and the edges that led there, outermost first (terminal and
  // nonterminal edges passed, end edges of productions followed; the last one re-enters).
  std::int32_t ViewOwner = 0;
  ViewKind View = ViewKind::First;
  std::int32_t Reentered = 0;
  std::int32_t Depth = 0;
  std::vector<std::int32_t> Steps;

  // stNotKindGiven: the decided list (its first edge), the member that holds the string and the
  // member that claims it as well, and the string itself, level 1 first.
  std::int32_t ChoiceList = 0;
  std::int32_t Holder = 0;
  std::int32_t Claimant = 0;
  std::vector<std::int32_t> Claimed;
};

}  // namespace parvolen
