// The outcome of parvolen-inspect --parse: the syntax tree of an accepted input, or the failure
// as the generated translator reports it, as indented text, one JSON object or a Graphviz graph.
#pragma once

#include <string>

#include "findings/grammar.h"
#include "inspect/input_parser.h"

namespace parvolen::inspect {

// The input's name in messages ("-" for standard input is shown as "stdin").
struct ParsedInput {
  std::string Name;
  const ParseOutcome* Outcome = nullptr;
  bool Recovering = false;  // --max-errors: every error of Outcome->Errors is shown
};

// A node a line, children indented by two blanks (below 40 levels, the level in brackets at the
// deepest indentation): "Name  line N" for a nonterminal with the description line of its
// production, "(terminal) "text"  line:column" for a leaf; on failure the one line
// "NAME:LINE:COLUMN: TEXT" (one such line per error when recovering).
[[nodiscard]] std::string WriteTreeText(const Grammar& grammar, const ParsedInput& input);
// {"input", "accepted", "tree", "error"}: the tree as nested objects, the error null when accepted;
// when recovering also "errors", every error reported as {"line", "column", "text"}.
[[nodiscard]] std::string WriteTreeJson(const Grammar& grammar, const ParsedInput& input);
// The tree as a Graphviz digraph, children in input order; on failure the message as a comment
// and an empty graph.
[[nodiscard]] std::string WriteTreeDot(const Grammar& grammar, const ParsedInput& input);

// "NAME:LINE:COLUMN: TEXT", the failure as a driver of the translator prints it; when recovering,
// such a line for every error.
[[nodiscard]] std::string FailureLine(const ParsedInput& input);

}  // namespace parvolen::inspect
