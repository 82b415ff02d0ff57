// The parser of the embeddable translator, run in place of its generated routines: the same
// decisions (codegen/embedded/decisions.h) taken at the same places of the production tries,
// the same tail loops and tail-call jumps, the same lexer (inspect/input_lexer.h), and the same
// failures with the same places and texts, including the terminals that tail loops left at the
// failing terminal would have taken and the nesting limit. Actions and output terminals are not
// run. It builds the concrete syntax tree of an accepted input.
//
// The routines mirror the generated ones step by step; a failure ends the parse where the
// generated routine returns its status. As in the translator, recovery from errors starts only
// then (inspect/input_recovery.h): it reads the input again with an interpreter of the tries.
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
  // With recovery asked for and the input not accepted: every error the translator reports
  // (NAME_error_count of them, as NAME_error_line_at, _column_at and _text_at give them).
  std::vector<InputFailure> Errors;
};

// Parses the input as the embeddable translator generated from the record would, with the
// decisions and lexicon computed for it, nesting its routines at most maxDepth deep; with
// maxErrors > 0 it recovers from errors as NAME_set_max_errors(p, maxErrors) makes it.
[[nodiscard]] ParseOutcome ParseInput(const Grammar& grammar, const EmbeddedDecisions& decisions,
                                      const regex::Lexicon& lexicon, std::string_view input,
                                      int maxDepth = kEmbeddedDefaultMaxDepth, int maxErrors = 0);

}  // namespace parvolen::inspect
