// The grammar model the property test of the embeddable translator relies on: the Earley
// recognizer on grammars whose languages are known, and random derivations that it accepts.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/grammar_model.h"
#include "support/random_grammar.h"

namespace parvolen::testing_grammar {
namespace {

// A grammar in one line: rules "X=alt|alt" separated by blanks, upper-case letters for
// nonterminals (the first rule's is the start), any other character a terminal. Sentences are
// written with the same characters.
struct Compact {
  Grammar grammar;
  std::map<char, int> terminals;

  explicit Compact(const std::string& rules) {
    std::map<char, int> nonterminals;
    const auto nonterminal = [&](char c) {
      auto [it, added] = nonterminals.emplace(c, static_cast<int>(nonterminals.size()));
      return it->second;
    };
    std::size_t at = 0;
    while (at < rules.size()) {
      const std::size_t end = std::min(rules.find(' ', at), rules.size());
      const int lhs = nonterminal(rules[at]);
      std::vector<GrammarSymbol> rhs;
      for (std::size_t i = at + 2; i <= end; ++i) {
        if (i == end || rules[i] == '|') {
          grammar.productions.push_back({lhs, rhs});
          rhs.clear();
        } else if (rules[i] >= 'A' && rules[i] <= 'Z') {
          rhs.push_back({false, nonterminal(rules[i])});
        } else {
          rhs.push_back({true, Terminal(rules[i])});
        }
      }
      at = end + 1;
    }
    grammar.nonterminals = static_cast<int>(nonterminals.size());
    grammar.terminals = static_cast<int>(terminals.size()) + 1;  // one terminal the rules never use
  }

  int Terminal(char c) { return terminals.emplace(c, static_cast<int>(terminals.size())).first->second; }

  [[nodiscard]] Sentence Of(const std::string& text) const {
    Sentence s;
    for (const char c : text) {
      const auto it = terminals.find(c);
      s.push_back(it != terminals.end() ? it->second : grammar.terminals - 1);
    }
    return s;
  }
};

TEST(GrammarModel, EarleyDecidesKnownLanguages) {
  struct Case {
    const char* rules;
    std::vector<std::string> in, out;
  };
  const std::vector<Case> cases = {
      {"S=(S)S|", {"", "()", "(()())()"}, {"(", ")(", "(()", "())("}},
      {"E=E+T|T T=a|(E)", {"a", "a+a+a", "(a+a)+a"}, {"", "a+", "+a", "(a", "aa"}},
      {"S=ABC A=a| B= C=c|", {"", "a", "c", "ac"}, {"ca", "aa", "acc"}},
      {"S=SS|a", {"a", "aaa", "aaaaaaa"}, {"", "b"}},
      {"S=S|a", {"a"}, {"", "aa"}},
      {"S=aSb|", {"", "ab", "aaabbb"}, {"a", "aab", "abab", "ba"}},
      {"S=AS|b A=|a", {"b", "ab", "aaab"}, {"", "a", "bb"}},
      {"S=Xa X=Y Y=X|", {"a"}, {"", "aa"}},
      {"S=aL L=bL|", {"a", "abbb"}, {"", "b", "aab"}},
      {"S=T T=U U=T", {}, {"", "a"}},
  };
  for (const Case& c : cases) {
    const Compact g(c.rules);
    for (const std::string& s : c.in) EXPECT_TRUE(EarleyAccepts(g.grammar, g.Of(s))) << c.rules << " '" << s << "'";
    for (const std::string& s : c.out) EXPECT_FALSE(EarleyAccepts(g.grammar, g.Of(s))) << c.rules << " '" << s << "'";
  }
}

TEST(GrammarModel, ShortestDerivationsEndAndUnproductiveOnesAreMarked) {
  const Compact g("S=aSb|T T=T|cc U=U");
  const ShortestDerivations shortest = FindShortestDerivations(g.grammar);
  EXPECT_EQ(shortest.length, (std::vector<int>{2, 2, -1}));
  EXPECT_EQ(shortest.production[2], -1);
}

// Every sentence derived from a random grammar is one Earley accepts: the derivations and the
// recognizer are written independently, so they check each other.
TEST(GrammarModel, RandomDerivationsAreAcceptedByEarley) {
  int derived = 0;
  for (unsigned seed = 1; seed <= 300; ++seed) {
    const RandomLanguage lang = MakeRandomLanguage(seed);
    const ShortestDerivations shortest = FindShortestDerivations(lang.grammar);
    if (shortest.length[static_cast<std::size_t>(lang.grammar.start)] < 0) continue;
    std::mt19937 rng(seed);
    for (int i = 0; i < 10; ++i) {
      const Sentence s = DeriveLanguageSentence(lang, shortest, rng);
      ASSERT_TRUE(LanguageHolds(lang, s)) << lang.description << "sentence: " << SentenceText(lang, s);
      ++derived;
    }
  }
  EXPECT_GT(derived, 1500);
}

}  // namespace
}  // namespace parvolen::testing_grammar
