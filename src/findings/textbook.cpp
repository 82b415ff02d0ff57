#include "findings/textbook.h"

#include <algorithm>

namespace parvolen {
namespace {

bool SetIsGrowing(StringSet& target, const StringSet& more) {
  const std::size_t before = target.size();
  target.insert(more.begin(), more.end());
  return target.size() != before;
}

}  // namespace

LLSets::LLSets(const Grammar& grammar, std::int32_t k, std::size_t budget)
    : k_(std::clamp(k, 1, 5)), budget_(budget) {
  const std::size_t nonts = static_cast<std::size_t>(std::max(grammar.Lang().LastNonterminal, 0)) + 1;
  first_.resize(nonts);
  follow_.resize(nonts);
  FindUseful(grammar);
  ComputeFirst(grammar);
  if (complete_) ComputeFollow(grammar);
  if (!complete_) {
    first_.assign(nonts, {});
    follow_.assign(nonts, {});
  }
}

bool LLSets::Concat(const StringSet& a, const StringSet& b, StringSet& out) const {
  for (const TermString& x : a) {
    if (budget_ == 0) return false;
    --budget_;
    if (static_cast<std::int32_t>(x.size()) >= k_) {
      out.insert(x);
      continue;
    }
    for (const TermString& y : b) {
      if (budget_ == 0) return false;
      --budget_;
      const std::size_t room = static_cast<std::size_t>(k_) - x.size();
      TermString joined = x;
      joined.insert(joined.end(), y.begin(), y.begin() + static_cast<std::ptrdiff_t>(std::min(y.size(), room)));
      out.insert(std::move(joined));
    }
  }
  return true;
}

StringSet LLSets::Then(const StringSet& a, const StringSet& b) const {
  StringSet out;
  if (!Concat(a, b, out)) return {};
  return out;
}

StringSet LLSets::FirstOf(const SymbolString& symbols, const StringSet& tail) const {
  StringSet current{TermString{}};
  for (const GrammarSymbol& symbol : symbols) {
    StringSet next;
    if (symbol.Kind == kEdgeTerminal) {
      if (!Concat(current, StringSet{TermString{symbol.Code}}, next)) return {};
    } else if (!Concat(current, First(symbol.Code), next)) {
      return {};
    }
    current = std::move(next);
    if (current.empty()) return current;
  }
  StringSet result;
  if (!Concat(current, tail, result)) return {};
  return result;
}

// Productive nonterminals by counting, for each production, the symbols not yet known to
// derive a terminal string; then the reduced grammar by a walk from the starting symbol.
void LLSets::FindUseful(const Grammar& grammar) {
  const auto& prods = grammar.Productions();
  productive_.assign(first_.size(), false);
  reachable_.assign(first_.size(), false);
  useful_.assign(prods.size(), false);
  std::vector<std::size_t> pending(prods.size(), 0);
  std::vector<std::vector<std::int32_t>> uses(first_.size());
  std::vector<std::int32_t> queue;
  auto known = [&](std::int32_t n) { return n >= 1 && static_cast<std::size_t>(n) < first_.size(); };
  auto produce = [&](std::int32_t owner) {
    if (known(owner) && !productive_[owner]) {
      productive_[owner] = true;
      queue.push_back(owner);
    }
  };
  for (std::size_t p = 1; p < prods.size(); ++p) {
    if (prods[p].Path.empty()) {
      pending[p] = 1;  // never read into a trie: derives nothing
      continue;
    }
    for (const GrammarSymbol& s : grammar.RightSide(static_cast<std::int32_t>(p))) {
      if (s.Kind != kEdgeNonterminal) continue;
      ++pending[p];
      if (known(s.Code)) uses[s.Code].push_back(static_cast<std::int32_t>(p));
    }
    if (pending[p] == 0) produce(prods[p].Owner);
  }
  while (!queue.empty()) {
    const std::int32_t n = queue.back();
    queue.pop_back();
    for (std::int32_t p : uses[n])
      if (--pending[p] == 0) produce(prods[p].Owner);
  }
  const std::int32_t start = grammar.Lang().StartNont;
  if (!Productive(start)) return;
  reachable_[start] = true;
  queue.push_back(start);
  while (!queue.empty()) {
    const std::int32_t n = queue.back();
    queue.pop_back();
    for (std::int32_t p : grammar.ProductionsOf(n)) {
      if (pending[p] != 0) continue;
      useful_[p] = true;
      for (const GrammarSymbol& s : grammar.RightSide(p))
        if (s.Kind == kEdgeNonterminal && !reachable_[s.Code]) {
          reachable_[s.Code] = true;
          queue.push_back(s.Code);
        }
    }
  }
}

// A worklist of productions: one is evaluated again when the FIRST set of a nonterminal on
// its right side grew.
void LLSets::ComputeFirst(const Grammar& grammar) {
  const auto& prods = grammar.Productions();
  std::vector<std::vector<std::int32_t>> dependents(first_.size());
  std::vector<std::int32_t> work;
  std::vector<bool> queued(prods.size(), false);
  for (std::size_t p = 1; p < prods.size(); ++p) {
    const auto prod = static_cast<std::int32_t>(p);
    if (!Productive(prods[p].Owner) || prods[p].Path.empty()) continue;
    bool derivable = true;
    for (const GrammarSymbol& s : grammar.RightSide(prod)) {
      if (s.Kind != kEdgeNonterminal) continue;
      derivable = derivable && Productive(s.Code);
      if (Productive(s.Code) && (dependents[s.Code].empty() || dependents[s.Code].back() != prod))
        dependents[s.Code].push_back(prod);
    }
    if (!derivable) continue;
    work.push_back(prod);
    queued[p] = true;
  }
  const StringSet none{TermString{}};
  while (!work.empty() && complete_) {
    const std::int32_t p = work.back();
    work.pop_back();
    queued[p] = false;
    const StringSet strings = FirstOf(grammar.RightSide(p), none);
    if (budget_ == 0) {
      complete_ = false;
      break;
    }
    const std::int32_t owner = prods[p].Owner;
    if (!SetIsGrowing(first_[owner], strings)) continue;
    for (std::int32_t q : dependents[owner])
      if (!queued[q]) {
        queued[q] = true;
        work.push_back(q);
      }
  }
}

// What follows each occurrence inside its production is fixed; then a worklist of owners whose
// FOLLOW set grew carries it into the nonterminals they contain.
void LLSets::ComputeFollow(const Grammar& grammar) {
  const auto& prods = grammar.Productions();
  const std::int32_t start = grammar.Lang().StartNont;
  if (!Reachable(start)) return;
  follow_[start].insert(TermString{});
  struct Occurrence {
    std::int32_t nont;
    StringSet after;
  };
  std::vector<std::vector<Occurrence>> inside(first_.size());  // by owner
  const StringSet none{TermString{}};
  for (std::size_t p = 1; p < prods.size() && complete_; ++p) {
    if (!useful_[p]) continue;
    const SymbolString& right = grammar.RightSide(static_cast<std::int32_t>(p));
    for (std::size_t i = 0; i < right.size(); ++i) {
      if (right[i].Kind != kEdgeNonterminal) continue;
      inside[prods[p].Owner].push_back(
          {right[i].Code, FirstOf(SymbolString(right.begin() + static_cast<std::ptrdiff_t>(i) + 1, right.end()), none)});
      if (budget_ == 0) complete_ = false;
    }
  }
  std::vector<std::int32_t> work;
  std::vector<bool> queued(first_.size(), false);
  for (std::size_t n = 1; n < first_.size(); ++n)
    if (reachable_[n]) {
      work.push_back(static_cast<std::int32_t>(n));
      queued[n] = true;
    }
  while (!work.empty() && complete_) {
    const std::int32_t owner = work.back();
    work.pop_back();
    queued[owner] = false;
    for (const Occurrence& o : inside[owner]) {
      StringSet more;
      if (!Concat(o.after, follow_[owner], more)) {
        complete_ = false;
        break;
      }
      if (SetIsGrowing(follow_[o.nont], more) && !queued[o.nont]) {
        queued[o.nont] = true;
        work.push_back(o.nont);
      }
    }
  }
}

// What follows the nonterminal where it is not the leading symbol of its own left-recursive
// productions: the strings that end its tail loop.
StringSet LoopExit(const Grammar& grammar, const LLSets& sets, std::int32_t nont) {
  StringSet exit;
  if (nont == grammar.Lang().StartNont) exit.insert(TermString{});
  const auto& prods = grammar.Productions();
  for (std::size_t q = 1; q < prods.size(); ++q) {
    const auto prod = static_cast<std::int32_t>(q);
    if (!sets.Useful(prod)) continue;
    const SymbolString& right = grammar.RightSide(prod);
    for (std::size_t i = 0; i < right.size(); ++i) {
      if (right[i].Kind != kEdgeNonterminal || right[i].Code != nont) continue;
      if (i == 0 && prods[q].LeftRecursive && prods[q].Owner == nont) continue;
      const SymbolString rest(right.begin() + static_cast<std::ptrdiff_t>(i) + 1, right.end());
      const StringSet after = sets.FirstOf(rest, sets.Follow(prods[q].Owner));
      exit.insert(after.begin(), after.end());
    }
  }
  return exit;
}

}  // namespace parvolen
