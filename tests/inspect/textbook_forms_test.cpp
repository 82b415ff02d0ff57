// The lookahead sets computed in their fast forms (bits or terminal numbers for k = 1, packed
// keys for larger k) against the plain computation on sets of terminal vectors: on random
// grammars at every k, the same sets, the same outcome under budgets that run out at various points, and
// the same steps of the budget taken, also by the queries made afterwards, and when the productive
// symbols are taken from FindUseless.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>

#include "codegen/codegen_fixture.h"
#include "findings/packed_strings.h"
#include "findings/textbook.h"
#include "findings/useless.h"
#include "inspected.h"
#include "support/random_grammar.h"

namespace parvolen::inspect {
namespace {

// The keys against the strings they stand for: order, length, joining cut to k, and the way back.
TEST(PackedStrings, KeysBehaveAsTheStringsTheyHold) {
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    const auto k = static_cast<std::int32_t>(rng() % 5 + 1);
    const auto largest = static_cast<std::int32_t>(rng() % (round % 3 == 0 ? 4096 : 9));
    const auto shape = PackedShape::For(k, largest);
    ASSERT_TRUE(shape.has_value()) << k << " " << largest;
    auto make = [&] {
      TermString s(rng() % static_cast<std::uint32_t>(k + 1));
      for (auto& t : s) t = static_cast<std::int32_t>(rng() % static_cast<std::uint32_t>(largest + 1));
      return s;
    };
    const TermString x = make(), y = make();
    const auto px = shape->Pack(x), py = shape->Pack(y);
    ASSERT_TRUE(px && py);
    EXPECT_EQ(shape->Unpack(*px), x);
    EXPECT_EQ(PackedShape::Length(*px), static_cast<std::int32_t>(x.size()));
    EXPECT_EQ(*px < *py, x < y);
    TermString joined = x;
    joined.insert(joined.end(), y.begin(), y.end());
    joined.resize(std::min(joined.size(), static_cast<std::size_t>(k)));
    EXPECT_EQ(shape->Unpack(shape->Join(*px, *py)), joined);
    TermString longer(static_cast<std::size_t>(k) + 1, 1);
    EXPECT_FALSE(shape->Pack(longer).has_value());
  }
  EXPECT_FALSE(PackedShape::For(5, 4096).has_value());  // 13 bits: 65 with the length
  EXPECT_TRUE(PackedShape::For(2, (1 << 30) - 1).has_value());
}

void ExpectSameSets(const Grammar& g, const LLSets& fast, const LLSets& plain, const std::string& where) {
  ASSERT_EQ(fast.Complete(), plain.Complete()) << where;
  ASSERT_EQ(fast.BudgetLeft(), plain.BudgetLeft()) << where;
  for (std::int32_t p = 0; p <= g.Lang().LastProduction + 1; ++p) EXPECT_EQ(fast.Useful(p), plain.Useful(p)) << where;
  for (std::int32_t n = 0; n <= g.Lang().LastNonterminal + 1; ++n) {
    EXPECT_EQ(fast.Productive(n), plain.Productive(n)) << where << " nonterminal " << n;
    EXPECT_EQ(fast.Reachable(n), plain.Reachable(n)) << where << " nonterminal " << n;
    EXPECT_EQ(fast.First(n), plain.First(n)) << where << " FIRST of " << n;
    EXPECT_EQ(fast.Follow(n), plain.Follow(n)) << where << " FOLLOW of " << n;
  }
  // The queries of the decisions: each right side from each place, with FOLLOW of its owner.
  const auto& prods = g.Productions();
  for (std::size_t p = 1; p < prods.size(); ++p) {
    if (!fast.Useful(static_cast<std::int32_t>(p))) continue;
    const SymbolString& right = g.RightSide(static_cast<std::int32_t>(p));
    for (std::size_t i = 0; i <= right.size(); ++i) {
      const SymbolString rest(right.begin() + static_cast<std::ptrdiff_t>(i), right.end());
      EXPECT_EQ(fast.FirstOf(rest, fast.Follow(prods[p].Owner)), plain.FirstOf(rest, plain.Follow(prods[p].Owner)))
          << where << " production " << p << " from " << i;
      // Gathered as bits where the sets are held so: the same terminals for the same steps.
      TermBits bits;
      LLSets::Leads leads;
      if (fast.AddFirstBits(rest, prods[p].Owner, bits)) bits.ForEach([&](std::int32_t t) { leads.push_back(t); });
      else leads = fast.FirstLeads(rest, prods[p].Owner);
      EXPECT_EQ(leads, plain.FirstLeads(rest, prods[p].Owner)) << where;
      EXPECT_EQ(fast.FirstLeads(rest, std::nullopt), plain.FirstLeads(rest, std::nullopt)) << where;
    }
  }
  EXPECT_EQ(fast.BudgetLeft(), plain.BudgetLeft()) << where << " after the queries";
}

TEST(TextbookForms, FastFormsGiveThePlainSetsForTheSameSteps) {
  const int count = testing_codegen::PropertyGrammarCount(150);
  int compared = 0;
  for (int seed = 1; seed <= count; ++seed) {
    const auto lang = testing_grammar::MakeRandomLanguage(static_cast<unsigned>(seed));
    const std::string path = TempPath("forms");
    std::ofstream(path, std::ios::binary) << lang.description;
    Inspection read(path, true);  // as the embeddable translator reads it
    std::remove(path.c_str());
    if (read.Code() != stOk || read.Lang() == nullptr) continue;
    const Grammar g(*read.Lang(), nullptr);
    ++compared;
    for (std::int32_t k = 1; k <= 5; ++k) {
      // Budgets that run out somewhere in the computation, or just suffice.
      const std::size_t spent = kTextbookBudget - LLSets(g, k, kTextbookBudget, LLSets::Form::Plain).BudgetLeft();
      // Fast takes bits at k = 1 (the random grammars have few terminals), Lists terminal numbers.
      for (const LLSets::Form form : {LLSets::Form::Fast, LLSets::Form::Lists}) {
        const LLSets plain(g, k, kTextbookBudget, LLSets::Form::Plain);
        const LLSets fast(g, k, kTextbookBudget, form);
        const std::string where = "seed " + std::to_string(seed) + " k " + std::to_string(k) +
                                  (form == LLSets::Form::Lists ? " lists" : "");
        ExpectSameSets(g, fast, plain, where);
        const UselessSymbols useless = FindUseless(g);  // its productive symbols taken over
        std::int32_t largest = 0;
        for (std::size_t p = 1; p < g.Productions().size(); ++p)
          for (const GrammarSymbol& s : g.Productions()[p].Path.empty() ? SymbolString{} : g.RightSide(static_cast<std::int32_t>(p)))
            if (s.Kind == kEdgeTerminal) largest = s.Code < 0 || largest < 0 ? -1 : std::max(largest, s.Code);
        EXPECT_EQ(useless.LargestTerminal, largest) << where;
        ExpectSameSets(g, LLSets(g, k, kTextbookBudget, form, &useless), LLSets(g, k, kTextbookBudget, LLSets::Form::Plain),
                       where + " with useless");
        for (const std::size_t budget : {spent / 3, spent / 2 + 1, spent - 1, spent, spent + 1}) {
          const LLSets smallPlain(g, k, budget, LLSets::Form::Plain);
          const LLSets smallFast(g, k, budget, form);
          ExpectSameSets(g, smallFast, smallPlain, where + " budget " + std::to_string(budget));
        }
      }
      if (::testing::Test::HasFailure()) return;
    }
  }
  EXPECT_GT(compared, count / 4);  // the others are refused when read
}

// The rest of a production from an edge of its path and the productions through an edge, as
// the findings read them without copies, against the path itself.
TEST(TextbookForms, RestsAndProductionsThroughEdgesFollowThePaths) {
  const int count = testing_codegen::PropertyGrammarCount(150);
  for (int seed = 1; seed <= count; ++seed) {
    const auto lang = testing_grammar::MakeRandomLanguage(static_cast<unsigned>(seed));
    const std::string path = TempPath("rests");
    std::ofstream(path, std::ios::binary) << lang.description;
    Inspection read(path, true);
    std::remove(path.c_str());
    if (read.Code() != stOk || read.Lang() == nullptr) continue;
    const Grammar g(*read.Lang(), nullptr);
    const Language& l = *read.Lang();
    for (std::int32_t p = 1; p < static_cast<std::int32_t>(g.Productions().size()); ++p) {
      const std::vector<std::int32_t>& edges = g.Productions()[p].Path;
      for (std::size_t i = 0; i < edges.size(); ++i) {
        SymbolString rest;
        for (std::size_t j = i; j < edges.size(); ++j)
          if (l.EdgeTab[edges[j]].WhoAmI == kEdgeTerminal || l.EdgeTab[edges[j]].WhoAmI == kEdgeNonterminal)
            rest.push_back({l.EdgeTab[edges[j]].WhoAmI, l.EdgeTab[edges[j]].Code});
        const auto span = g.RestSpan(p, edges[i]);
        EXPECT_EQ(SymbolString(span.begin(), span.end()), rest) << "seed " << seed << " production " << p;
        const auto through = g.ProductionsThrough(edges[i]);
        EXPECT_TRUE(std::find(through.begin(), through.end(), p) != through.end()) << "seed " << seed;
        EXPECT_EQ(std::vector<std::int32_t>(through.begin(), through.end()), g.ProductionsBelow(edges[i]));
      }
      EXPECT_TRUE(g.RestSpan(p, 0).empty());
    }
    if (::testing::Test::HasFailure()) return;
  }
}

}  // namespace
}  // namespace parvolen::inspect
