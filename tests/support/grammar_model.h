// A context-free grammar held apart from the generator's own reading of a description: an
// Earley recognizer decides membership of a terminal string, and random derivations and
// mutations give the sentences a property test feeds to a generated translator.
#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace parvolen::testing_grammar {

// A symbol of a right-hand side: terminal t (0 <= t < terminals) or nonterminal n.
struct GrammarSymbol {
  bool terminal = true;
  int index = 0;
};

struct Production {
  int lhs = 0;
  std::vector<GrammarSymbol> rhs;
};

struct Grammar {
  int terminals = 0;
  int nonterminals = 0;
  int start = 0;
  std::vector<Production> productions;
};

using Sentence = std::vector<int>;  // terminal numbers

// Whether the grammar derives the sentence from its start symbol (Earley, with the nullable
// nonterminals advanced over at prediction so that empty productions need no special pass).
[[nodiscard]] bool EarleyAccepts(const Grammar& g, const Sentence& sentence);

// For each nonterminal, a production that ends a derivation soonest: following these from any
// productive nonterminal reaches a terminal string of the shortest length (-1: unproductive).
struct ShortestDerivations {
  std::vector<int> length;      // per nonterminal, -1 when it derives no terminal string
  std::vector<int> production;  // per nonterminal, the production to take, -1 when unproductive
};
[[nodiscard]] ShortestDerivations FindShortestDerivations(const Grammar& g);

// A random sentence of the start symbol: productions chosen at random among the productive ones
// up to the depth or once the sentence has grown to about maxLength, the shortest ones beyond.
// Empty result when the start symbol derives nothing (check FindShortestDerivations first).
[[nodiscard]] Sentence DeriveRandomSentence(const Grammar& g, const ShortestDerivations& shortest,
                                            std::mt19937& rng, int maxDepth, std::size_t maxLength);

// One small edit of a non-empty sentence: a terminal dropped, doubled, swapped with its right
// neighbour or replaced by another of the numbers in `alphabet`. `kind` tells which.
struct Mutation {
  Sentence sentence;
  std::string kind;
};
[[nodiscard]] Mutation MutateSentence(const Sentence& sentence, const std::vector<int>& alphabet, std::mt19937& rng);

// The productions in a compact notation for diagnostics: "N0 ::= t1 N2".
[[nodiscard]] std::string GrammarText(const Grammar& g);

}  // namespace parvolen::testing_grammar
