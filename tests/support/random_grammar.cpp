#include "support/random_grammar.h"

#include <algorithm>

namespace parvolen::testing_grammar {
namespace {

// Symbol shapes that blanks keep apart, among them one that begins another.
const std::vector<std::string> kSymbolShapes = {"+", "-", "*", "<", "<=", ";", ",", "("};

class GrammarMaker {
 public:
  explicit GrammarMaker(unsigned seed) : rng_(seed) {}

  RandomLanguage Make() {
    RandomLanguage lang;
    const int keywords = Pick(1, 6);
    const int symbols = Chance(0.5) ? Pick(1, 2) : 0;
    const int nonterminals = Pick(1, 6);
    const bool withEnd = Chance(0.4);
    Grammar& g = lang.grammar;
    g.terminals = keywords + symbols + (withEnd ? 1 : 0);
    g.nonterminals = nonterminals + (withEnd ? 1 : 0);

    std::vector<std::string> names;  // terminal names in the description
    for (int k = 1; k <= keywords; ++k) {
      names.push_back("t" + std::to_string(k));
      lang.spellings.push_back(names.back());
    }
    std::vector<std::string> shapes = kSymbolShapes;
    std::shuffle(shapes.begin(), shapes.end(), rng_);
    for (int s = 1; s <= symbols; ++s) {
      names.push_back("s" + std::to_string(s));
      lang.spellings.push_back(shapes[static_cast<std::size_t>(s - 1)]);
    }
    for (int t = 0; t < keywords + symbols; ++t) lang.alphabet.push_back(t);

    // Now and then one nonterminal (not the first) derives no finite terminal string, so that
    // the productions that use it can never complete.
    const int useless = nonterminals > 1 && Chance(0.25) ? Pick(1, nonterminals - 1) : -1;
    for (int n = 0; n < nonterminals; ++n) AddAlternatives(g, n, nonterminals, n == useless);
    g.start = 0;
    if (withEnd) {
      lang.endOfInput = g.terminals - 1;
      names.push_back("eoi");
      lang.spellings.emplace_back();
      g.start = nonterminals;
      g.productions.push_back({g.start, {{false, 0}, {true, lang.endOfInput}}});
    }
    std::shuffle(g.productions.begin(), g.productions.end(), rng_);
    lang.lookahead = Pick(1, 5);
    lang.description = Describe(lang, names, keywords, symbols);
    return lang;
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < p; }

  // Mostly a nonterminal declared after n, so that most grammars have no cycle without terminals.
  GrammarSymbol AnySymbol(int n, int terminals, int nonterminals) {
    if (Chance(0.55) || (n + 1 >= nonterminals && Chance(0.5))) return {true, Pick(0, terminals - 1)};
    if (n + 1 < nonterminals && Chance(0.75)) return {false, Pick(n + 1, nonterminals - 1)};
    return {false, Pick(0, nonterminals - 1)};
  }

  void AddSymbols(std::vector<GrammarSymbol>& rhs, int count, int n, int terminals, int nonterminals) {
    for (int i = 0; i < count; ++i) rhs.push_back(AnySymbol(n, terminals, nonterminals));
  }

  // One to four productions of nonterminal n, each of one of the shapes the analysis must get
  // right; a useless one gets productions that all need n again.
  void AddAlternatives(Grammar& g, int n, int nonterminals, bool useless) {
    const int terminals = g.terminals - (g.nonterminals > nonterminals ? 1 : 0);  // never end of input
    std::vector<std::vector<GrammarSymbol>> alternatives;
    for (int a = Pick(1, 4); a > 0; --a) {
      std::vector<GrammarSymbol> rhs;
      const double r = std::uniform_real_distribution<double>(0.0, 1.0)(rng_);
      if (r < 0.12) {
        // an empty production
      } else if (r < 0.25) {
        rhs.push_back({false, n});  // left recursion
        AddSymbols(rhs, Pick(1, 3), n, terminals, nonterminals);
      } else if (r < 0.40) {
        rhs = {{true, Pick(0, terminals - 1)}, {false, n}};  // right-recursive list
      } else if (r < 0.55 && !alternatives.empty()) {
        const auto& earlier = alternatives[static_cast<std::size_t>(Pick(0, static_cast<int>(alternatives.size()) - 1))];
        rhs.assign(earlier.begin(), earlier.begin() + Pick(0, static_cast<int>(earlier.size())));  // shared prefix
        AddSymbols(rhs, Pick(0, 2), n, terminals, nonterminals);
      } else {
        AddSymbols(rhs, Pick(1, 4), n, terminals, nonterminals);
      }
      if (!Repeated(alternatives, rhs)) alternatives.push_back(rhs);
    }
    // One production that uses later nonterminals only keeps most grammars productive.
    const bool grounded = std::any_of(alternatives.begin(), alternatives.end(), [&](const auto& rhs) {
      return std::all_of(rhs.begin(), rhs.end(), [&](GrammarSymbol s) { return s.terminal || s.index > n; });
    });
    if (!grounded && !useless) {
      alternatives.emplace_back();
      for (int i = Pick(1, 2); i > 0; --i) alternatives.back().push_back({true, Pick(0, terminals - 1)});
    }
    std::vector<std::vector<GrammarSymbol>> kept;
    for (auto& rhs : alternatives) {
      if (useless && rhs.empty()) rhs.push_back({true, Pick(0, terminals - 1)});
      if (useless && std::none_of(rhs.begin(), rhs.end(), [&](GrammarSymbol s) { return !s.terminal && s.index == n; }))
        rhs.insert(rhs.begin() + Pick(0, static_cast<int>(rhs.size())), {false, n});
      if (!Repeated(kept, rhs)) kept.push_back(std::move(rhs));
    }
    for (auto& rhs : kept) g.productions.push_back({n, std::move(rhs)});
  }

  static bool Repeated(const std::vector<std::vector<GrammarSymbol>>& alternatives, const std::vector<GrammarSymbol>& rhs) {
    return std::any_of(alternatives.begin(), alternatives.end(), [&](const auto& other) {
      return other.size() == rhs.size() && std::equal(other.begin(), other.end(), rhs.begin(), [](auto x, auto y) {
               return x.terminal == y.terminal && x.index == y.index;
             });
    });
  }

  std::string Describe(const RandomLanguage& lang, const std::vector<std::string>& names, int keywords,
                       int symbols) {
    const Grammar& g = lang.grammar;
    const bool withEnd = lang.endOfInput >= 0;
    const auto nonterminalName = [&](int n) { return withEnd && n == g.start ? std::string("S") : "N" + std::to_string(n); };
    std::string text = "Random grammar of a property test.\n[Language]\nName = Random\n";
    text += "StartingSymbol = " + nonterminalName(g.start) + "\n";
    text += "Lookahead = " + std::to_string(lang.lookahead) + "\nExtended = no\n";
    if (withEnd) text += "EofName = eoi\n";
    text += "Terminals = " + std::to_string(g.terminals + 1) + "\nNonterminals = " +
            std::to_string(g.nonterminals + 1) + "\nProductions = " + std::to_string(g.productions.size() + 1) +
            "\nKeywords = " + std::to_string(keywords + 1) + "\nSymbNodes = 64\nEdges = 2000\nViews = 40000\n" +
            "Nodes = 20000\n[Terminals]\n";
    for (const std::string& name : names) text += name + "\n";
    text += "[Nonterminals]\n";
    for (int n = 0; n < g.nonterminals; ++n) text += nonterminalName(n) + "\n";
    text += "[Productions]\n";
    for (const Production& p : g.productions) {
      text += nonterminalName(p.lhs) + " ::= ";
      for (const GrammarSymbol& s : p.rhs)
        text += s.terminal ? "(" + names[static_cast<std::size_t>(s.index)] + ")" : "[" + nonterminalName(s.index) + "]";
      text += "\n";
    }
    text += "[Keywords]\n";
    for (int k = 0; k < keywords; ++k) text += names[static_cast<std::size_t>(k)] + " = " + lang.spellings[static_cast<std::size_t>(k)] + "\n";
    if (symbols > 0) text += "[Symbols]\n";
    for (int s = keywords; s < keywords + symbols; ++s)
      text += names[static_cast<std::size_t>(s)] + " = " + lang.spellings[static_cast<std::size_t>(s)] + "\n";
    return text;
  }

  std::mt19937 rng_;
};

}  // namespace

RandomLanguage MakeRandomLanguage(unsigned seed) { return GrammarMaker(seed).Make(); }

bool LanguageHolds(const RandomLanguage& lang, const Sentence& sentence) {
  if (lang.endOfInput < 0) return EarleyAccepts(lang.grammar, sentence);
  Sentence ended = sentence;
  ended.push_back(lang.endOfInput);
  return EarleyAccepts(lang.grammar, ended);
}

Sentence DeriveLanguageSentence(const RandomLanguage& lang, const ShortestDerivations& shortest, std::mt19937& rng) {
  Sentence sentence = DeriveRandomSentence(lang.grammar, shortest, rng, 12, 24);
  if (lang.endOfInput >= 0 && !sentence.empty()) sentence.pop_back();  // the start production ends with it
  return sentence;
}

std::string SentenceText(const RandomLanguage& lang, const Sentence& sentence) {
  std::string text;
  for (const int t : sentence) {
    if (!text.empty()) text += ' ';
    text += lang.spellings[static_cast<std::size_t>(t)];
  }
  return text;
}

}  // namespace parvolen::testing_grammar
