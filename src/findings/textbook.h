// The textbook LL(k) sets of the grammar, computed beside the analysis's own views: FIRST_k and
// FOLLOW_k of every nonterminal as fixpoints over the productions of the reduced grammar (the
// productions whose symbols all derive terminal strings, their owners reachable from the
// starting symbol). In FOLLOW_k a string shorter than k ends with the end of the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "findings/grammar.h"
#include "findings/packed_strings.h"
#include "findings/strings.h"
#include "findings/term_bits.h"

namespace parvolen {

struct UselessSymbols;

// Most strings and steps of string concatenation that one computation may take; past it the
// sets are given up (large lookaheads over many terminals can grow without practical bound).
inline constexpr std::size_t kTextbookBudget = 5'000'000;

class LLSets {
 public:
  // Strings of at most one terminal, as the terminals' numbers (0 for λ), ascending.
  using Leads = std::vector<std::int32_t>;

  // How the sets are held while computed: Fast takes TermBits for k = 1 where the terminals fit,
  // else Leads, and packed keys for larger k where the terminals fit; Lists takes Leads for k = 1
  // in any case; Plain takes StringSet throughout, and a work list that takes every production
  // again one by one (the model that the others are checked against). All give the same
  // outcome, for the same steps.
  enum class Form { Fast, Lists, Plain };

  // Computes the sets for lookahead k (1 to 5); Complete() is false when the budget ran out.
  // `useless`, when given, is FindUseless(grammar), whose productive nonterminals are taken.
  LLSets(const Grammar& grammar, std::int32_t k, std::size_t budget = kTextbookBudget, Form form = Form::Fast,
         const UselessSymbols* useless = nullptr);

  [[nodiscard]] std::int32_t K() const { return k_; }
  [[nodiscard]] bool Complete() const { return complete_; }
  // The steps of the budget not yet taken (FirstOf and Then take steps too).
  [[nodiscard]] std::size_t BudgetLeft() const { return budget_; }
  [[nodiscard]] bool Productive(std::int32_t nont) const { return Flag(productive_, nont); }
  [[nodiscard]] bool Reachable(std::int32_t nont) const { return Flag(reachable_, nont); }
  // Whether production p belongs to the reduced grammar.
  [[nodiscard]] bool Useful(std::int32_t prod) const { return Flag(useful_, prod); }
  [[nodiscard]] const StringSet& First(std::int32_t nont) const;
  [[nodiscard]] const StringSet& Follow(std::int32_t nont) const;
  // FIRST_k of a symbol string, then cut to k after `tail` is appended ({λ} as tail: none).
  [[nodiscard]] StringSet FirstOf(const SymbolString& symbols, const StringSet& tail) const;
  // a ⊕k b: each string of a followed by each of b, cut to k; empty when the budget runs out.
  [[nodiscard]] StringSet Then(const StringSet& a, const StringSet& b) const;
  // The first terminals (0 for λ) of FirstOf(symbols, FOLLOW_k(followOf)), or of
  // FirstOf(symbols, {λ}) without followOf; the same steps of the budget.
  [[nodiscard]] Leads FirstLeads(std::span<const GrammarSymbol> symbols, std::optional<std::int32_t> followOf) const;
  // The same appended to `out`, which keeps its room from call to call.
  void AddFirstLeads(std::span<const GrammarSymbol> symbols, std::optional<std::int32_t> followOf, Leads& out) const;
  // Whether k = 1 is held as bits; then the same terminals as bits, added to `out`, for the same
  // steps (false and nothing added in other forms).
  [[nodiscard]] bool HeldAsBits() const { return bits_; }
  bool AddFirstBits(std::span<const GrammarSymbol> symbols, std::optional<std::int32_t> followOf, TermBits& out) const;

 private:
  [[nodiscard]] static bool Flag(const std::vector<std::uint8_t>& flags, std::int32_t i) {
    return i >= 0 && static_cast<std::size_t>(i) < flags.size() && flags[static_cast<std::size_t>(i)] != 0;
  }
  // The sets of a nonterminal as StringSet; made from the form they were computed in, when
  // first asked for.
  const StringSet& Shown(std::vector<StringSet>& sets, const std::vector<TermBits>& bits,
                         const std::vector<Leads>& leads, const std::vector<PackedSet>& packed, std::size_t at,
                         std::int32_t i) const;
  // The FIRST sets of all nonterminals as StringSet.
  const std::vector<StringSet>& AllFirst() const;
  // The computation works on any form of a set: StringSet, TermBits for k = 1, or PackedSet.
  // a ⊕k b, into the empty out; false when the budget runs out. `readsB` (when given) is set when
  // a string of a is shorter than k, so that the outcome depends on b.
  template <class Set>
  bool Concat(const Set& a, const Set& b, Set& out, bool* readsB = nullptr) const;
  // FirstOf over the given FIRST sets, noting in `read` (when given) each nonterminal whose set
  // the outcome depends on.
  template <class Set>
  [[nodiscard]] Set FirstOfNoting(std::span<const GrammarSymbol> symbols, const Set& tail,
                                  const std::vector<Set>& first, std::vector<std::int32_t>* read) const;
  // FirstOfNoting for Leads, the result in a scratch set (nullptr for none).
  const Leads* LeadsOf(std::span<const GrammarSymbol> symbols, const Leads& tail, const std::vector<Leads>& first,
                       std::vector<std::int32_t>* read) const;
  // Takes `cost` steps of the budget at once, as a computation that spends them would; false
  // when that computation would have run out of budget on the way.
  bool Spend(std::size_t cost) const;
  // The reduced grammar, and largest_.
  void FindUseful(const Grammar& grammar, const UselessSymbols* useless);
  template <class Set>
  void ComputeFirst(const Grammar& grammar, std::vector<Set>& first);
  template <class Set>
  void ComputeFollow(const Grammar& grammar, const std::vector<Set>& first, std::vector<Set>& follow);
  // Both kinds of sets in one form, for `nonts` nonterminals; all empty when the budget ran out.
  template <class Set>
  void ComputeSets(const Grammar& grammar, std::size_t nonts, std::vector<Set>& first, std::vector<Set>& follow);

  std::int32_t k_;
  bool complete_ = true;
  mutable std::size_t budget_;
  // When the sets are computed as packed keys (shown_ then tells which of first_ and follow_
  // are made from them), and the sets between the symbols of FirstOfNoting.
  std::optional<PackedShape> shape_;
  std::vector<PackedSet> firstK_, followK_;
  mutable PackedSet keyScratch_[2];
  bool plain_ = false;  // Form::Plain
  bool bits_ = false;   // k = 1 computed as TermBits
  std::vector<std::uint8_t> productive_, reachable_, useful_;  // bytes: read often
  std::int32_t largest_ = 0;
  // While the sets are computed: FindUseless's findings when given (and fitting the grammar).
  const UselessSymbols* given_ = nullptr;  // the largest terminal number on the right sides, or -1 when one is negative
  mutable std::vector<StringSet> first_, follow_;
  std::vector<TermBits> firstBits_, followBits_;  // k = 1 as bits
  std::vector<Leads> first1_, follow1_;           // k = 1 as terminal numbers
  mutable std::vector<bool> shown_;  // which of first_ and then follow_ are made from another form
  mutable TermBits bitScratch_;      // k = 1: the sets between the symbols of FirstOfNoting
  mutable Leads scratch_[2];
  StringSet empty_;
};

// What follows the nonterminal where it is not the leading symbol of its own left-recursive
// productions: the strings that end its tail loop (the empty string: the end of the input).
[[nodiscard]] StringSet LoopExit(const Grammar& grammar, const LLSets& sets, std::int32_t nont);

}  // namespace parvolen
