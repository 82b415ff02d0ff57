// The grammar as the explaining tool sees it after reading: the productions rebuilt from the
// edge tries, each with its description line, the choice points where productions part, and
// readable texts of terminals, nonterminals and edges.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/language.h"
#include "findings/read_progress.h"

namespace parvolen {

// A symbol of a right side: a terminal or nonterminal (kEdgeTerminal, kEdgeNonterminal).
struct GrammarSymbol {
  std::int32_t Kind;
  std::int32_t Code;
  friend bool operator==(const GrammarSymbol&, const GrammarSymbol&) = default;
};
using SymbolString = std::vector<GrammarSymbol>;

struct Production {
  std::int32_t Number = 0;
  std::int32_t Owner = 0;
  bool LeftRecursive = false;      // stored in RecEdges, without its leading [Owner]
  std::vector<std::int32_t> Path;  // trie edges from the root list down to the end edge
  std::int64_t Line = 0;           // description line; 0 when unknown
  std::string Text;                // the production line
  // A production written out from a line with groups: where each symbol of its plain right
  // side stands in the line, and the part of the line it stands for; empty Symbols otherwise.
  std::vector<TextSpan> Symbols;
  TextSpan Whole;
};

// A list of edges where the parser chooses: two or more members, a decision list, or the root
// of the left-recursive tails (whose loop condition decides even for one member).
struct ChoicePoint {
  std::int32_t Owner = 0;
  bool InTails = false;              // in the trie of the left-recursive tails
  std::vector<std::int32_t> Prefix;  // trie edges leading to the list; empty for a root list
  std::int32_t First = 0;            // first member
  std::int32_t Decision = 0;         // root node of its decision list; 0 for none
  std::vector<std::int32_t> Members;
};

class Grammar {
 public:
  // Rebuilds productions and choice points from the record's tries; line numbers come from
  // the reading's progress record when given.
  Grammar(const Language& lang, const ReadProgress* progress);

  [[nodiscard]] const Language& Lang() const { return lang_; }
  // Indexed by production number; entry 0 is unused.
  [[nodiscard]] const std::vector<Production>& Productions() const { return productions_; }
  [[nodiscard]] const std::vector<ChoicePoint>& Choices() const { return choices_; }

  [[nodiscard]] std::string TermName(std::int32_t term) const;
  [[nodiscard]] std::string NontName(std::int32_t nont) const;
  // An edge as written in a production, "(t)", "[N]", "{a}", "<o>", or "end" for an end edge.
  [[nodiscard]] std::string EdgeText(std::int32_t edge) const;
  // The edges as a run of tokens, end edges left out.
  [[nodiscard]] std::string PathText(const std::vector<std::int32_t>& edges) const;
  // Where a choice point stands, e.g. "at the start", "after (a)[B]", "in the tails, after [E]".
  [[nodiscard]] std::string Where(const ChoicePoint& choice) const;

  // Production numbers whose path runs through the edge (end edges of its subtree), ascending.
  [[nodiscard]] std::vector<std::int32_t> ProductionsBelow(std::int32_t edge) const;
  // The same for an edge of the productions' tries, without a copy; empty for other edges.
  [[nodiscard]] std::span<const std::int32_t> ProductionsThrough(std::int32_t edge) const;
  // The right side's grammar symbols (the leading [Owner] of a left-recursive one included).
  [[nodiscard]] const SymbolString& RightSide(std::int32_t prod) const {  // here: the walks call it often
    if (prod < 1 || static_cast<std::size_t>(prod) >= rights_.size()) return noSymbols_;
    return rights_[static_cast<std::size_t>(prod)];
  }
  // The productions of the nonterminal, ascending.
  [[nodiscard]] const std::vector<std::int32_t>& ProductionsOf(std::int32_t nont) const {
    if (nont < 1 || static_cast<std::size_t>(nont) >= byOwner_.size()) return noProductions_;
    return byOwner_[static_cast<std::size_t>(nont)];
  }
  // The symbols of the production from the edge at its path on (the rest after a choice).
  [[nodiscard]] SymbolString RestFrom(std::int32_t prod, std::int32_t edge) const;
  // The same as a part of RightSide, without a copy.
  [[nodiscard]] std::span<const GrammarSymbol> RestSpan(std::int32_t prod, std::int32_t edge) const;
  // The symbols before the choice point's list in a production below it.
  [[nodiscard]] SymbolString PrefixOf(const ChoicePoint& choice) const;
  // The choice point whose first member is the edge, or nullptr.
  [[nodiscard]] const ChoicePoint* ChoiceAt(std::int32_t first) const;

 private:
  void Walk(std::int32_t owner, std::int32_t root, std::int32_t decision, bool tails);
  [[nodiscard]] bool ValidEdge(std::int32_t edge) const { return edge >= 1 && edge <= lang_.LastEdge; }

  const Language& lang_;
  std::vector<Production> productions_;
  std::vector<ChoicePoint> choices_;
  // By edge e: the productions through it (trie edges), below_[belowStart_[e] .. belowStart_[e + 1]).
  std::vector<std::size_t> belowStart_;
  std::vector<std::int32_t> below_;
  std::vector<SymbolString> rights_;              // by production
  std::vector<std::vector<std::int32_t>> byOwner_;  // by nonterminal
  struct WalkStep {
    std::int32_t edge;
    std::size_t depth;
  };
  std::vector<WalkStep> walkStack_;  // Walk's working state
  std::vector<std::int32_t> walkPath_, walkMembers_;
  SymbolString noSymbols_;
  std::vector<std::int32_t> noProductions_;
};

}  // namespace parvolen
