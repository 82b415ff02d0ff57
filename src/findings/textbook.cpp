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

bool LLSets::Concat(const StringSet& a, const StringSet& b, StringSet& out, bool* readsB) const {
  for (const TermString& x : a) {
    if (budget_ == 0) return false;
    --budget_;
    if (static_cast<std::int32_t>(x.size()) >= k_) {
      out.insert(x);
      continue;
    }
    if (readsB != nullptr) *readsB = true;
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

bool LLSets::Spend(std::size_t cost) const {
  if (cost > budget_) {
    budget_ = 0;
    return false;
  }
  budget_ -= cost;
  return true;
}

StringSet LLSets::FirstOf(const SymbolString& symbols, const StringSet& tail) const {
  return FirstOfNoting(symbols, tail, nullptr);
}

StringSet LLSets::FirstOfNoting(const SymbolString& symbols, const StringSet& tail,
                                std::vector<std::int32_t>* read) const {
  StringSet current{TermString{}};
  for (const GrammarSymbol& symbol : symbols) {
    StringSet next;
    if (symbol.Kind == kEdgeTerminal) {
      if (!Concat(current, StringSet{TermString{symbol.Code}}, next)) return {};
    } else {
      bool readsFirst = false;
      if (!Concat(current, First(symbol.Code), next, &readsFirst)) return {};
      if (readsFirst && read != nullptr) read->push_back(symbol.Code);
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
  // A production evaluated again on the FIRST sets it read last time gives the same strings for
  // the same steps, and its owner's set holds them already: only the steps are taken then.
  struct Evaluated {
    bool Done = false;
    std::size_t Cost = 0;
    std::vector<std::int32_t> Read;
    std::vector<std::uint64_t> Versions;  // of the sets read, when they were read
  };
  std::vector<Evaluated> evaluated(prods.size());
  std::vector<std::uint64_t> version(first_.size(), 0);  // how often each FIRST set grew
  auto unchanged = [&](const Evaluated& e) {
    if (!e.Done) return false;
    for (std::size_t i = 0; i < e.Read.size(); ++i)
      if (version[e.Read[i]] != e.Versions[i]) return false;
    return true;
  };
  const StringSet none{TermString{}};
  while (!work.empty() && complete_) {
    const std::int32_t p = work.back();
    work.pop_back();
    queued[p] = false;
    Evaluated& e = evaluated[p];
    if (unchanged(e)) {
      if (!Spend(e.Cost) || budget_ == 0) {
        complete_ = false;
        break;
      }
      continue;
    }
    const std::size_t before = budget_;
    e.Read.clear();
    const StringSet strings = FirstOfNoting(grammar.RightSide(p), none, &e.Read);
    if (budget_ == 0) {
      complete_ = false;
      break;
    }
    e.Done = true;
    e.Cost = before - budget_;
    e.Versions.clear();
    for (std::int32_t n : e.Read) e.Versions.push_back(version[n]);
    const std::int32_t owner = prods[p].Owner;
    if (!SetIsGrowing(first_[owner], strings)) continue;
    ++version[owner];
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
    bool done = false;  // carried once; what it carries depends on the owner's FOLLOW set only
    bool readsFollow = false;  // when a string of `after` is shorter than k
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
      Occurrence& o = inside[prods[p].Owner].back();
      o.readsFollow = std::any_of(o.after.begin(), o.after.end(),
                                  [&](const TermString& x) { return static_cast<std::int32_t>(x.size()) < k_; });
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
    for (Occurrence& o : inside[owner]) {
      // Carried again without reading the owner's set: the same strings, which are there.
      if (o.done && !o.readsFollow) {
        if (!Spend(o.after.size())) {
          complete_ = false;
          break;
        }
        continue;
      }
      o.done = true;
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

}  // namespace parvolen
