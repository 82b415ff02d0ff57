// The lexicon of a language for the embeddable translator: every way a piece of input becomes
// a terminal or is skipped, as patterns in priority order, and the one automaton that matches
// them all. Built from the record: keywords, symbols, the lines of [Tokens], and the built-in
// classes (identifiers, numbers, constants, comments, white space) that [Tokens] leaves alone.
//
// Priority at equal match length (the longest match always wins first): comment openers and the
// default white space, then keywords, then symbols, then the lines of [Tokens] in their order,
// then the built-in classes. See note [why comments come first] in lexicon.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/language.h"
#include "regex/automaton.h"
#include "regex/syntax.h"

namespace parvolen::regex {

enum class RuleAction {
  Token,         // the match is a terminal
  Skip,          // white space or a comment: nothing
  Word,          // a word that spells no keyword when there are no identifiers: no terminal
  BlockComment,  // the opening text of a BlockComment: the generated code scans up to its end
};

struct LexRule {
  RuleAction Action = RuleAction::Token;
  std::int32_t Term = 0;      // the terminal of a Token
  std::size_t Trim = 0;       // bytes left out of the text at each end (delimiters of constants)
  bool Lines = false;         // a match may hold line ends, which the lexer then counts
  std::int32_t Def = -1;      // the index in TokenDefs of the line that defined it, -1 when built in
  std::string What;           // how diagnostics name it: "keyword 'if'", "token 'number'", ...
  Tree Pattern;
};

struct Lexicon {
  std::vector<LexRule> Rules;  // in priority order: the index is the rule of the automaton
  Dfa Automaton;
  std::vector<RuleReport> Reports;
};

// Parses the pattern of line `count` of [Tokens] (0-based), with the fragments of the lines
// before it; false with the error.
[[nodiscard]] bool ParseTokenPattern(const Language& lang, std::size_t count, std::string_view pattern, Tree& tree,
                                     SyntaxError& error);

// Builds the rules and the automaton. stOk; stTooManySymbNodes when the automaton exceeds the
// limits (blamed: the index of the rule to blame); stUnknownTerminal for a pattern that no longer
// parses (the reader checked them, so only for a record filled otherwise).
[[nodiscard]] Status BuildLexicon(const Language& lang, Lexicon& lexicon, std::int32_t& blamed);

// The terminals that the lexicon gives: lexed[t] for t in 0..LastTerminal.
[[nodiscard]] std::vector<bool> LexedTerminals(const Lexicon& lexicon, const Language& lang);

}  // namespace parvolen::regex
