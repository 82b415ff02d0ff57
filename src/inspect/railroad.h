// Railroad diagrams of the nonterminals, drawn from their production tries: a run of edges is a
// sequence, a list of two or more edges is a choice (the parser's own choice point), an end edge
// beside others is the empty alternative, and the tails of the left-recursive productions are a
// loop after the rest. Laid out in whole pixels, with a text dump for tests and an SVG form.
//
//   RailMarks marks;                        // badges on choice points, by their first edge
//   RailDiagram d = MakeRailDiagram(grammar, n, marks);
//   std::string svg = RailSvg(d);           // <svg>...</svg>, names linked to #t<terminal> and #n<nonterminal>
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "findings/grammar.h"

namespace parvolen::inspect {

enum class RailKind { Terminal, Nonterminal, Action, Output, Skip, Sequence, Choice, Loop };

// A badge on a choice point: a short text in a circle, linked to where it is explained.
struct RailMark {
  std::string Badge;  // e.g. "!" or "2"
  std::string Href;   // e.g. "#w3"
  std::string Title;  // shown when the pointer rests on it
  bool Warn = false;  // drawn as a warning, else as a note
};
using RailMarks = std::unordered_map<std::int32_t, RailMark>;

struct RailNode {
  RailKind Kind = RailKind::Skip;
  std::string Label;      // an item as written: "(t)", "[N]", "{a}", "<o>"
  std::string Name;       // its name alone
  std::int32_t Code = 0;  // the item's terminal, nonterminal, action or output number
  std::int32_t First = 0;          // Choice and Loop: the first edge of their choice point, 0 for none
  const RailMark* Mark = nullptr;  // the badge of that choice point, if any
  std::vector<RailNode> Items;     // Sequence: in order; Choice: branches, main line first; Loop: its body
  // Layout: the node's main line enters at (X, Y) and leaves at (X + Width, Y); it takes Up
  // pixels above that line and Down below.
  int X = 0, Y = 0, Width = 0, Up = 0, Down = 0;
};

struct RailDiagram {
  std::int32_t Nonterminal = 0;
  std::string Name;
  RailNode Root;
  int Width = 0, Height = 0;  // of the whole picture, margins and end marks included
};

// The diagram of nonterminal n, laid out; marks must outlive it.
[[nodiscard]] RailDiagram MakeRailDiagram(const Grammar& grammar, std::int32_t n, const RailMarks& marks);

// One line per node, indented by depth: kind, label, place and size.
[[nodiscard]] std::string RailDump(const RailDiagram& diagram);

// The diagram as an inline SVG element.
[[nodiscard]] std::string RailSvg(const RailDiagram& diagram);

}  // namespace parvolen::inspect
