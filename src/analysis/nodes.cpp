#include "analysis/nodes.h"

#include "analysis/edges.h"
#include "analysis/node_table.h"
#include "analysis/trace.h"
#include "analysis/view_table.h"
#include "base/console.h"
#include "base/stack_room.h"

namespace parvolen {
namespace {

// One NodeFromView call still running, linked to the one that led to it. A call equal to an
// active one would only repeat that one's pass (a recurring list re-entered through its own
// lambda view), so it ends at once.
struct ActiveCall {
  const std::int32_t* slot;
  std::int32_t views;
  std::int32_t chosen;
  std::int32_t lookahead;
  std::int32_t continuation;
  std::int32_t recurring;
  const ActiveCall* caller;

  [[nodiscard]] bool OnPath(const ActiveCall* path) const {
    for (; path != nullptr; path = path->caller) {
      if (path->slot == slot && path->views == views && path->chosen == chosen && path->lookahead == lookahead &&
          path->continuation == continuation && path->recurring == recurring)
        return true;
    }
    return false;
  }
};

Status FromView(Language* lang, const ActiveCall* path, std::int32_t* slot, std::int32_t views,
                std::int32_t chosen, std::int32_t c, std::int32_t continuation, std::int32_t recurring,
                bool tolerant);
Status Wide(Language* lang, const ActiveCall* path, std::int32_t* slot, std::int32_t edges, std::int32_t chosen,
            std::int32_t c);

bool MissingLangOrSlot(const Language* lang, const std::int32_t* slot, const char* header) {
  if (lang != nullptr && slot != nullptr) return false;
  Print(header);
  if (lang == nullptr) Print(" Language handle\n");
  if (slot == nullptr) Print(" Target position\n");
  return true;
}

// The strings of member m, selecting `chosen` (m itself in NodeNarrow). `after` is 0 or a node of
// the slot's list, the node of the previous terminal member (terminal members ascend).
Status AddMember(Language* lang, const ActiveCall* path, std::int32_t* slot, std::int32_t m, std::int32_t chosen,
                 std::int32_t c, const char* header, std::int32_t& after) {
  const EdgeRec& edge = lang->EdgeTab[m];
  switch (edge.WhoAmI) {
    case kEdgeTerminal: {
      std::int32_t node = 0;
      if (Status st = NodeIns(lang, slot, edge.Code, chosen, &node, after); st != stOk) return st;
      if (node == 0) return stOk;
      after = node;
      const Status st = Wide(lang, path, &lang->NodeTab[node].Next, edge.Next, chosen, c - 1);
      TraceClaimedTerm(lang, st, edge.Code);
      return st;
    }
    case kEdgeNonterminal: {
      if (edge.Code < 1 || edge.Code > lang->LastNonterminal) return stBadEdgeCode;
      const NontRec& nont = lang->NontTab[edge.Code];
      return FromView(lang, path, slot, nont.First, chosen, c, edge.Next, nont.PureDLRF, false);
    }
    case kEdgeEnd: {
      std::int32_t owner = 0;
      if (Status bad = EndOwner(lang, edge.Code, owner); bad != stOk) return bad;
      return FromView(lang, path, slot, lang->NontTab[owner].Follow, chosen, c, 0, 0, lang->Extended != 0);
    }
    case kEdgeAction:
    case kEdgeOutput:
      return Wide(lang, path, slot, edge.Next, chosen, c);
    default:
      Print(header);
      return stBadEdgeCode;
  }
}

Status Wide(Language* lang, const ActiveCall* path, std::int32_t* slot, std::int32_t edges, std::int32_t chosen,
            std::int32_t c) {
  if (MissingLangOrSlot(lang, slot, "*** NodeWide ***\n")) return stNotAllocated;
  if (Status st = CheckEdge(lang, edges); st != stOk) return st;
  if (Status st = CheckEdge(lang, chosen); st != stOk) return st;
  if (c <= 0) return stOk;
  if (StackNearlyFull()) return stNoMem;
  std::int32_t after = 0;
  for (std::int32_t m = edges; m != 0; m = lang->EdgeTab[m].Altr) {
    if (Status st = AddMember(lang, path, slot, m, chosen, c, "*** NodeWide ***\n", after); st != stOk) return st;
  }
  return stOk;
}

// The lambda view: the recurring list again, then the continuation, or else the end of input.
Status AddLambda(Language* lang, const ActiveCall& self, std::int32_t* slot, bool tolerant) {
  if (self.recurring != 0) {
    if (Status st = FromView(lang, &self, slot, self.recurring, self.chosen, self.lookahead, self.continuation,
                             self.recurring, tolerant);
        st != stOk)
      return st;
  }
  if (self.continuation != 0) return Wide(lang, &self, slot, self.continuation, self.chosen, self.lookahead);
  if (lang->EoiCode == 0) return stOk;
  std::int32_t node = 0;
  return NodeIns(lang, slot, lang->EoiCode, self.chosen, &node);
}

Status FromView(Language* lang, const ActiveCall* path, std::int32_t* slot, std::int32_t views,
                std::int32_t chosen, std::int32_t c, std::int32_t continuation, std::int32_t recurring,
                bool tolerant) {
  if (MissingLangOrSlot(lang, slot, "*** NodeFromView 1 ***\n")) return stNotAllocated;
  if (!lang->ViewTab.Exists()) {
    Print("*** NodeFromView 2 ***\n View node storage\n");
    return stNotAllocated;
  }
  if (Status st = CheckEdge(lang, chosen); st != stOk) return st;
  if (Status st = CheckEdge(lang, continuation); st != stOk) return st;
  if (Status st = ViewCheck(lang, views); st != stOk) return st;
  if (views == 0 || c <= 0) return stOk;
  const ActiveCall self{slot, views, chosen, c, continuation, recurring, path};
  if (self.OnPath(path)) return stOk;
  if (StackNearlyFull()) return stNoMem;

  std::int32_t after = 0;  // the node of the previous view: the view list ascends
  for (std::int32_t w = views; w != 0; w = lang->ViewTab[w].Altr) {
    if (Status st = ViewCheck(lang, w); st != stOk) return st;
    const ViewRec& view = lang->ViewTab[w];
    if (view.Term == 0) {
      if (Status st = AddLambda(lang, self, slot, tolerant); st != stOk) return st;
      continue;
    }
    std::int32_t* link = NodeSearchStart(lang, slot, after, view.Term);
    while (*link != 0 && lang->NodeTab[*link].Term < view.Term) link = &lang->NodeTab[*link].Altr;
    if (*link != 0 && lang->NodeTab[*link].Term == view.Term) {
      NodeRec& node = lang->NodeTab[*link];
      if (node.Edge != chosen) {
        if (c == 1) {
          // The last level: another member holds this whole string.
          // A preferred member (a preference of the embeddable translator) settles it there.
          if (tolerant || EdgePreferred(*lang, node.Edge) || EdgePreferred(*lang, chosen)) continue;
          TraceConflict(lang, node.Edge, chosen, view.Term);
          return stNotKindGiven;
        }
        node.Edge = 0;  // shared: the next level decides
      }
    } else {
      const std::int32_t greater = *link;
      if (Status st = NodeNew(lang, link); st != stOk) return st;
      lang->NodeTab[*link] = NodeRec{0, greater, view.Term, chosen};
    }
    after = *link;
    const Status st = FromView(lang, &self, &lang->NodeTab[*link].Next, view.Next, chosen, c - 1, continuation,
                               recurring, tolerant);
    TraceClaimedTerm(lang, st, view.Term);
    if (st != stOk) return st;
  }
  return stOk;
}

}  // namespace

Status NodeFromView(Language* lang, std::int32_t* slot, std::int32_t views, std::int32_t chosen, std::int32_t c,
                    std::int32_t continuation, std::int32_t recurring, bool tolerant) {
  return FromView(lang, nullptr, slot, views, chosen, c, continuation, recurring, tolerant);
}

Status NodeWide(Language* lang, std::int32_t* slot, std::int32_t edges, std::int32_t chosen, std::int32_t c) {
  return Wide(lang, nullptr, slot, edges, chosen, c);
}

Status NodeNarrow(Language* lang, std::int32_t* slot, std::int32_t first, std::int32_t c) {
  if (MissingLangOrSlot(lang, slot, "*** NodeNarrow ***\n")) return stNotAllocated;
  if (Status st = CheckEdge(lang, first); st != stOk) return st;
  if (c <= 0) return stOk;
  std::int32_t after = 0;
  for (std::int32_t m = first; m != 0; m = lang->EdgeTab[m].Altr) {
    if (Status st = AddMember(lang, nullptr, slot, m, m, c, "*** NodeNarrow ***\n", after); st != stOk) return st;
  }
  return stOk;
}

Status MakeNodeTree(Language* lang, std::int32_t* slot, std::int32_t edges) {
  if (lang == nullptr || slot == nullptr || !lang->NontTab.Exists()) {
    Print("*** MakeNodeTree ***\n");
    if (lang == nullptr) Print(" Language handle\n");
    if (slot == nullptr) Print(" Target position\n");
    if (lang != nullptr && !lang->NontTab.Exists()) Print(" Nonterminal info space\n");
    return stNotAllocated;
  }
  if (Status st = CheckEdge(lang, edges); st != stOk) return st;
  if (StackNearlyFull()) return stNoMem;
  // One run from the first member adds the strings of every member. Runs from the later members
  // would find every node they reach already made, at the level where it was made, selecting
  // what it selects; so they would add no node, change no member and meet no conflict.
  if (edges != 0 && (lang->AllAheads != 0 || lang->EdgeTab[edges].Altr != 0)) {
    const Status st = NodeNarrow(lang, slot, edges, lang->Lookahead);
    TraceChoice(lang, st, edges);
    if (st != stOk) return st;
  }
  for (std::int32_t m = edges; m != 0; m = lang->EdgeTab[m].Altr) {
    if (Status st = MakeNodeTree(lang, &lang->EdgeTab[m].Node, lang->EdgeTab[m].Next); st != stOk) return st;
  }
  return stOk;
}

Status NodeRebuild(Language* lang) {
  if (lang == nullptr || !lang->NontTab.Exists()) {
    Print("*** NodeRebuild ***\n");
    if (lang == nullptr) Print(" Language handle\n");
    else Print(" Nonterminal info storage\n");
    return stNotAllocated;
  }
  for (std::int32_t n = 1; n <= lang->LastNonterminal; ++n) {
    NontRec& nont = lang->NontTab[n];
    if (Status st = MakeNodeTree(lang, &nont.ProdNodes, nont.ProdEdges); st != stOk) return st;
    if (nont.RecEdges != 0) {
      if (Status st = MakeNodeTree(lang, &nont.RecNodes, nont.RecEdges); st != stOk) return st;
    }
  }
  return stOk;
}

}  // namespace parvolen
