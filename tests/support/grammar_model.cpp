#include "support/grammar_model.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace parvolen::testing_grammar {
namespace {

std::vector<bool> NullableNonterminals(const Grammar& g) {
  std::vector<bool> nullable(static_cast<std::size_t>(g.nonterminals), false);
  for (bool changed = true; changed;) {
    changed = false;
    for (const Production& p : g.productions) {
      if (nullable[static_cast<std::size_t>(p.lhs)]) continue;
      const bool empty = std::all_of(p.rhs.begin(), p.rhs.end(), [&](const GrammarSymbol& s) {
        return !s.terminal && nullable[static_cast<std::size_t>(s.index)];
      });
      if (empty) nullable[static_cast<std::size_t>(p.lhs)] = changed = true;
    }
  }
  return nullable;
}

struct Item {
  int production = 0;
  int dot = 0;
  int origin = 0;
};

// The items of one position of the input, each once.
class ItemSet {
 public:
  void Add(const Item& item) {
    const std::uint64_t key = (static_cast<std::uint64_t>(item.production) << 42) ^
                              (static_cast<std::uint64_t>(item.dot) << 21) ^ static_cast<std::uint64_t>(item.origin);
    if (seen_.insert(key).second) items_.push_back(item);
  }
  [[nodiscard]] std::size_t Size() const { return items_.size(); }
  [[nodiscard]] Item At(std::size_t i) const { return items_[i]; }

 private:
  std::vector<Item> items_;
  std::unordered_set<std::uint64_t> seen_;
};

}  // namespace

bool EarleyAccepts(const Grammar& g, const Sentence& sentence) {
  const std::vector<bool> nullable = NullableNonterminals(g);
  const int n = static_cast<int>(sentence.size());
  std::vector<ItemSet> sets(sentence.size() + 1);
  const auto rhsOf = [&](int production) -> const std::vector<GrammarSymbol>& {
    return g.productions[static_cast<std::size_t>(production)].rhs;
  };
  const auto predict = [&](int position, int nonterminal) {
    for (int q = 0; q < static_cast<int>(g.productions.size()); ++q)
      if (g.productions[static_cast<std::size_t>(q)].lhs == nonterminal) sets[position].Add({q, 0, position});
  };
  predict(0, g.start);
  for (int i = 0; i <= n; ++i) {
    ItemSet& current = sets[static_cast<std::size_t>(i)];
    for (std::size_t k = 0; k < current.Size(); ++k) {
      const Item item = current.At(k);
      const std::vector<GrammarSymbol>& rhs = rhsOf(item.production);
      if (item.dot < static_cast<int>(rhs.size())) {
        const GrammarSymbol next = rhs[static_cast<std::size_t>(item.dot)];
        if (next.terminal) {
          if (i < n && sentence[static_cast<std::size_t>(i)] == next.index)
            sets[static_cast<std::size_t>(i) + 1].Add({item.production, item.dot + 1, item.origin});
        } else {
          predict(i, next.index);
          if (nullable[static_cast<std::size_t>(next.index)]) current.Add({item.production, item.dot + 1, item.origin});
        }
        continue;
      }
      // Complete: advance every item at the origin that waits for this left-hand side.
      const int lhs = g.productions[static_cast<std::size_t>(item.production)].lhs;
      const ItemSet& from = sets[static_cast<std::size_t>(item.origin)];
      for (std::size_t w = 0; w < from.Size(); ++w) {
        const Item waiting = from.At(w);
        const std::vector<GrammarSymbol>& wrhs = rhsOf(waiting.production);
        if (waiting.dot < static_cast<int>(wrhs.size()) && !wrhs[static_cast<std::size_t>(waiting.dot)].terminal &&
            wrhs[static_cast<std::size_t>(waiting.dot)].index == lhs)
          current.Add({waiting.production, waiting.dot + 1, waiting.origin});
      }
    }
  }
  const ItemSet& last = sets[static_cast<std::size_t>(n)];
  for (std::size_t k = 0; k < last.Size(); ++k) {
    const Item item = last.At(k);
    const Production& p = g.productions[static_cast<std::size_t>(item.production)];
    if (item.origin == 0 && p.lhs == g.start && item.dot == static_cast<int>(p.rhs.size())) return true;
  }
  return false;
}

ShortestDerivations FindShortestDerivations(const Grammar& g) {
  // Nonterminals are settled in the order of their shortest length; each one's production uses
  // settled nonterminals only, so following the productions always ends.
  ShortestDerivations found;
  found.length.assign(static_cast<std::size_t>(g.nonterminals), -1);
  found.production.assign(static_cast<std::size_t>(g.nonterminals), -1);
  for (;;) {
    int bestProduction = -1;
    int bestLength = 0;
    for (int q = 0; q < static_cast<int>(g.productions.size()); ++q) {
      const Production& p = g.productions[static_cast<std::size_t>(q)];
      if (found.length[static_cast<std::size_t>(p.lhs)] >= 0) continue;
      int length = 0;
      bool settled = true;
      for (const GrammarSymbol& s : p.rhs) {
        const int part = s.terminal ? 1 : found.length[static_cast<std::size_t>(s.index)];
        if (part < 0) settled = false;
        length += part;
      }
      if (settled && (bestProduction < 0 || length < bestLength)) {
        bestProduction = q;
        bestLength = length;
      }
    }
    if (bestProduction < 0) return found;
    const int lhs = g.productions[static_cast<std::size_t>(bestProduction)].lhs;
    found.length[static_cast<std::size_t>(lhs)] = bestLength;
    found.production[static_cast<std::size_t>(lhs)] = bestProduction;
  }
}

Sentence DeriveRandomSentence(const Grammar& g, const ShortestDerivations& shortest, std::mt19937& rng,
                              int maxDepth, std::size_t maxLength) {
  Sentence out;
  if (shortest.length[static_cast<std::size_t>(g.start)] < 0) return out;
  // A stack of symbols still to expand, each with its depth, rightmost at the bottom.
  struct Pending {
    GrammarSymbol symbol;
    int depth = 0;
  };
  std::vector<Pending> stack{{GrammarSymbol{false, g.start}, 0}};
  std::vector<int> choices;
  while (!stack.empty()) {
    const Pending top = stack.back();
    stack.pop_back();
    if (top.symbol.terminal) {
      out.push_back(top.symbol.index);
      continue;
    }
    int chosen = shortest.production[static_cast<std::size_t>(top.symbol.index)];
    if (top.depth < maxDepth && out.size() + stack.size() < maxLength) {
      choices.clear();
      for (int q = 0; q < static_cast<int>(g.productions.size()); ++q) {
        const Production& p = g.productions[static_cast<std::size_t>(q)];
        if (p.lhs != top.symbol.index) continue;
        const bool productive = std::all_of(p.rhs.begin(), p.rhs.end(), [&](const GrammarSymbol& s) {
          return s.terminal || shortest.length[static_cast<std::size_t>(s.index)] >= 0;
        });
        if (productive) choices.push_back(q);
      }
      chosen = choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(rng)];
    }
    const std::vector<GrammarSymbol>& rhs = g.productions[static_cast<std::size_t>(chosen)].rhs;
    for (auto s = rhs.rbegin(); s != rhs.rend(); ++s) stack.push_back({*s, top.depth + 1});
  }
  return out;
}

Mutation MutateSentence(const Sentence& sentence, const std::vector<int>& alphabet, std::mt19937& rng) {
  Mutation m{sentence, ""};
  if (sentence.empty()) return m;
  const auto pick = [&](std::size_t high) { return std::uniform_int_distribution<std::size_t>(0, high)(rng); };
  const std::size_t at = pick(sentence.size() - 1);
  switch (pick(3)) {
    case 0:
      m.sentence.erase(m.sentence.begin() + static_cast<std::ptrdiff_t>(at));
      m.kind = "dropped";
      break;
    case 1:
      m.sentence.insert(m.sentence.begin() + static_cast<std::ptrdiff_t>(at), sentence[at]);
      m.kind = "doubled";
      break;
    case 2:
      if (at + 1 < sentence.size()) {
        std::swap(m.sentence[at], m.sentence[at + 1]);
        m.kind = "swapped";
        break;
      }
      [[fallthrough]];
    default:
      m.sentence[at] = alphabet[pick(alphabet.size() - 1)];
      m.kind = "replaced";
      break;
  }
  return m;
}

std::string GrammarText(const Grammar& g) {
  std::string text;
  for (const Production& p : g.productions) {
    text += "N" + std::to_string(p.lhs) + " ::=";
    for (const GrammarSymbol& s : p.rhs) text += (s.terminal ? " t" : " N") + std::to_string(s.index);
    text += "\n";
  }
  return text;
}

}  // namespace parvolen::testing_grammar
