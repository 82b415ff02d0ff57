#include "findings/grammar_diagnostics.h"

#include <algorithm>
#include <set>

#include "findings/examples.h"
#include "findings/kind_failure.h"
#include "findings/loss_warnings.h"
#include "findings/losses.h"
#include "findings/strings.h"
#include "findings/textbook.h"

namespace parvolen {
namespace {

std::string Quoted(const Names& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : " ") + name;
  return "'" + text + "'";
}

std::string Either(const Names& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i)
    text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + ("'" + names[i] + "'");
  return text;
}

// A member as the diagnostic at its place names it: its edge, or the end of the production.
std::string MemberText(const std::string& edge) { return edge == "end" ? "ending the production here" : edge; }

// A suggestion, written as a sentence, as the hint of a diagnostic.
std::string AsHint(std::string sentence) {
  if (!sentence.empty() && sentence.back() == '.') sentence.pop_back();
  if (!sentence.empty() && sentence.front() >= 'A' && sentence.front() <= 'Z') sentence.front() += 'a' - 'A';
  return sentence;
}

// Why the parser rejects the input, in one clause.
std::string LossReason(const Grammar& grammar, const Loss& loss, const WarningReport& w) {
  const std::string owner = "'" + w.Nonterminal + "'";
  switch (loss.Kind) {
    case LossKind::Missing:
      if (loss.InLoop)
        return "the tail loop of " + owner + " stops on " + Either(w.Terminals) + ", with which the tail " +
               w.Member.Edge + " begins";
      return "on " + Either(w.Terminals) + " the decision list of " + owner + " " + w.Where + " has no entry for " +
             MemberText(w.Member.Edge) +
             (loss.RightList != 0 ? "; the right-recursive list '" + grammar.NontName(loss.RightList) +
                                        "' loses what follows it"
                                  : "");
    case LossKind::BelowLevelOne: {
      Names sharing;
      for (std::int32_t m : loss.Sharing) sharing.push_back(grammar.EdgeText(m));
      std::string members = "for " + w.Member.Edge;
      if (sharing.size() >= 2) {
        members = "between " + sharing.front();
        for (std::size_t i = 1; i < sharing.size(); ++i) members += (i + 1 == sharing.size() ? " and " : ", ") + sharing[i];
      }
      return "on " + Either(w.Terminals) + " the choice of " + owner + " " + members +
             " is left to a later terminal (Lookahead = " + std::to_string(grammar.Lang().Lookahead) +
             "), but the parser decides on one terminal";
    }
    case LossKind::EndUnseen:
      return (loss.InLoop ? "the tail loop of " + owner + " looks at the end of the input"
                          : "at the end of the input " + owner + " has to take " + MemberText(w.Member.Edge)) +
             ", but no end-of-input terminal is named (EofName)";
  }
  return "";
}

// "Expr -> Sum -> Expr": the view's owner, then each step of the chain.
std::string ChainText(const Reentry& reentry) {
  std::string text = reentry.ViewOwner;
  for (const ChainStep& step : reentry.Chain) {
    std::string part = step.Edge;
    if (step.Role == "enters" && part.size() >= 2) part = part.substr(1, part.size() - 2);
    if (step.Role == "leaves") part = "end of " + part;
    text += " -> " + part;
  }
  return text;
}

// The edge at its first production.
Diagnostic AtMember(const Grammar& grammar, const DescriptionPlaces& places, std::int32_t edge) {
  const std::vector<std::int32_t> prods = grammar.ProductionsBelow(edge);
  return places.AtEdge(grammar, prods.empty() ? 0 : prods.front(), edge);
}

}  // namespace

std::vector<Diagnostic> LossDiagnostics(const Grammar& grammar, const DescriptionPlaces& places, Severity level) {
  const LLSets ll1(grammar, 1);
  Examples examples(grammar, ll1);
  const std::vector<Loss> losses = FindLosses(grammar, ll1, examples);
  const std::vector<WarningReport> warnings = BuildWarnings(grammar, losses);
  std::vector<Diagnostic> out;
  for (std::size_t i = 0; i < losses.size() && i < warnings.size(); ++i) {
    const WarningReport& w = warnings[i];
    const std::int32_t prod = w.Member.Productions.empty() ? 0 : w.Member.Productions.front().Number;
    Diagnostic d = places.AtEdge(grammar, prod, losses[i].Member);
    d.Level = level;
    Names input = w.Before;
    input.insert(input.end(), w.After.begin(), w.After.end());
    d.Text = "the generated parser rejects input that the grammar derives";
    if (w.HaveExample) d.Text += input.empty() ? ", such as the empty input" : ", such as " + Quoted(input);
    d.Text += ": " + LossReason(grammar, losses[i], w);
    d.Hint = AsHint(w.Suggestion);
    out.push_back(std::move(d));
  }
  return out;
}

std::vector<Diagnostic> ExtendedLoopDiagnostics(const Grammar& grammar, const DescriptionPlaces& places,
                                                Severity level) {
  std::vector<Diagnostic> out;
  const Language& lang = grammar.Lang();
  if (lang.Extended == 0 || !lang.NontTab.Exists()) return out;
  const std::size_t nonts = static_cast<std::size_t>(std::max(lang.LastNonterminal, 0)) + 1;
  bool loops = false;
  for (const ChoicePoint& choice : grammar.Choices()) loops = loops || (choice.InTails && choice.Prefix.empty());
  if (!loops) return out;
  const LLSets ll1(grammar, 1);
  if (!ll1.Complete()) return out;
  // The terminals that can come after each nonterminal where it ends its tail loop, in one pass
  // over the right sides.
  std::vector<std::set<std::int32_t>> exits(nonts);
  const auto& prods = grammar.Productions();
  for (std::size_t q = 1; q < prods.size(); ++q) {
    const auto prod = static_cast<std::int32_t>(q);
    if (!ll1.Useful(prod)) continue;
    const SymbolString& right = grammar.RightSide(prod);
    for (std::size_t i = 0; i < right.size(); ++i) {
      const std::int32_t n = right[i].Code;
      if (right[i].Kind != kEdgeNonterminal || n < 1 || static_cast<std::size_t>(n) >= nonts) continue;
      if (lang.NontTab[n].RecEdges == 0 || (i == 0 && prods[q].LeftRecursive && prods[q].Owner == n)) continue;
      const SymbolString rest(right.begin() + static_cast<std::ptrdiff_t>(i) + 1, right.end());
      for (const TermString& s : ll1.FirstOf(rest, ll1.Follow(prods[q].Owner)))
        if (!s.empty()) exits[n].insert(s.front());
    }
  }
  Examples examples(grammar, ll1);
  for (const ChoicePoint& choice : grammar.Choices()) {
    if (!(choice.InTails && choice.Prefix.empty()) || !ll1.Reachable(choice.Owner)) continue;
    const auto goesOn = ViewTopTerms(lang, lang.NontTab[choice.Owner].DLRF);
    std::int32_t term = 0;
    for (std::int32_t t : exits[choice.Owner])
      if (goesOn.contains(t)) {
        term = t;
        break;
      }
    if (term == 0) continue;
    const std::string owner = "'" + grammar.NontName(choice.Owner) + "'";
    Diagnostic d = AtMember(grammar, places, choice.First);
    d.Level = level;
    const std::string at = "'" + grammar.TermName(term) + "'";
    d.Text = "with Extended = yes the tail loop of " + owner + " goes on at " + at + ", which can also follow " +
             owner + ": the generated parser never ends the loop before " + at + " and rejects input that needs " +
             "it to";
    const auto around = examples.Around(choice.Owner, term);
    const auto itself = examples.Shortest({{kEdgeNonterminal, choice.Owner}});
    if (around && itself) {
      TermString input = around->Before;
      input.insert(input.end(), itself->begin(), itself->end());
      input.insert(input.end(), around->After.begin(), around->After.end());
      if (lang.EoiCode != 0 && !input.empty() && input.back() == lang.EoiCode) input.pop_back();
      d.Text += input.empty() ? ", such as the empty input" : ", such as " + Quoted(NamesOf(grammar, input));
      d.Text += " (unless the grammar derives it another way too)";
    }
    d.Hint = "let the tails of " + owner + " begin with terminals that cannot follow it";
    out.push_back(std::move(d));
  }
  return out;
}

std::vector<Diagnostic> KindDiagnostics(const Grammar& grammar, const AnalysisTrace& trace, Status st,
                                        const DescriptionPlaces& places) {
  std::vector<Diagnostic> out;
  if (st == stNotKindAny) {
    const std::optional<Reentry> reentry = FindReentry(grammar, trace);
    if (!reentry) return out;
    // At the edge that enters the nonterminal again: the last step that enters it.
    std::int32_t again = 0;
    for (std::int32_t e : trace.Steps)
      if (e >= 1 && e <= grammar.Lang().LastEdge && grammar.Lang().EdgeTab[e].WhoAmI == kEdgeNonterminal &&
          grammar.Lang().EdgeTab[e].Code == trace.Reentered)
        again = e;
    Diagnostic d = AtMember(grammar, places, again);
    d.Text = "'" + reentry->Reentered + "' is entered again without reading a terminal: " + ChainText(*reentry);
    const bool begins = trace.View == ViewKind::First || trace.View == ViewKind::PureDLRF;
    d.Hint = begins ? "no lookahead decides such a grammar; write indirect left recursion as direct left recursion"
                    : "no lookahead decides such a grammar; the way back passes only through parts that can be "
                      "empty: write the optional part out in the productions that use it";
    out.push_back(std::move(d));
  } else if (st == stNotKindGiven) {
    const std::optional<Conflict> conflict = FindConflict(grammar, trace, nullptr);
    if (!conflict) return out;
    const std::string claimed = Quoted(conflict->Claimed);
    Diagnostic d = AtMember(grammar, places, trace.Claimant);
    d.Text = "the choice of '" + conflict->Nonterminal + "' " + conflict->Where + " cannot be decided: both " +
             MemberText(conflict->Holder.Edge) + " and " + MemberText(conflict->Claimant.Edge) + " are taken on " +
             claimed + " (Lookahead = " + std::to_string(grammar.Lang().Lookahead) + ")";
    d.Hint = "let the productions share their beginning, so that the choice comes where they differ";
    Diagnostic note = AtMember(grammar, places, trace.Holder);
    note.Level = Severity::Note;
    note.Text = MemberText(conflict->Holder.Edge) + " is taken on " + claimed + " as well";
    out.push_back(std::move(d));
    out.push_back(std::move(note));
  }
  return out;
}

}  // namespace parvolen
