#include "inspect/textbook.h"

#include <algorithm>

namespace parvolen::inspect {
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

void LLSets::FindUseful(const Grammar& grammar) {
  const auto& prods = grammar.Productions();
  productive_.assign(first_.size(), false);
  reachable_.assign(first_.size(), false);
  useful_.assign(prods.size(), false);
  auto derives = [&](std::size_t p) {
    for (const GrammarSymbol& s : grammar.RightSide(static_cast<std::int32_t>(p)))
      if (s.Kind == kEdgeNonterminal && !Productive(s.Code)) return false;
    return true;
  };
  for (bool changed = true; changed;) {
    changed = false;
    for (std::size_t p = 1; p < prods.size(); ++p) {
      const std::int32_t owner = prods[p].Owner;
      if (owner < 1 || static_cast<std::size_t>(owner) >= productive_.size() || prods[p].Path.empty()) continue;
      if (!productive_[owner] && derives(p)) productive_[owner] = changed = true;
    }
  }
  const std::int32_t start = grammar.Lang().StartNont;
  if (!Productive(start)) return;
  reachable_[start] = true;
  for (bool changed = true; changed;) {
    changed = false;
    for (std::size_t p = 1; p < prods.size(); ++p) {
      if (useful_[p] || !Reachable(prods[p].Owner) || prods[p].Path.empty() || !derives(p)) continue;
      useful_[p] = changed = true;
      for (const GrammarSymbol& s : grammar.RightSide(static_cast<std::int32_t>(p)))
        if (s.Kind == kEdgeNonterminal) reachable_[s.Code] = true;
    }
  }
}

void LLSets::ComputeFirst(const Grammar& grammar) {
  const auto& prods = grammar.Productions();
  const StringSet none{TermString{}};
  for (bool changed = true; changed && complete_;) {
    changed = false;
    for (std::size_t p = 1; p < prods.size() && complete_; ++p) {
      const std::int32_t owner = prods[p].Owner;
      if (!Productive(owner) || prods[p].Path.empty()) continue;
      const SymbolString right = grammar.RightSide(static_cast<std::int32_t>(p));
      bool derivable = true;
      for (const GrammarSymbol& s : right) derivable = derivable && (s.Kind == kEdgeTerminal || Productive(s.Code));
      if (!derivable) continue;
      const std::size_t before = budget_;
      StringSet strings = FirstOf(right, none);
      if (budget_ == 0 && before != 0) complete_ = false;
      if (SetIsGrowing(first_[owner], strings)) changed = true;
    }
  }
}

void LLSets::ComputeFollow(const Grammar& grammar) {
  const auto& prods = grammar.Productions();
  const std::int32_t start = grammar.Lang().StartNont;
  if (!Reachable(start)) return;
  follow_[start].insert(TermString{});
  // What follows each nonterminal occurrence inside its production does not change: compute it once.
  struct Occurrence {
    std::int32_t owner;
    std::int32_t nont;
    StringSet after;
  };
  std::vector<Occurrence> occurrences;
  const StringSet none{TermString{}};
  for (std::size_t p = 1; p < prods.size() && complete_; ++p) {
    if (!useful_[p]) continue;
    const SymbolString right = grammar.RightSide(static_cast<std::int32_t>(p));
    for (std::size_t i = 0; i < right.size(); ++i) {
      if (right[i].Kind != kEdgeNonterminal) continue;
      occurrences.push_back({prods[p].Owner, right[i].Code,
                             FirstOf(SymbolString(right.begin() + static_cast<std::ptrdiff_t>(i) + 1, right.end()), none)});
      if (budget_ == 0) complete_ = false;
    }
  }
  for (bool changed = true; changed && complete_;) {
    changed = false;
    for (const Occurrence& o : occurrences) {
      StringSet more;
      if (!Concat(o.after, follow_[o.owner], more)) {
        complete_ = false;
        break;
      }
      if (SetIsGrowing(follow_[o.nont], more)) changed = true;
    }
  }
}

}  // namespace parvolen::inspect
