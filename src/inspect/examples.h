// Short example inputs for explanations: the shortest terminal strings that symbols derive, the
// shortest sentence around a nonterminal, and inputs that bring the parser to a choice point
// with a given terminal coming next. Only the reduced grammar is used (see textbook.h).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "inspect/grammar.h"
#include "inspect/strings.h"
#include "inspect/textbook.h"

namespace parvolen::inspect {

// An input split where the parser stands: what is read before, and the rest from there on.
struct ExampleInput {
  TermString Before;
  TermString After;
  [[nodiscard]] std::size_t Size() const { return Before.size() + After.size(); }
};

// Stands for "whatever comes next" where a next terminal is asked for.
inline constexpr std::int32_t kAnyNext = -1;

class Examples {
 public:
  // ll1: the textbook sets for lookahead 1 (nullability and first terminals).
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
  [[nodiscard]] bool Nullable(const SymbolString& symbols) const;
  const std::vector<std::optional<TermString>>& StartingWith(std::int32_t term);
  void ComputeAround();

  const Grammar& grammar_;
  const LLSets& ll1_;
  std::vector<std::optional<TermString>> shortest_;                          // by nonterminal
  std::map<std::int32_t, std::vector<std::optional<TermString>>> starting_;  // by terminal, nonterminal
  bool aroundDone_ = false;
  std::vector<std::map<std::int32_t, ExampleInput>> around_;  // by nonterminal, next terminal
};

}  // namespace parvolen::inspect
