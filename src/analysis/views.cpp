#include "analysis/views.h"

#include "analysis/edges.h"
#include "analysis/trace.h"
#include "analysis/view_table.h"
#include "analysis/view_walk.h"
#include "base/console.h"
#include "base/stack_room.h"

namespace parvolen {
namespace {

std::uint8_t& FirstMark(Language* lang, std::int32_t nont, std::int32_t depth) {
  return lang->FirstMarks[nont].Depth[depth];
}
std::uint8_t& FollowMark(Language* lang, std::int32_t nont, std::int32_t depth) {
  return lang->FollowMarks[nont].Depth[depth];
}

Status AddLambda(Language* lang, std::int32_t* slot) {
  std::int32_t view = 0;
  return ViewIns(lang, slot, 0, &view);
}

// A nonterminal edge: the productions of nont are unfolded with the continuation on the stack.
Status EnterNonterminal(Language* lang, const EdgeRec& edge, std::int32_t* slot, std::int32_t d, ContStack& k,
                        bool f) {
  const std::int32_t nont = edge.Code;
  if (nont < 1 || nont > lang->LastNonterminal) return stBadNonterminalCode;
  if (FirstMark(lang, nont, d) != 0) {
    TraceReentry(lang, nont, d);
    return stNotKindAny;
  }
  FirstMark(lang, nont, d) = 1;
  Status st = k.Push(edge.Next);
  if (st == stOk) {
    st = ViewMakeOne(lang, lang->NontTab[nont].ProdEdges, slot, d, k, f);
    std::int32_t popped = 0;
    const Status popStatus = k.Pop(popped);
    if (st == stOk) st = popStatus;
  }
  FirstMark(lang, nont, d) = 0;
  return st;
}

// The end of a production of owner: its left-recursive tails, then the innermost continuation,
// or else what follows the owner (follow flag set) or the end of the string (flag clear).
Status PassProductionEnd(Language* lang, std::int32_t owner, std::int32_t* slot, std::int32_t d,
                         const ContStack& k, bool f) {
  FollowMark(lang, owner, d) = 1;
  ContStack k2;
  Status st = k.CopyTo(k2);
  if (st == stOk) st = ViewMakeOne(lang, lang->NontTab[owner].RecEdges, slot, d, k2, f);
  if (st == stOk) {
    if (!k2.Empty()) {
      std::int32_t top = 0;
      st = k2.Pop(top);
      if (st == stOk) st = ViewMakeOne(lang, top, slot, d, k2, f);
    } else if (f) {
      ContStack none;
      st = ViewMakeOne(lang, lang->NontTab[owner].FolEdges, slot, d, none, f);
    } else {
      st = AddLambda(lang, slot);
    }
  }
  FollowMark(lang, owner, d) = 0;
  return st;
}

// One view of ViewMakeAll: by the walker, or by the plain unfolding where the walker met a failure.
Status MakeView(Language* lang, ViewWalker& walker, std::int32_t edges, std::int32_t* slot, std::int32_t look,
                bool f) {
  bool unfold = false;
  const Status st = walker.Make(edges, slot, look, f, unfold);
  if (!unfold) return st;
  ContStack none;
  return ViewMakeOne(lang, edges, slot, look, none, f);
}

}  // namespace

Status ViewMakeOne(Language* lang, std::int32_t edges, std::int32_t* slot, std::int32_t d, ContStack& k, bool f) {
  if (lang == nullptr || slot == nullptr || !lang->EdgeTab.Exists() || !lang->NontTab.Exists() ||
      !lang->FirstMarks.Exists() || !lang->FollowMarks.Exists()) {
    PrintDiagHeader("ViewMakeOne");
    return stNotAllocated;
  }
  if (Status st = CheckEdge(lang, edges); st != stOk) return st;
  if (d <= 0) return stOk;
  if (d > kMaxLookahead) return stValueTooHigh;
  if (edges == 0) return AddLambda(lang, slot);
  if (StackNearlyFull()) return stNoMem;

  std::int32_t view = 0;  // the view of the last terminal edge: terminal edges come in ascending order
  for (std::int32_t m = edges; m != 0; m = lang->EdgeTab[m].Altr) {
    const EdgeRec& edge = lang->EdgeTab[m];
    Status st = stOk;
    switch (edge.WhoAmI) {
      case kEdgeTerminal: {
        st = ViewIns(lang, slot, edge.Code, &view, view);
        if (st == stOk) st = ViewMakeOne(lang, edge.Next, &lang->ViewTab[view].Next, d - 1, k, f);
        break;
      }
      case kEdgeNonterminal:
        st = EnterNonterminal(lang, edge, slot, d, k, f);
        break;
      case kEdgeEnd: {
        std::int32_t owner = 0;
        if (Status bad = EndOwner(lang, edge.Code, owner); bad != stOk) return bad;
        // Already following this owner's end at this depth: the rest of the list is skipped too.
        if (FollowMark(lang, owner, d) != 0) return stOk;
        st = PassProductionEnd(lang, owner, slot, d, k, f);
        break;
      }
      case kEdgeAction:
      case kEdgeOutput:
        st = ViewMakeOne(lang, edge.Next, slot, d, k, f);
        break;
      default:
        return stBadEdgeType;
    }
    TraceStep(lang, st, m);
    if (st != stOk) return st;
  }
  return stOk;
}

Status ViewMakeAll(Language* lang) {
  if (lang == nullptr || !lang->NontTab.Exists()) {
    PrintDiagHeader("ViewMakeAll");
    return stNotAllocated;
  }
  if (lang->Lookahead > kMaxLookahead) return stValueTooHigh;
  if (!lang->FirstMarks.Exists()) {
    if (Status st = lang->FirstMarks.Allocate(lang->Nonterminals); st != stOk) return st;
  }
  if (!lang->FollowMarks.Exists()) {
    if (Status st = lang->FollowMarks.Allocate(lang->Nonterminals); st != stOk) return st;
  }
  const std::int32_t look = lang->Lookahead < 0 ? 0 : lang->Lookahead;
  ViewWalker walker(lang);
  for (std::int32_t n = 1; n <= lang->LastNonterminal; ++n) {
    NontRec& nont = lang->NontTab[n];

    TraceView(lang, n, ViewKind::First);
    FirstMark(lang, n, look) = 1;
    Status st = MakeView(lang, walker, nont.ProdEdges, &nont.First, look, false);
    FirstMark(lang, n, look) = 0;
    if (st != stOk) return st;

    if (nont.RecEdges != 0) {
      TraceView(lang, n, ViewKind::PureDLRF);
      FollowMark(lang, n, look) = 1;
      st = MakeView(lang, walker, nont.RecEdges, &nont.PureDLRF, look, false);
      FollowMark(lang, n, look) = 0;
      if (st != stOk) return st;
      TraceView(lang, n, ViewKind::DLRF);
      FollowMark(lang, n, look) = 1;
      st = MakeView(lang, walker, nont.RecEdges, &nont.DLRF, look, true);
      FollowMark(lang, n, look) = 0;
      if (st != stOk) return st;
    }

    TraceView(lang, n, ViewKind::NLRF);
    if (Status st2 = MakeView(lang, walker, nont.FolEdges, &nont.NLRF, look, true); st2 != stOk) return st2;
    if (Status st2 = ViewCopyTree(lang, &nont.Follow, nont.DLRF); st2 != stOk) return st2;
    if (Status st2 = ViewCopyTree(lang, &nont.Follow, nont.NLRF); st2 != stOk) return st2;
  }
  return stOk;
}

}  // namespace parvolen

