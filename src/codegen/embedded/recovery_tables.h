// The tables that the recovery of the embeddable translator interprets: the edges of the tries of
// the routines written, the decisions of their lists and tail loops as nodes and arcs, and where
// each routine begins. codegen/embedded/recovery.cpp writes them into NAME.c; parvolen-inspect
// interprets the same tables (inspect/input_recovery.h), so both recover alike.
#pragma once

#include <cstdint>
#include <vector>

#include "base/status.h"
#include "codegen/embedded/decisions.h"
#include "model/language.h"

namespace parvolen {

enum class RecEdgeKind : std::uint8_t {
  End,   // nothing: the end of a production
  Term,  // a terminal to match
  Call,  // a call of a nonterminal's routine
  Skip,  // an action or output terminal (not run while recovering)
  Jump,  // a call of the routine's own nonterminal in tail position: the routine starts again
};

// A decision without arcs takes its member: an edge, or one of these.
inline constexpr int kRecLeave = -1;  // the tail loop is left
inline constexpr int kRecNone = -2;   // nothing is selected: a syntax error

struct RecTableEdge {
  RecEdgeKind Kind = RecEdgeKind::End;
  std::int32_t Code = 0;  // the terminal or nonterminal
  int Next = -1;          // the next edge, or
  int NextNode = -1;      // the decision of the next list; neither: the routine's tail loop
};

struct RecTableNode {
  int Member = kRecNone;  // without arcs: an edge, kRecLeave or kRecNone
  int Arc = 0;            // the first of its arcs, by the terminal at its level
  int Arcs = 0;
};

struct RecTableArc {
  std::int32_t Term = 0;  // as the decision names it: 0 may stand for the end of the input
  int Node = 0;
};

struct RecTableNont {
  int Edge = -1;  // where the routine begins: an edge, a decision, else its tail loop
  int Node = -1;
  int Loop = -1;  // the decision of its tail loop, or -1
};

struct RecoveryTables {
  std::vector<RecTableEdge> Edges;  // numbered compactly, in the order the tries are walked
  std::vector<RecTableNode> Nodes;
  std::vector<RecTableArc> Arcs;
  std::vector<RecTableNont> Nonts;  // by nonterminal code; a routine not written begins nowhere
};

// The tables of the routines of the nonterminals marked (RoutineUse::Nonterminals). A corrupt
// trie gives the status of the faulty index.
[[nodiscard]] Status BuildRecoveryTables(const Language& lang, const EmbeddedDecisions& decisions,
                                         const std::vector<bool>& nonterminals, RecoveryTables& tables);

}  // namespace parvolen
