// Random language descriptions for the property tests of generated translators: each one is a
// description text and the same grammar as a model (support/grammar_model.h), with the text a
// sentence's terminals are written as. Seeded and deterministic.
#pragma once

#include <string>
#include <vector>

#include "support/grammar_model.h"

namespace parvolen::testing_grammar {

// A grammar over keywords t1, t2, ... (the words themselves) and a few symbols, with lookahead
// 1 to 5, left recursion, empty productions, right-recursive lists, shared prefixes, now and
// then a nonterminal that derives no finite terminal string, Extended off, no identifiers or numbers, and an end-of-input terminal in some of them. The capacities
// are generous so that reading does not fail on "Too many".
struct RandomLanguage {
  std::string description;
  Grammar grammar;
  std::vector<std::string> spellings;  // per terminal, how a sentence writes it
  std::vector<int> alphabet;           // the terminals a sentence holds (all but end of input)
  int endOfInput = -1;                 // the terminal of EofName, which ends every sentence, or -1
  int lookahead = 1;
};

[[nodiscard]] RandomLanguage MakeRandomLanguage(unsigned seed);

// Whether the language holds the sentence (its end-of-input terminal implied).
[[nodiscard]] bool LanguageHolds(const RandomLanguage& lang, const Sentence& sentence);

// A random sentence of the language without its end-of-input terminal; empty when the start
// symbol derives nothing.
[[nodiscard]] Sentence DeriveLanguageSentence(const RandomLanguage& lang, const ShortestDerivations& shortest,
                                              std::mt19937& rng);

// The sentence as input text: the spellings separated by blanks.
[[nodiscard]] std::string SentenceText(const RandomLanguage& lang, const Sentence& sentence);

}  // namespace parvolen::testing_grammar
