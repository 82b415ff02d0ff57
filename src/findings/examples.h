// Short example inputs for explanations: the shortest terminal strings that symbols derive, the
// shortest sentence around a nonterminal, and inputs that bring the parser to a choice point
// with a given terminal coming next. Only the reduced grammar is used (see textbook.h).
#pragma once

#include <cstdint>
#include <map>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "findings/grammar.h"
#include "findings/strings.h"
#include "findings/textbook.h"

namespace parvolen {

// An input split where the parser stands: what is read before, and the rest from there on.
struct ExampleInput {
  TermString Before;
  TermString After;
  [[nodiscard]] std::size_t Size() const { return Before.size() + After.size(); }
};

// Stands for "whatever comes next" where a next terminal is asked for.
inline constexpr std::int32_t kAnyNext = -1;

// The longest example given; a longer one counts as none.
inline constexpr std::size_t kMaxExample = 10000;

class Examples {
 public:
  // ll1: the textbook sets for lookahead 1 (the reduced grammar and first terminals). The
  // shortest strings are found when the first example is asked for.
  Examples(const Grammar& grammar, const LLSets& ll1);

  // The shortest terminal string the symbols derive; none when some symbol derives nothing.
  [[nodiscard]] std::optional<TermString> Shortest(const SymbolString& symbols) const;
  // The shortest one that begins with the terminal.
  [[nodiscard]] std::optional<TermString> ShortestStartingWith(const SymbolString& symbols, std::int32_t term);
  // The shortest sentence around the nonterminal, split at it, whose part after it begins with
  // `next` (0: is empty, the end of the input; kAnyNext: anything).
  [[nodiscard]] std::optional<ExampleInput> Around(std::int32_t nont, std::int32_t next);
  // An input that reaches the choice point with `next` coming (0: the end of the input) where
  // the textbook parser must take the member; split at the choice point.
  [[nodiscard]] std::optional<ExampleInput> AtChoice(const ChoicePoint& choice, std::int32_t member,
                                                     std::int32_t next);
  // The shortest input read before the parser reaches the choice point.
  [[nodiscard]] std::optional<TermString> Reaching(const ChoicePoint& choice);

 private:
  // Shortest strings that begin with one terminal: length and the (production, position)
  // whose symbol there begins it, by nonterminal.
  struct StartTable {
    std::vector<std::int64_t> Length;
    std::vector<std::pair<std::int32_t, std::size_t>> From;
  };
  // How a context of a nonterminal was reached: from the context `from` of the owner of an
  // occurrence, keeping its next terminal (term 0) or beginning the rest with `term`.
  struct Step {
    std::int64_t Cost;
    std::int64_t From;
    std::int32_t Occurrence;
    std::int32_t Term;
  };
  struct Occurrence {
    std::int32_t Owner;
    std::int32_t Nont;
    std::int32_t Prod;
    std::size_t Position;
    std::int64_t BeforeLength;
    bool RestNullable;
    std::vector<std::pair<std::int32_t, std::int64_t>> Firsts;  // next terminal, length of the rest
  };

  void Prepare() const;
  [[nodiscard]] std::int64_t Length(const SymbolString& symbols) const;
  [[nodiscard]] bool Expand(const SymbolString& symbols, TermString& out) const;
  const StartTable& StartingWith(std::int32_t term);
  // Length of the shortest string of the symbols that begins with term, and the position of
  // the symbol it begins in.
  std::int64_t StartLength(const SymbolString& symbols, std::int32_t term, std::size_t& position);
  bool ExpandStarting(const SymbolString& symbols, std::int32_t term, TermString& out);
  void ComputeAround();
  [[nodiscard]] std::optional<ExampleInput> Rebuild(std::int64_t state);
  [[nodiscard]] std::int64_t State(std::int32_t nont, std::int32_t next) const;

  const Grammar& grammar_;
  const LLSets& ll1_;
  std::size_t nonts_;
  // Made by Prepare.
  mutable bool prepared_ = false;
  mutable std::vector<std::int64_t> shortLength_;  // by nonterminal
  mutable std::vector<std::int32_t> shortProd_;    // the production that gives it
  mutable std::vector<std::vector<std::pair<std::int32_t, std::size_t>>> startUses_;  // nonterminal at a start position
  mutable std::map<std::int32_t, std::vector<std::pair<std::int32_t, std::size_t>>> startTerms_;  // terminal at one
  std::map<std::int32_t, StartTable> starting_;
  bool aroundDone_ = false;
  std::vector<Occurrence> occurrences_;
  std::map<std::int64_t, Step> around_;  // by state: nonterminal and next terminal
};

}  // namespace parvolen
