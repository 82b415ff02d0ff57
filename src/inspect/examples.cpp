#include "inspect/examples.h"

namespace parvolen::inspect {
namespace {

TermString Join(const TermString& a, const TermString& b) {
  TermString joined = a;
  joined.insert(joined.end(), b.begin(), b.end());
  return joined;
}

// Keeps the candidate when the slot is empty or the candidate is shorter.
template <class T, class Size>
bool Improve(std::optional<T>& slot, T candidate, Size size) {
  if (slot && size(*slot) <= size(candidate)) return false;
  slot = std::move(candidate);
  return true;
}

std::size_t Length(const TermString& s) { return s.size(); }

}  // namespace

Examples::Examples(const Grammar& grammar, const LLSets& ll1) : grammar_(grammar), ll1_(ll1) {
  const auto& prods = grammar.Productions();
  shortest_.resize(static_cast<std::size_t>(std::max(grammar.Lang().LastNonterminal, 0)) + 1);
  for (bool changed = true; changed;) {
    changed = false;
    for (std::size_t p = 1; p < prods.size(); ++p) {
      const std::int32_t owner = prods[p].Owner;
      if (!ll1.Productive(owner) || prods[p].Path.empty()) continue;
      if (auto s = Shortest(grammar.RightSide(static_cast<std::int32_t>(p))))
        changed = Improve(shortest_[owner], std::move(*s), Length) || changed;
    }
  }
}

std::optional<TermString> Examples::Shortest(const SymbolString& symbols) const {
  TermString out;
  for (const GrammarSymbol& s : symbols) {
    if (s.Kind == kEdgeTerminal) {
      out.push_back(s.Code);
    } else if (s.Code >= 1 && static_cast<std::size_t>(s.Code) < shortest_.size() && shortest_[s.Code]) {
      out.insert(out.end(), shortest_[s.Code]->begin(), shortest_[s.Code]->end());
    } else {
      return std::nullopt;
    }
  }
  return out;
}

bool Examples::Nullable(const SymbolString& symbols) const {
  for (const GrammarSymbol& s : symbols)
    if (s.Kind == kEdgeTerminal || !ll1_.First(s.Code).contains(TermString{})) return false;
  return true;
}

// For each nonterminal, the shortest string it derives that begins with the terminal.
const std::vector<std::optional<TermString>>& Examples::StartingWith(std::int32_t term) {
  auto [it, fresh] = starting_.try_emplace(term);
  std::vector<std::optional<TermString>>& table = it->second;
  if (!fresh) return table;
  table.resize(shortest_.size());
  const auto& prods = grammar_.Productions();
  for (bool changed = true; changed;) {
    changed = false;
    for (std::size_t p = 1; p < prods.size(); ++p) {
      const std::int32_t owner = prods[p].Owner;
      if (!ll1_.Productive(owner) || prods[p].Path.empty()) continue;
      const SymbolString right = grammar_.RightSide(static_cast<std::int32_t>(p));
      // The string begins within symbol i when every symbol before it derives nothing.
      for (std::size_t i = 0; i < right.size(); ++i) {
        const auto rest = Shortest(SymbolString(right.begin() + static_cast<std::ptrdiff_t>(i) + 1, right.end()));
        if (!rest) break;
        const GrammarSymbol& s = right[i];
        if (s.Kind == kEdgeTerminal) {
          if (s.Code == term) changed = Improve(table[owner], Join({term}, *rest), Length) || changed;
          break;
        }
        if (s.Code < 1 || static_cast<std::size_t>(s.Code) >= table.size()) break;
        if (table[s.Code]) changed = Improve(table[owner], Join(*table[s.Code], *rest), Length) || changed;
        if (!Nullable({s})) break;
      }
    }
  }
  return table;
}

std::optional<TermString> Examples::ShortestStartingWith(const SymbolString& symbols, std::int32_t term) {
  const auto& table = StartingWith(term);
  std::optional<TermString> best;
  for (std::size_t i = 0; i < symbols.size(); ++i) {
    const auto rest = Shortest(SymbolString(symbols.begin() + static_cast<std::ptrdiff_t>(i) + 1, symbols.end()));
    if (!rest) return best;
    const GrammarSymbol& s = symbols[i];
    if (s.Kind == kEdgeTerminal) {
      if (s.Code == term) Improve(best, Join({term}, *rest), Length);
      return best;
    }
    if (s.Code < 1 || static_cast<std::size_t>(s.Code) >= table.size()) return best;
    if (table[s.Code]) Improve(best, Join(*table[s.Code], *rest), Length);
    if (!Nullable({s})) return best;
  }
  return best;
}

// Relaxes sentence contexts from the starting symbol down through every occurrence of a
// nonterminal in a production of the reduced grammar, until no context gets shorter.
void Examples::ComputeAround() {
  aroundDone_ = true;
  around_.assign(shortest_.size(), {});
  const std::int32_t start = grammar_.Lang().StartNont;
  if (!ll1_.Reachable(start)) return;
  around_[start][0] = ExampleInput{};
  struct Occurrence {
    std::int32_t owner;
    std::int32_t nont;
    TermString before;                         // shortest string of the symbols before it
    bool restNullable;
    std::map<std::int32_t, TermString> after;  // next terminal: shortest rest beginning with it
  };
  std::vector<Occurrence> occurrences;
  const auto& prods = grammar_.Productions();
  const StringSet none{TermString{}};
  for (std::size_t p = 1; p < prods.size(); ++p) {
    if (!ll1_.Useful(static_cast<std::int32_t>(p))) continue;
    const SymbolString right = grammar_.RightSide(static_cast<std::int32_t>(p));
    for (std::size_t i = 0; i < right.size(); ++i) {
      if (right[i].Kind != kEdgeNonterminal) continue;
      const SymbolString before(right.begin(), right.begin() + static_cast<std::ptrdiff_t>(i));
      const SymbolString rest(right.begin() + static_cast<std::ptrdiff_t>(i) + 1, right.end());
      Occurrence o{prods[p].Owner, right[i].Code, Shortest(before).value_or(TermString{}), Nullable(rest), {}};
      for (const TermString& first : ll1_.FirstOf(rest, none))
        if (!first.empty())
          if (auto s = ShortestStartingWith(rest, first[0])) o.after[first[0]] = *s;
      occurrences.push_back(std::move(o));
    }
  }
  auto offer = [&](std::int32_t nont, std::int32_t next, ExampleInput candidate) {
    auto [it, fresh] = around_[nont].try_emplace(next, candidate);
    if (fresh) return true;
    if (it->second.Size() <= candidate.Size()) return false;
    it->second = std::move(candidate);
    return true;
  };
  for (bool changed = true; changed;) {
    changed = false;
    for (const Occurrence& o : occurrences) {
      const std::map<std::int32_t, ExampleInput> contexts = around_[o.owner];
      for (const auto& [next, context] : contexts) {
        const TermString before = Join(context.Before, o.before);
        if (o.restNullable) changed = offer(o.nont, next, {before, context.After}) || changed;
        for (const auto& [term, rest] : o.after) changed = offer(o.nont, term, {before, Join(rest, context.After)}) || changed;
      }
    }
  }
}

std::optional<ExampleInput> Examples::Around(std::int32_t nont, std::int32_t next) {
  if (!aroundDone_) ComputeAround();
  if (nont < 1 || static_cast<std::size_t>(nont) >= around_.size()) return std::nullopt;
  const auto& contexts = around_[nont];
  if (next != kAnyNext) {
    auto it = contexts.find(next);
    if (it == contexts.end()) return std::nullopt;
    return it->second;
  }
  std::optional<ExampleInput> best;
  for (const auto& [term, context] : contexts)
    if (!best || context.Size() < best->Size()) best = context;
  return best;
}

std::optional<ExampleInput> Examples::AtChoice(const ChoicePoint& choice, std::int32_t member, std::int32_t next) {
  const auto prefix = Shortest(grammar_.PrefixOf(choice));
  if (!prefix) return std::nullopt;
  std::optional<ExampleInput> best;
  auto consider = [&](ExampleInput candidate) {
    if (!best || candidate.Size() < best->Size()) best = std::move(candidate);
  };
  for (std::int32_t prod : grammar_.ProductionsBelow(member)) {
    if (!ll1_.Useful(prod)) continue;
    const SymbolString rest = grammar_.RestFrom(prod, member);
    if (next != 0) {
      if (auto start = ShortestStartingWith(rest, next))
        if (auto around = Around(choice.Owner, kAnyNext))
          consider({Join(around->Before, *prefix), Join(*start, around->After)});
    }
    if (Nullable(rest))
      if (auto around = Around(choice.Owner, next)) consider({Join(around->Before, *prefix), around->After});
  }
  return best;
}

std::optional<TermString> Examples::Reaching(const ChoicePoint& choice) {
  const auto prefix = Shortest(grammar_.PrefixOf(choice));
  const auto around = Around(choice.Owner, kAnyNext);
  if (!prefix || !around) return std::nullopt;
  return Join(around->Before, *prefix);
}

}  // namespace parvolen::inspect
