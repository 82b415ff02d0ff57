// A grammar built in code for the analysis tests: a record taken from a pool, roomy
// capacities, symbols declared by name, production lines, the analysis, and text dumps.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "analysis/dump.h"
#include "analysis/productions.h"
#include "model/language.h"
#include "model/symbol_tables.h"

namespace parvolen {

class TestGrammar {
 public:
  using Names = std::initializer_list<std::string_view>;

  explicit TestGrammar(std::int32_t lookahead = 1) {
    EXPECT_EQ(pool_.Create(handle_), stOk);
    lang_ = pool_.Record(handle_);
    lang_->Lookahead = lookahead;
    lang_->Terminals = lang_->Nonterminals = lang_->Actions = lang_->OutTerms = lang_->Productions = 20;
    lang_->Edges = lang_->Views = lang_->Nodes = 300;
  }

  Language& lang() { return *lang_; }
  Language* rec() { return lang_; }

  // Declares terminals, nonterminals and, optionally, actions and output terminals.
  void Declare(Names terminals, Names nonterminals, Names actions = {}, Names outTerms = {}) {
    std::int32_t n = 0;
    for (std::string_view t : terminals) EXPECT_EQ(NewTerminal(*lang_, t, n), stOk) << t;
    for (std::string_view t : nonterminals) EXPECT_EQ(NewNonterminal(*lang_, t, n), stOk) << t;
    for (std::string_view t : actions) EXPECT_EQ(NewAction(*lang_, t, n), stOk) << t;
    for (std::string_view t : outTerms) EXPECT_EQ(NewOutTerm(*lang_, t, n), stOk) << t;
  }
  // Makes the named terminal the end of input.
  void Eoi(std::string_view name) { EXPECT_EQ(FindTerminal(*lang_, name, lang_->EoiCode), stOk); }

  // Feeds the lines to the [Productions] line handler; the first failure ends it.
  Status Productions(Names lines) {
    for (std::string_view line : lines) {
      if (Status st = ProdLine(*lang_, line); st != stOk) return st;
    }
    return stOk;
  }
  // The productions, then the end of [Productions]: follow tries, views, decision lists.
  Status Build(Names lines) {
    if (Status st = Productions(lines); st != stOk) return st;
    return ProductionsEnd(pool_, handle_);
  }

  NontRec& N(std::string_view name) {
    std::int32_t n = 0;
    EXPECT_EQ(FindNonterminal(*lang_, name, n), stOk) << name;
    return lang_->NontTab[n];
  }
  std::string Edges(std::int32_t first) { return DumpEdges(*lang_, first); }
  std::string Views(std::int32_t first) { return DumpViews(*lang_, first); }
  std::string Nodes(std::int32_t first) { return DumpNodes(*lang_, first); }

 private:
  LanguagePool pool_;
  std::int32_t handle_ = 0;
  Language* lang_ = nullptr;
};

}  // namespace parvolen
