#include "inspect/report.h"

#include <sstream>

#include "inspect/report_parts.h"
#include "findings/strings.h"
#include "findings/textbook.h"
#include "reader/sections.h"

namespace parvolen::inspect {
namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

SummaryReport Summarize(const Language& lang) {
  SummaryReport s;
  s.Language = std::string(lang.Name.View());
  s.Tables = {{"Terminals", lang.LastTerminal, lang.Terminals},
              {"Nonterminals", lang.LastNonterminal, lang.Nonterminals},
              {"Productions", lang.LastProduction, lang.Productions},
              {"Edges", lang.LastEdge, lang.Edges},
              {"Views", lang.LastView, lang.Views},
              {"Nodes", lang.LastNode, lang.Nodes},
              {"Keywords", lang.LastKeyword, lang.Keywords},
              {"SymbNodes", lang.LastSymbNode, lang.SymbNodes},
              {"Actions", lang.LastAction, lang.Actions},
              {"OutTerms", lang.LastOutTerm, lang.OutTerms},
              {"SemInsts", lang.LastSemInst, lang.SemInsts}};
  const std::pair<const char*, const Name*> names[] = {{"IdName", &lang.IdName},   {"NumName", &lang.NumName},
                                                       {"CharName", &lang.CharName}, {"StrName", &lang.StrName},
                                                       {"EofName", &lang.EofName}, {"EolName", &lang.EolName}};
  const std::int32_t numbers[] = {lang.IdTerm, lang.NumTerm, lang.CharTerm, lang.StrTerm, lang.EoiCode, 0};
  for (std::size_t i = 0; i < std::size(names); ++i)
    if (!names[i].second->Empty()) s.Specials.push_back({names[i].first, std::string(names[i].second->View()), numbers[i]});
  s.StartingSymbol = std::string(lang.StartingSymbol.View());
  s.Lookahead = lang.Lookahead;
  s.Options = {{"Extended", lang.Extended != 0},         {"AllAheads", lang.AllAheads != 0},
               {"CaseSensitive", lang.CaseSensitive != 0}, {"IgnoreValues", lang.IgnoreValues != 0},
               {"UseChars", lang.UseChars != 0},           {"UseStrings", lang.UseStrings != 0},
               {"Extensible", lang.Extensible != 0}};
  return s;
}

std::vector<Names> SetNames(const Grammar& grammar, const StringSet& strings) {
  std::vector<Names> out;
  for (const TermString& s : strings) out.push_back(NamesOf(grammar, s));
  return out;
}

// Whether the views and decision lists are complete: the reading succeeded, or it failed in a
// line of a section after [Productions], whose end ran the whole analysis before.
bool AnalysisComplete(const ReadOutcome& outcome) {
  if (outcome.Code == stOk) return true;
  if (outcome.Progress == nullptr || outcome.Progress->Handled.empty()) return false;
  const ReadProgress::Line& last = outcome.Progress->Handled.back();
  std::size_t productions = 0;
  while (productions < SectionTable().size() && SectionTable()[productions].Header != "[Productions]") ++productions;
  return !outcome.Progress->LinesDone && last.Number == outcome.Progress->LastNumber && last.Row > productions;
}

NonterminalReport DescribeNonterminal(const Grammar& grammar, const LLSets& ll1, const LLSets* llk,
                                      std::int32_t n, bool analysed) {
  const Language& lang = grammar.Lang();
  const NontRec& nont = lang.NontTab[n];
  NonterminalReport r;
  r.Name = grammar.NontName(n);
  r.Number = n;
  r.Productive = ll1.Productive(n);
  r.Reachable = ll1.Reachable(n);
  for (const Production& p : grammar.Productions())
    if (p.Number != 0 && p.Owner == n) r.Productions.push_back(RefTo(grammar, p.Number));
  if (analysed) {
    const std::pair<const char*, std::int32_t> views[] = {
        {"First", nont.First}, {"Follow", nont.Follow}, {"NLRF", nont.NLRF}, {"DLRF", nont.DLRF}, {"PureDLRF", nont.PureDLRF}};
    for (const auto& [name, root] : views) r.Views.push_back({name, SetNames(grammar, ViewStrings(lang, root))});
  }
  if (llk != nullptr && llk->Complete()) {
    const std::string k = std::to_string(llk->K());
    r.Textbook.push_back({"FIRST_" + k, SetNames(grammar, llk->First(n))});
    r.Textbook.push_back({"FOLLOW_" + k, SetNames(grammar, llk->Follow(n))});
  }
  return r;
}

ChoiceReport DescribeChoice(const Grammar& grammar, const ChoicePoint& choice) {
  const Language& lang = grammar.Lang();
  ChoiceReport r;
  r.Nonterminal = grammar.NontName(choice.Owner);
  r.Where = grammar.Where(choice);
  for (std::int32_t m : choice.Members) r.Members.push_back(MemberOf(grammar, m));
  for (const Decision& d : DecisionStrings(lang, choice.Decision))
    r.Decisions.push_back({NamesOf(grammar, d.String), d.Member == 0 ? MemberRef{} : MemberOf(grammar, d.Member)});
  r.Loop = choice.InTails && choice.Prefix.empty();
  if (r.Loop) {
    const auto terms = ViewTopTerms(lang, lang.NontTab[choice.Owner].DLRF);
    r.LoopTerms = NamesOf(grammar, TermString(terms.begin(), terms.end()));
  }
  return r;
}

}  // namespace

Report BuildReport(const ReadOutcome& outcome) {
  Report report;
  report.File = outcome.File;
  report.Code = outcome.Code;
  report.Console = SplitLines(outcome.Console);
  report.HaveRecord = outcome.Lang != nullptr;
  if (outcome.Lang == nullptr) {
    if (outcome.Code != stOk) report.Failure = BuildFailure(outcome, nullptr, nullptr);
    return report;
  }
  const Language& lang = *outcome.Lang;
  report.Analysed = AnalysisComplete(outcome);
  report.Summary = Summarize(lang);

  const Grammar grammar(lang, outcome.Progress);
  const LLSets ll1(grammar, 1);
  const std::int32_t k = lang.Lookahead < 1 ? 1 : lang.Lookahead;
  std::optional<LLSets> llk;
  if (report.Analysed && k > 1) llk.emplace(grammar, k);
  const LLSets* shown = report.Analysed ? (k > 1 ? &*llk : &ll1) : nullptr;
  report.TextbookK = k;
  report.TextbookComplete = shown != nullptr && shown->Complete();

  if (lang.NontTab.Exists())
    for (std::int32_t n = 1; n <= lang.LastNonterminal; ++n)
      report.Nonterminals.push_back(DescribeNonterminal(grammar, ll1, shown, n, report.Analysed));
  Examples examples(grammar, ll1);
  if (report.Analysed) {
    for (const ChoicePoint& choice : grammar.Choices()) report.Choices.push_back(DescribeChoice(grammar, choice));
    report.Warnings = BuildWarnings(grammar, FindLosses(grammar, ll1, examples));
  }
  if (outcome.Code != stOk) report.Failure = BuildFailure(outcome, &grammar, &examples);
  return report;
}

}  // namespace parvolen::inspect
