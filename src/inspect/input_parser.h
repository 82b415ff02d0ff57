// The parser of the embeddable translator, run in place of its generated routines: the same
// decisions (codegen/embedded/decisions.h) taken at the same places of the production tries,
// the same tail loops and tail-call jumps, the same lexer (inspect/input_lexer.h), and the same
// failures with the same places and texts, including the terminals that tail loops left at the
// failing terminal would have taken and the nesting limit. Actions and output terminals are not
// run. It builds the concrete syntax tree of an accepted input.
//
// The routines mirror the generated ones step by step; a failure ends the parse where the
// generated routine returns its status. Recovery from a syntax error, when the generated parser
// learns it, belongs in one place here too: InputParser::Unexpected, which every failed decision
// and match goes through, with what the choice expected and the routines still open.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/embedded/decisions.h"
#include "codegen/embedded/header.h"
#include "findings/grammar.h"
#include "inspect/input_lexer.h"
#include "regex/lexicon.h"

namespace parvolen::inspect {

// A node of the syntax tree: a nonterminal with the production taken, or a terminal (a leaf).
struct SyntaxNode {
  std::int32_t Nonterminal = 0;  // 0 for a leaf
  std::int32_t Production = 0;   // 0 while (or when) unknown
  std::int32_t Terminal = 0;     // a leaf's terminal, the end code for the end of the input
  std::string Text;
  int Line = 0;
  int Column = 0;
  std::int32_t Parent = -1;
  std::vector<std::int32_t> Children;  // indexes into the tree's nodes
};

struct SyntaxTree {
  std::vector<SyntaxNode> Nodes;
  std::int32_t Root = -1;
};

struct ParseOutcome {
  bool Accepted = false;
  SyntaxTree Tree;        // complete when accepted
  InputFailure Failure;   // when not accepted
};

// Parses the input as the embeddable translator generated from the record would, with the
// decisions and lexicon computed for it, nesting its routines at most maxDepth deep.
[[nodiscard]] ParseOutcome ParseInput(const Grammar& grammar, const EmbeddedDecisions& decisions,
                                      const regex::Lexicon& lexicon, std::string_view input,
                                      int maxDepth = kEmbeddedDefaultMaxDepth);

}  // namespace parvolen::inspect
