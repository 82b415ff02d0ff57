#include "findings/textbook.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "findings/flat_lists.h"
#include "findings/useless.h"

namespace parvolen {
namespace {

// The operations on a set of strings that the computation needs, for every form: StringSet for
// any k; for k = 1 TermBits, or Leads (sorted terminal numbers, 0 for λ) where the terminals do
// not fit into the bits; PackedSet for larger k.
std::int32_t Length(const TermString& x) { return static_cast<std::int32_t>(x.size()); }
std::int32_t Length(std::int32_t x) { return x == 0 ? 0 : 1; }

void Lambda(StringSet& set) { set.insert(TermString{}); }
void Lambda(LLSets::Leads& set) { set.insert(std::lower_bound(set.begin(), set.end(), 0), 0); }
void Lambda(TermBits& set) { set.Add(0); }

StringSet Unit(const StringSet&, std::int32_t term) { return StringSet{TermString{term}}; }


// Collecting the strings of a concatenation: inserted at once, or gathered and sorted at the end.
void Add(StringSet& out, const TermString& x) { out.insert(x); }
void Add(LLSets::Leads& out, std::int32_t x) { out.push_back(x); }
void Join(StringSet& out, const TermString& x, const TermString& y, std::size_t room) {
  TermString joined = x;
  joined.insert(joined.end(), y.begin(), y.begin() + static_cast<std::ptrdiff_t>(std::min(y.size(), room)));
  out.insert(std::move(joined));
}
void Join(LLSets::Leads& out, std::int32_t, std::int32_t y, std::size_t) { out.push_back(y); }  // x is λ
void Settle(StringSet&) {}
void Settle(LLSets::Leads& out) {
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
}

bool SetIsGrowing(StringSet& target, const StringSet& more) {
  const std::size_t before = target.size();
  target.insert(more.begin(), more.end());
  return target.size() != before;
}
bool SetIsGrowing(LLSets::Leads& target, const LLSets::Leads& more) {
  if (more.size() * 8 < target.size()) {  // a few: each where it belongs
    bool grew = false;
    for (std::int32_t t : more) {
      const auto at = std::lower_bound(target.begin(), target.end(), t);
      if (at != target.end() && *at == t) continue;
      target.insert(at, t);
      grew = true;
    }
    return grew;
  }
  if (std::includes(target.begin(), target.end(), more.begin(), more.end())) return false;
  LLSets::Leads merged;
  merged.reserve(target.size() + more.size());
  std::set_union(target.begin(), target.end(), more.begin(), more.end(), std::back_inserter(merged));
  target = std::move(merged);
  return true;
}

bool SetIsGrowing(TermBits& target, const TermBits& more) { return target.Merge(more); }

// Packed keys: the length is kept in the key, and λ is the key 0.
std::int32_t Length(std::uint64_t key) { return PackedShape::Length(key); }
void Lambda(PackedSet& set) { set.insert(std::lower_bound(set.begin(), set.end(), 0U), 0U); }
bool SetIsGrowing(PackedSet& target, const PackedSet& more) { return GrowKeys(target, more); }

// Whether a string of the set is shorter than k, so that what comes after it counts.
template <class Set>
bool Shorter(const Set& set, std::int32_t k) {
  return std::any_of(set.begin(), set.end(), [&](const auto& x) { return Length(x) < k; });
}
bool Shorter(const TermBits& set, std::int32_t) { return set.Has(0); }

template <class Set>
const Set& SetAt(const std::vector<Set>& sets, std::int32_t i) {
  static const Set empty;
  return i >= 0 && static_cast<std::size_t>(i) < sets.size() ? sets[i] : empty;
}

}  // namespace

// The packed form, for k >= 2; the generic code below reaches it through these.
template <>
bool LLSets::Concat<PackedSet>(const PackedSet& a, const PackedSet& b, PackedSet& out, bool* readsB) const;
template <>
PackedSet LLSets::FirstOfNoting<PackedSet>(std::span<const GrammarSymbol> symbols, const PackedSet& tail,
                                           const std::vector<PackedSet>& first,
                                           std::vector<std::int32_t>* read) const;
template <>
LLSets::Leads LLSets::FirstOfNoting<LLSets::Leads>(std::span<const GrammarSymbol> symbols, const Leads& tail,
                                                   const std::vector<Leads>& first,
                                                   std::vector<std::int32_t>* read) const;
template <>
bool LLSets::Concat<TermBits>(const TermBits& a, const TermBits& b, TermBits& out, bool* readsB) const;
template <>
TermBits LLSets::FirstOfNoting<TermBits>(std::span<const GrammarSymbol> symbols, const TermBits& tail,
                                         const std::vector<TermBits>& first, std::vector<std::int32_t>* read) const;

LLSets::LLSets(const Grammar& grammar, std::int32_t k, std::size_t budget, Form form, const UselessSymbols* useless)
    : k_(std::clamp(k, 1, 5)), budget_(budget), plain_(form == Form::Plain) {
  const std::size_t nonts = static_cast<std::size_t>(std::max(grammar.Lang().LastNonterminal, 0)) + 1;
  first_.resize(nonts);
  follow_.resize(nonts);
  FindUseful(grammar, useless);
  given_ = useless != nullptr && useless->Productive.size() == nonts && useless->Uses.Keys() == nonts &&
                   useless->Blocked.size() == grammar.Productions().size()
               ? useless
               : nullptr;
  // Packed keys hold k terminals of up to 61 / k bits: only grammars with more than 4095
  // terminals (k = 5), 32767 (k = 4), about a million (k = 3) or a billion (k = 2) take StringSet.
  if (k_ > 1 && !plain_) shape_ = PackedShape::For(k_, largest_);
  if (shape_) {
    ComputeSets(grammar, nonts, firstK_, followK_);
    shown_.assign(2 * nonts, false);
    return;
  }
  // Bits for k = 1 where the terminals fit (0 stands for λ), else sorted terminal numbers.
  if (k_ == 1 && form == Form::Fast) {
    bits_ = largest_ >= 0 && largest_ < TermBits::kLimit;
  }
  if (bits_) {
    ComputeSets(grammar, nonts, firstBits_, followBits_);
    shown_.assign(2 * nonts, false);
    return;
  }
  if (k_ == 1 && !plain_) {
    ComputeSets(grammar, nonts, first1_, follow1_);
    shown_.assign(2 * nonts, false);
    return;
  }
  ComputeSets(grammar, nonts, first_, follow_);
}

template <class Set>
void LLSets::ComputeSets(const Grammar& grammar, std::size_t nonts, std::vector<Set>& first,
                         std::vector<Set>& follow) {
  first.resize(nonts);
  follow.resize(nonts);
  ComputeFirst(grammar, first);
  given_ = nullptr;  // not kept past the construction
  if (complete_) ComputeFollow(grammar, first, follow);
  if (!complete_) {
    first.assign(nonts, {});
    follow.assign(nonts, {});
  }
}

const StringSet& LLSets::Shown(std::vector<StringSet>& sets, const std::vector<TermBits>& bits,
                               const std::vector<Leads>& leads, const std::vector<PackedSet>& packed,
                               std::size_t at, std::int32_t i) const {
  if (i < 0 || static_cast<std::size_t>(i) >= sets.size()) return empty_;
  if (shape_ && !shown_[at + static_cast<std::size_t>(i)]) {
    shown_[at + static_cast<std::size_t>(i)] = true;
    sets[i] = shape_->Unpack(packed[i]);
  }
  if (bits_ && !shown_[at + static_cast<std::size_t>(i)]) {
    shown_[at + static_cast<std::size_t>(i)] = true;
    bits[i].ForEach([&](std::int32_t t) { sets[i].insert(t == 0 ? TermString{} : TermString{t}); });
  }
  if (k_ == 1 && !plain_ && !shown_[at + static_cast<std::size_t>(i)]) {
    shown_[at + static_cast<std::size_t>(i)] = true;
    for (std::int32_t t : leads[i]) sets[i].insert(t == 0 ? TermString{} : TermString{t});
  }
  return sets[i];
}

const StringSet& LLSets::First(std::int32_t nont) const {
  return Shown(first_, firstBits_, first1_, firstK_, 0, nont);
}
const StringSet& LLSets::Follow(std::int32_t nont) const {
  return Shown(follow_, followBits_, follow1_, followK_, first_.size(), nont);
}

const std::vector<StringSet>& LLSets::AllFirst() const {
  for (std::size_t n = 0; n < first_.size(); ++n) (void)First(static_cast<std::int32_t>(n));
  return first_;
}

// a ⊕k b for packed keys: the steps the generic loop takes, |a| and |b| more for each string
// of a shorter than k, taken at once (running out on the way gives up the whole).
template <>
bool LLSets::Concat<PackedSet>(const PackedSet& a, const PackedSet& b, PackedSet& out, bool* readsB) const {
  std::size_t shorter = 0;
  for (std::uint64_t x : a) shorter += Length(x) < k_ ? 1 : 0;
  if (!Spend(a.size() + shorter * b.size())) return false;
  if (shorter == 0) {
    out.insert(out.end(), a.begin(), a.end());
    return true;
  }
  if (readsB != nullptr) *readsB = true;
  out.reserve(out.size() + a.size() - shorter + shorter * b.size());
  for (std::uint64_t x : a) {
    if (Length(x) >= k_) {
      out.push_back(x);
      continue;
    }
    for (std::uint64_t y : b) out.push_back(shape_->Join(x, y));
  }
  SettleKeys(out);
  return true;
}

// FirstOfNoting for packed keys: a terminal is joined as a set of one key, and the sets between
// the symbols are kept in scratch vectors that keep their room from call to call.
template <>
PackedSet LLSets::FirstOfNoting<PackedSet>(std::span<const GrammarSymbol> symbols, const PackedSet& tail,
                                           const std::vector<PackedSet>& first,
                                           std::vector<std::int32_t>* read) const {
  PackedSet* current = &keyScratch_[0];
  PackedSet* next = &keyScratch_[1];
  current->assign(1, 0);
  PackedSet unit(1);
  for (const GrammarSymbol& symbol : symbols) {
    next->clear();
    if (symbol.Kind == kEdgeTerminal) {
      unit[0] = shape_->Unit(symbol.Code);
      if (!Concat(*current, unit, *next)) return {};
    } else {
      bool readsFirst = false;
      if (!Concat(*current, SetAt(first, symbol.Code), *next, &readsFirst)) return {};
      if (readsFirst && read != nullptr) read->push_back(symbol.Code);
    }
    std::swap(current, next);
    if (current->empty()) return {};
  }
  PackedSet result;
  if (!Concat(*current, tail, result)) return {};
  return result;
}

template <class Set>
bool LLSets::Concat(const Set& a, const Set& b, Set& out, bool* readsB) const {
  for (const auto& x : a) {
    if (budget_ == 0) return false;
    --budget_;
    if (Length(x) >= k_) {
      Add(out, x);
      continue;
    }
    if (readsB != nullptr) *readsB = true;
    for (const auto& y : b) {
      if (budget_ == 0) return false;
      --budget_;
      Join(out, x, y, static_cast<std::size_t>(k_ - Length(x)));
    }
  }
  Settle(out);
  return true;
}

StringSet LLSets::Then(const StringSet& a, const StringSet& b) const {
  StringSet out;
  if (!Concat(a, b, out)) return {};
  return out;
}

bool LLSets::Spend(std::size_t cost) const {
  if (cost > budget_) {
    budget_ = 0;
    return false;
  }
  budget_ -= cost;
  return true;
}

// For k = 1 the same outcome and the same steps without a set made per symbol: a ⊕1 b is a
// without λ, joined with b when a holds λ, and costs |a| steps, |b| more when a holds λ. A set
// without λ stays what it is through every later symbol.
template <>
LLSets::Leads LLSets::FirstOfNoting<LLSets::Leads>(std::span<const GrammarSymbol> symbols, const Leads& tail,
                                                   const std::vector<Leads>& first,
                                                   std::vector<std::int32_t>* read) const {
  const Leads* leads = LeadsOf(symbols, tail, first, read);
  return leads != nullptr ? *leads : Leads{};
}

// FirstOfNoting for Leads into one of the scratch sets, which the result points to (nullptr for
// none): callers that only look at it take no copy. The sets between the symbols are sorted.
const LLSets::Leads* LLSets::LeadsOf(std::span<const GrammarSymbol> symbols, const Leads& tail,
                                     const std::vector<Leads>& first, std::vector<std::int32_t>* read) const {
  Leads* current = &scratch_[0];
  Leads* next = &scratch_[1];
  // A terminal first, the common case: that terminal alone, for 2 steps and 1 for each
  // further symbol and the tail, as below.
  if (!symbols.empty() && symbols.front().Kind == kEdgeTerminal) {
    if (!Spend(symbols.size() + 2)) return nullptr;
    current->assign(1, symbols.front().Code);
    return current;
  }
  current->assign(1, 0);
  auto hasLambda = [&] { return std::binary_search(current->begin(), current->end(), 0); };
  // current ⊕1 more into next, which becomes current; false when the budget runs out.
  auto concat = [&](const std::int32_t* more, std::size_t count, bool* readsMore) {
    const bool lambda = hasLambda();
    if (!Spend(current->size() + (lambda ? count : 0))) return false;
    if (!lambda) return true;
    if (readsMore != nullptr) *readsMore = true;
    next->clear();
    for (std::int32_t x : *current)
      if (x != 0) next->push_back(x);
    next->insert(next->end(), more, more + count);
    Settle(*next);
    std::swap(current, next);
    return true;
  };
  for (std::size_t i = 0; i < symbols.size(); ++i) {
    // Without λ (and not empty) the set stays what it is through the other symbols and the
    // tail, for |current| steps each: taken at once.
    if (!hasLambda()) return Spend(current->size() * (symbols.size() - i + 1)) ? current : nullptr;
    const GrammarSymbol& symbol = symbols[i];
    if (symbol.Kind == kEdgeTerminal) {
      if (!concat(&symbol.Code, 1, nullptr)) return nullptr;
    } else {
      const Leads& set = SetAt(first, symbol.Code);
      bool readsFirst = false;
      if (!concat(set.data(), set.size(), &readsFirst)) return nullptr;
      if (readsFirst && read != nullptr) read->push_back(symbol.Code);
    }
    if (current->empty()) return nullptr;
  }
  if (!concat(tail.data(), tail.size(), nullptr)) return nullptr;
  return current;
}

// For k = 1 a ⊕1 b is a without λ, joined with b when a holds λ, and costs |a| steps, |b| more
// when a holds λ; the generic loop takes the same steps.
template <>
bool LLSets::Concat<TermBits>(const TermBits& a, const TermBits& b, TermBits& out, bool* readsB) const {
  const bool lambda = a.Has(0);
  if (!Spend(a.size() + (lambda ? b.size() : 0))) return false;
  out.Merge(a);
  if (!lambda) return true;
  if (readsB != nullptr) *readsB = true;
  out.DropLambda();
  out.Merge(b);
  return true;
}

// The same outcome and steps as the generic form, with one set kept from call to call and
// changed in place: a set without λ stays what it is through every later symbol.
template <>
TermBits LLSets::FirstOfNoting<TermBits>(std::span<const GrammarSymbol> symbols, const TermBits& tail,
                                         const std::vector<TermBits>& first, std::vector<std::int32_t>* read) const {
  // A terminal first, the common case: that terminal alone, for 2 steps and 1 for each
  // further symbol and the tail, as below.
  if (!symbols.empty() && symbols.front().Kind == kEdgeTerminal) {
    if (!Spend(symbols.size() + 2)) return {};
    TermBits one;
    one.Add(symbols.front().Code);
    return one;
  }
  TermBits& current = bitScratch_;
  current.Clear();
  current.Add(0);
  std::size_t count = 1;  // of current
  // current ⊕1 more (or the terminal when more is null); false when the budget runs out.
  auto concat = [&](const TermBits* more, std::int32_t term, bool* readsMore) {
    const bool lambda = current.Has(0);
    if (!Spend(count + (lambda ? (more != nullptr ? more->size() : 1) : 0))) return false;
    if (!lambda) return true;
    if (readsMore != nullptr) *readsMore = true;
    current.DropLambda();
    if (more != nullptr) current.Merge(*more);
    else current.Add(term);
    count = current.size();
    return true;
  };
  for (std::size_t i = 0; i < symbols.size(); ++i) {
    // Without λ (and not empty) the set stays what it is through the other symbols and the
    // tail, for |current| steps each: taken at once.
    if (!current.Has(0)) return Spend(count * (symbols.size() - i + 1)) ? current : TermBits{};
    const GrammarSymbol& symbol = symbols[i];
    if (symbol.Kind == kEdgeTerminal) {
      if (!concat(nullptr, symbol.Code, nullptr)) return {};
    } else {
      bool readsFirst = false;
      if (!concat(&SetAt(first, symbol.Code), 0, &readsFirst)) return {};
      if (readsFirst && read != nullptr) read->push_back(symbol.Code);
    }
    if (count == 0) return {};
  }
  if (!concat(&tail, 0, nullptr)) return {};
  return current;
}

template <class Set>
Set LLSets::FirstOfNoting(std::span<const GrammarSymbol> symbols, const Set& tail, const std::vector<Set>& first,
                          std::vector<std::int32_t>* read) const {
  Set current;
  Lambda(current);
  for (const GrammarSymbol& symbol : symbols) {
    Set next;
    if (symbol.Kind == kEdgeTerminal) {
      if (!Concat(current, Unit(current, symbol.Code), next)) return {};
    } else {
      bool readsFirst = false;
      if (!Concat(current, SetAt(first, symbol.Code), next, &readsFirst)) return {};
      if (readsFirst && read != nullptr) read->push_back(symbol.Code);
    }
    current = std::move(next);
    if (current.empty()) return current;
  }
  Set result;
  if (!Concat(current, tail, result)) return {};
  return result;
}

StringSet LLSets::FirstOf(const SymbolString& symbols, const StringSet& tail) const {
  if (shape_) {
    if (const auto keys = shape_->Pack(tail)) return shape_->Unpack(FirstOfNoting(symbols, *keys, firstK_, nullptr));
    return FirstOfNoting(symbols, tail, AllFirst(), nullptr);  // a tail the keys cannot hold
  }
  if (k_ != 1 || plain_) return FirstOfNoting(symbols, tail, first_, nullptr);
  if (!bits_) {
    Leads leads;
    for (const TermString& s : tail) leads.push_back(s.empty() ? 0 : s[0]);
    StringSet strings;
    for (std::int32_t t : FirstOfNoting(symbols, leads, first1_, nullptr))
      strings.insert(t == 0 ? TermString{} : TermString{t});
    return strings;
  }
  TermBits bits;
  for (const TermString& s : tail) {
    if (!s.empty() && (s[0] < 0 || s[0] >= TermBits::kLimit))
      return FirstOfNoting(symbols, tail, AllFirst(), nullptr);  // a tail the bits cannot hold
    bits.Add(s.empty() ? 0 : s[0]);
  }
  StringSet strings;
  FirstOfNoting(symbols, bits, firstBits_, nullptr).ForEach([&](std::int32_t t) {
    strings.insert(t == 0 ? TermString{} : TermString{t});
  });
  return strings;
}

LLSets::Leads LLSets::FirstLeads(std::span<const GrammarSymbol> symbols, std::optional<std::int32_t> followOf) const {
  Leads leads;
  AddFirstLeads(symbols, followOf, leads);
  return leads;
}

bool LLSets::AddFirstBits(std::span<const GrammarSymbol> symbols, std::optional<std::int32_t> followOf,
                          TermBits& out) const {
  if (!bits_) return false;
  TermBits none;
  none.Add(0);
  out.Merge(FirstOfNoting(symbols, followOf ? SetAt(followBits_, *followOf) : none, firstBits_, nullptr));
  return true;
}

void LLSets::AddFirstLeads(std::span<const GrammarSymbol> symbols, std::optional<std::int32_t> followOf,
                           Leads& out) const {
  const std::size_t at = out.size();
  if (shape_) {
    static const PackedSet none{0};
    for (std::uint64_t key : FirstOfNoting(symbols, followOf ? SetAt(followK_, *followOf) : none, firstK_, nullptr))
      out.push_back(key == 0 ? 0 : shape_->Head(key));
    // The keys are in order, so are their heads.
    out.erase(std::unique(out.begin() + static_cast<std::ptrdiff_t>(at), out.end()), out.end());
    return;
  }
  if (bits_) {
    TermBits none;
    none.Add(0);
    FirstOfNoting(symbols, followOf ? SetAt(followBits_, *followOf) : none, firstBits_, nullptr).ForEach([&](std::int32_t t) {
      out.push_back(t);
    });
    return;
  }
  if (k_ == 1 && !plain_) {
    static const Leads none{0};
    if (const Leads* leads = LeadsOf(symbols, followOf ? SetAt(follow1_, *followOf) : none, first1_, nullptr))
      out.insert(out.end(), leads->begin(), leads->end());
    return;
  }
  static const StringSet none{TermString{}};
  for (const TermString& s : FirstOf(SymbolString(symbols.begin(), symbols.end()), followOf ? Follow(*followOf) : none))
    out.push_back(s.empty() ? 0 : s[0]);
  std::sort(out.begin() + static_cast<std::ptrdiff_t>(at), out.end());
  out.erase(std::unique(out.begin() + static_cast<std::ptrdiff_t>(at), out.end()), out.end());
}

// The productive nonterminals, the productions that complete and the largest terminal as
// FindUseless finds them (found here when not given); then the reduced grammar by a walk from
// the starting symbol.
void LLSets::FindUseful(const Grammar& grammar, const UselessSymbols* useless) {
  const auto& prods = grammar.Productions();
  reachable_.assign(first_.size(), 0);
  useful_.assign(prods.size(), 0);
  std::optional<UselessSymbols> own;
  if (useless == nullptr) useless = &own.emplace(FindUseless(grammar));
  productive_.assign(first_.size(), 0);
  for (std::size_t n = 0; n < first_.size() && n < useless->Productive.size(); ++n)
    productive_[n] = useless->Productive[n] ? 1 : 0;
  largest_ = useless->LargestTerminal;
  std::vector<std::uint8_t> completes(prods.size(), 0);  // by production: all its symbols derive
  for (std::size_t p = 1; p < prods.size(); ++p) completes[p] = useless->Completes(static_cast<std::int32_t>(p)) ? 1 : 0;
  const std::int32_t start = grammar.Lang().StartNont;
  if (!Productive(start)) return;
  std::vector<std::int32_t> queue;
  reachable_[static_cast<std::size_t>(start)] = 1;
  queue.push_back(start);
  while (!queue.empty()) {
    const std::int32_t n = queue.back();
    queue.pop_back();
    for (std::int32_t p : grammar.ProductionsOf(n)) {
      if (completes[p] == 0) continue;
      useful_[static_cast<std::size_t>(p)] = 1;
      for (const GrammarSymbol& s : grammar.RightSide(p))
        if (s.Kind == kEdgeNonterminal && reachable_[static_cast<std::size_t>(s.Code)] == 0) {
          reachable_[static_cast<std::size_t>(s.Code)] = 1;
          queue.push_back(s.Code);
        }
    }
  }
}

// A worklist of productions: one is evaluated again when the FIRST set of a nonterminal on
// its right side grew.
template <class Set>
void LLSets::ComputeFirst(const Grammar& grammar, std::vector<Set>& first) {
  const auto& prods = grammar.Productions();
  // By nonterminal, the productions that hold it on their right side (each once, ascending):
  // counted, then placed, in two passes over the right sides.
  FlatLists dependents(first.size());
  std::vector<std::int32_t> work;
  work.reserve(prods.size());  // a production is queued at most once at a time
  std::vector<std::uint8_t> queued(prods.size(), 0);  // bytes: this loop runs often
  // Where the nonterminals that each production's evaluation read are noted: at most one for
  // each nonterminal of its right side.
  std::vector<std::size_t> readFrom(prods.size() + 1, 0);
  if (given_ != nullptr) {
    // FindUseless listed the productions by the nonterminals of their right sides already:
    // the dependents are read from there (each once, those of productive owners), and the
    // room for the sets read is the length of the right side.
    for (std::size_t p = 1; p < prods.size(); ++p) {
      const auto prod = static_cast<std::int32_t>(p);
      const bool candidate = Productive(prods[p].Owner) && !prods[p].Path.empty();
      readFrom[p + 1] = readFrom[p] + (candidate ? grammar.RightSide(prod).size() : 0);
      if (!candidate || !given_->Completes(prod)) continue;
      work.push_back(prod);
      queued[p] = 1;
    }
  } else {
    std::vector<std::int32_t> lastProd(first.size(), 0);  // the production that listed it last
    for (int pass = 0; pass < 2; ++pass) {
      if (pass == 1) {
        dependents.Place();
        std::fill(lastProd.begin(), lastProd.end(), 0);
      }
      for (std::size_t p = 1; p < prods.size(); ++p) {
        const auto prod = static_cast<std::int32_t>(p);
        if (pass == 0) readFrom[p + 1] = readFrom[p];
        if (!Productive(prods[p].Owner) || prods[p].Path.empty()) continue;
        bool derivable = true;
        for (const GrammarSymbol& s : grammar.RightSide(prod)) {
          if (s.Kind != kEdgeNonterminal) continue;
          if (pass == 0) ++readFrom[p + 1];
          derivable = derivable && Productive(s.Code);
          if (!Productive(s.Code) || lastProd[s.Code] == prod) continue;
          lastProd[s.Code] = prod;
          if (pass == 0) dependents.Count(static_cast<std::size_t>(s.Code));
          else dependents.Add(static_cast<std::size_t>(s.Code), prod);
        }
        if (pass == 0 || !derivable) continue;
        work.push_back(prod);
        queued[p] = true;
      }
    }
  }
  // A production evaluated again on the FIRST sets it read last time gives the same strings for
  // the same steps, and its owner's set holds them already: only the steps are taken then. Per
  // production: whether it was evaluated, its steps, and the sets it read with their versions
  // at the time (readFrom[p] on, readCount[p] of them).
  std::vector<std::uint8_t> done(prods.size(), 0);
  std::vector<std::size_t> cost(prods.size(), 0);
  std::vector<std::int32_t> readCount(prods.size(), 0);
  std::vector<std::int32_t> readSets(readFrom.back());
  std::vector<std::uint64_t> readVersions(readFrom.back());
  std::vector<std::int32_t> read;  // of the evaluation at hand
  std::vector<std::uint64_t> version(first.size(), 0);  // how often each FIRST set grew
  auto unchanged = [&](std::int32_t p) {
    if (done[p] == 0) return false;
    const std::size_t from = readFrom[p];
    for (std::size_t i = 0; i < static_cast<std::size_t>(readCount[p]); ++i)
      if (version[readSets[from + i]] != readVersions[from + i]) return false;
    return true;
  };
  // The steps of a production whose evaluation read no FIRST set, which is therefore taken
  // again for its steps alone; kReads for the others. Kept apart from `evaluated` because a
  // long list of such productions is taken again very often.
  constexpr std::size_t kReads = SIZE_MAX;
  std::vector<std::size_t> readsNone(prods.size(), kReads);
  // Such productions queued one after another are taken one after another, changing nothing
  // but the budget: they are kept as one entry of the work list (a negative number -1 - r
  // for runs[r]), whose members stay queued until it is taken, with the sum of their steps.
  // Running out within a run or at its end is running out at its sum, as one by one.
  struct Run {
    std::size_t Cost = 0;
    std::size_t Members = 0;  // the last this many of `members`
  };
  std::vector<Run> runs;
  std::vector<std::int32_t> members(prods.size());  // a stack, `inRuns` deep
  std::size_t inRuns = 0;
  // For each nonterminal, its dependents that are not queued: how many may read a FIRST set
  // (not evaluated yet, or read one last time), and the sum of the steps of the others. When the
  // set grows while none of the first kind waits, the others would all join the run on top of
  // the work list, which is taken next with nothing between: their steps are taken at once
  // instead, and nothing is queued. This keeps a long list of such productions linear.
  std::vector<std::int32_t> idleReading(first.size(), 0);
  std::vector<std::size_t> idleSteps(first.size(), 0);
  // Calls f with each dependent of the productive nonterminal n, ascending.
  auto forDependents = [&](std::size_t n, auto f) {
    if (given_ == nullptr) {
      for (std::int32_t q : dependents[n]) f(q);
      return;
    }
    std::int32_t last = 0;
    for (std::int32_t q : given_->Uses[n])
      if (q != last) {
        last = q;
        if (Productive(prods[static_cast<std::size_t>(q)].Owner)) f(q);
      }
  };
  // The nonterminals whose dependent each production is (the dependents turned around).
  FlatLists owners(prods.size());
  for (std::size_t n = 1; n < first.size(); ++n)
    if (Productive(static_cast<std::int32_t>(n))) forDependents(n, [&](std::int32_t q) { owners.Count(static_cast<std::size_t>(q)); });
  owners.Place();
  for (std::size_t n = 1; n < first.size(); ++n)
    if (Productive(static_cast<std::int32_t>(n)))
      forDependents(n, [&](std::int32_t q) { owners.Add(static_cast<std::size_t>(q), static_cast<std::int32_t>(n)); });
  auto setIdle = [&](std::int32_t q, bool idle) {
    for (const std::int32_t n : owners[static_cast<std::size_t>(q)]) {
      if (readsNone[q] == kReads)
        idleReading[n] += idle ? 1 : -1;
      else if (idle)
        idleSteps[n] += readsNone[q];
      else
        idleSteps[n] -= readsNone[q];
    }
  };
  for (std::size_t p = 1; p < prods.size(); ++p)
    if (!queued[p]) setIdle(static_cast<std::int32_t>(p), true);
  // Sorted terminal numbers (Lists, or Fast beyond the bits): the terminals a set gains are
  // appended, unsorted and marked, while the same set keeps growing, and sorted in before it is
  // read or another set grows. A set that gains one terminal at a time then does not shift all
  // the others each time. Other forms grow in place.
  constexpr bool kAppend = std::is_same_v<Set, Leads>;
  std::int32_t open = 0;     // the set growing so, or 0
  std::size_t openFrom = 0;  // where its unsorted part begins
  std::vector<std::uint8_t> marked;  // by terminal: in that part
  if (kAppend && largest_ >= 0) marked.assign(static_cast<std::size_t>(largest_) + 1, 0);
  auto close = [&] {
    if constexpr (kAppend) {
      if (open == 0) return;
      Set& set = first[static_cast<std::size_t>(open)];
      const auto from = set.begin() + static_cast<std::ptrdiff_t>(openFrom);
      for (auto t = from; t != set.end(); ++t) marked[static_cast<std::size_t>(*t)] = 0;
      std::sort(from, set.end());
      std::inplace_merge(set.begin(), from, set.end());
      open = 0;
    }
  };
  auto grows = [&](std::int32_t owner, const Set& strings) {
    if constexpr (kAppend) {
      if (!marked.empty()) {
        Set& set = first[static_cast<std::size_t>(owner)];
        if (open != owner) {
          close();
          open = owner;
          openFrom = set.size();
        }
        bool grew = false;
        for (const std::int32_t t : strings) {
          if (t < 0 || static_cast<std::size_t>(t) >= marked.size()) {  // not a terminal of the grammar
            close();
            return SetIsGrowing(set, strings) || grew;
          }
          if (marked[static_cast<std::size_t>(t)] != 0 ||
              std::binary_search(set.begin(), set.begin() + static_cast<std::ptrdiff_t>(openFrom), t))
            continue;
          set.push_back(t);
          marked[static_cast<std::size_t>(t)] = 1;
          grew = true;
        }
        return grew;
      }
    }
    return SetIsGrowing(first[static_cast<std::size_t>(owner)], strings);
  };
  // Whether evaluating the production may read the set growing so: it reads the sets of its
  // symbols up to the first terminal or the first whose set lacks the empty string.
  auto readsOpen = [&](std::int32_t p) {
    if (open == 0) return false;
    for (const GrammarSymbol& s : grammar.RightSide(p)) {
      if (s.Kind != kEdgeNonterminal) return false;
      if (s.Code == open) return true;
      if (!Shorter(SetAt(first, s.Code), 1)) return false;  // no λ
    }
    return false;
  };
  Set none;
  Lambda(none);
  while (!work.empty() && complete_) {
    if (work.back() < 0) {
      const Run run = runs.back();
      runs.pop_back();
      work.pop_back();
      for (std::size_t i = inRuns - run.Members; i < inRuns; ++i) {
        queued[members[i]] = false;
        setIdle(members[i], true);
      }
      inRuns -= run.Members;
      if (!Spend(run.Cost) || budget_ == 0) {
        complete_ = false;
        break;
      }
      continue;
    }
    const std::int32_t p = work.back();
    work.pop_back();
    queued[p] = false;
    if (unchanged(p)) {
      setIdle(p, true);
      if (!Spend(cost[p]) || budget_ == 0) {
        complete_ = false;
        break;
      }
      continue;
    }
    const std::size_t before = budget_;
    read.clear();
    if (readsOpen(p)) close();
    // Sorted terminal numbers are looked at where they were made, without a copy.
    Set made;
    const Set* strings = &made;
    if constexpr (kAppend) {
      strings = LeadsOf(grammar.RightSide(p), none, first, &read);
      if (strings == nullptr) strings = &made;
    } else {
      made = FirstOfNoting(grammar.RightSide(p), none, first, &read);
    }
    if (budget_ == 0) {
      complete_ = false;
      break;
    }
    done[p] = 1;
    cost[p] = before - budget_;
    readCount[p] = static_cast<std::int32_t>(read.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
      readSets[readFrom[p] + i] = read[i];
      readVersions[readFrom[p] + i] = version[read[i]];
    }
    if (read.empty() && !plain_) readsNone[p] = cost[p];
    setIdle(p, true);
    const std::int32_t owner = prods[p].Owner;
    if (!grows(owner, *strings)) continue;
    ++version[owner];
    if (idleReading[owner] == 0) {
      if (!Spend(idleSteps[owner]) || budget_ == 0) {
        complete_ = false;
        break;
      }
      continue;
    }
    forDependents(static_cast<std::size_t>(owner), [&](std::int32_t q) {
      if (queued[q]) return;
      queued[q] = true;
      setIdle(q, false);
      if (readsNone[q] == kReads) {
        work.push_back(q);
        return;
      }
      if (work.empty() || work.back() >= 0) {
        work.push_back(-1 - static_cast<std::int32_t>(runs.size()));
        runs.push_back({});
      }
      runs.back().Cost += readsNone[q];
      ++runs.back().Members;
      members[inRuns++] = q;
    });
  }
  close();
}

// What follows each occurrence inside its production is fixed; then a worklist of owners whose
// FOLLOW set grew carries it into the nonterminals they contain.
template <class Set>
void LLSets::ComputeFollow(const Grammar& grammar, const std::vector<Set>& first, std::vector<Set>& follow) {
  const auto& prods = grammar.Productions();
  const std::int32_t start = grammar.Lang().StartNont;
  if (!Reachable(start)) return;
  Lambda(follow[start]);
  struct Occurrence {
    std::int32_t nont = 0;
    bool readsFollow = false;  // when a string of `after` is shorter than k
    Set after;
  };
  // The occurrences in one block, by owner (inside[from[o]] to inside[from[o + 1]]), each
  // owner's in the order of its productions: counted, then placed.
  std::vector<std::size_t> from(first.size() + 1, 0);
  for (std::size_t p = 1; p < prods.size(); ++p) {
    if (!useful_[p]) continue;
    for (const GrammarSymbol& s : grammar.RightSide(static_cast<std::int32_t>(p)))
      if (s.Kind == kEdgeNonterminal) ++from[static_cast<std::size_t>(prods[p].Owner) + 1];
  }
  for (std::size_t n = 1; n < from.size(); ++n) from[n] += from[n - 1];
  std::vector<Occurrence> inside(from.back());
  std::vector<std::size_t> placed(from.begin(), from.end() - 1);
  Set none;
  Lambda(none);
  for (std::size_t p = 1; p < prods.size() && complete_; ++p) {
    if (!useful_[p]) continue;
    const SymbolString& right = grammar.RightSide(static_cast<std::int32_t>(p));
    for (std::size_t i = 0; i < right.size(); ++i) {
      if (right[i].Kind != kEdgeNonterminal) continue;
      const std::span<const GrammarSymbol> rest = std::span(right).subspan(i + 1);
      Occurrence& o = inside[placed[static_cast<std::size_t>(prods[p].Owner)]++];
      o.nont = right[i].Code;
      o.after = FirstOfNoting(rest, none, first, nullptr);
      o.readsFollow = Shorter(o.after, k_);
      if (budget_ == 0) complete_ = false;
    }
  }
  // An occurrence carried once that does not read the owner's set carries the same strings,
  // which are there, each time again, for |after| steps: it is then dropped from its owner's
  // block (which keeps the others in order up to active[owner]) and its steps are added to
  // idle[owner], which a pass takes first. The steps of a pass are the same, only taken in
  // another order; running out within a pass gives up the whole either way.
  std::vector<std::size_t>& active = placed;  // each at the end of its owner's block now
  std::vector<std::size_t> idle(first.size(), 0);
  std::vector<std::int32_t> work;
  std::vector<std::uint8_t> queued(first.size(), 0);
  for (std::size_t n = 1; n < first.size(); ++n)
    if (reachable_[n]) {
      work.push_back(static_cast<std::int32_t>(n));
      queued[n] = true;
    }
  std::vector<std::uint8_t> carried;  // Form::Plain: by occurrence
  if (plain_) carried.assign(inside.size(), 0);
  while (!work.empty() && complete_) {
    const auto owner = static_cast<std::size_t>(work.back());
    work.pop_back();
    queued[owner] = false;
    if (plain_) {  // the model: each occurrence in turn, its steps where it comes
      for (std::size_t at = from[owner]; at < from[owner + 1]; ++at) {
        Occurrence& o = inside[at];
        if (carried[at] != 0 && !o.readsFollow) {
          if (!Spend(o.after.size())) {
            complete_ = false;
            break;
          }
          continue;
        }
        carried[at] = 1;
        Set more;
        if (!Concat(o.after, follow[owner], more)) {
          complete_ = false;
          break;
        }
        if (SetIsGrowing(follow[o.nont], more) && !queued[o.nont]) {
          queued[o.nont] = true;
          work.push_back(o.nont);
        }
      }
      continue;
    }
    if (!Spend(idle[owner])) {
      complete_ = false;
      break;
    }
    std::size_t kept = from[owner];
    for (std::size_t at = from[owner]; at < active[owner]; ++at) {
      Occurrence& o = inside[at];
      Set more;
      if (!Concat(o.after, follow[owner], more)) {
        complete_ = false;
        break;
      }
      if (SetIsGrowing(follow[o.nont], more) && !queued[o.nont]) {
        queued[o.nont] = true;
        work.push_back(o.nont);
      }
      if (!o.readsFollow) {
        idle[owner] += o.after.size();
      } else if (kept++ != at) {
        inside[kept - 1] = std::move(o);
      }
    }
    if (complete_) active[owner] = kept;
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
