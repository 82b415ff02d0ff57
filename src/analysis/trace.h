// What the grammar analysis tells about the failure that stopped it, for tools that explain a
// grammar. The analysis fills a trace only when one is attached to the record (Language::Trace);
// the program itself never attaches one, and every call below then does nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "base/status.h"
#include "model/language.h"

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
