#include "findings/grammar_diagnostics.h"

#include <algorithm>
#include <set>

#include "findings/examples.h"
#include "findings/extended_losses.h"
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

std::vector<Diagnostic> LossDiagnostics(const Grammar& grammar, const DescriptionPlaces& places, Severity level,
                                        const UselessSymbols* useless) {
  const LLSets ll1(grammar, 1, kTextbookBudget, LLSets::Form::Fast, useless);
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

std::vector<Diagnostic> ExtendedDiagnostics(const Grammar& grammar, const DescriptionPlaces& places, Severity level) {
  std::vector<Diagnostic> out;
  for (const ExtendedLoss& loss : FindExtendedLosses(grammar)) {
    const ChoicePoint& choice = *loss.Choice;
    const std::string owner = "'" + grammar.NontName(choice.Owner) + "'";
    const auto example = [&](const TermString& input) {
      return input.empty() ? ", such as the empty input" : ", such as " + Quoted(NamesOf(grammar, input));
    };
    if (loss.Loop) {
      Diagnostic d = AtMember(grammar, places, choice.First);
      d.Level = level;
      const std::string at = Quoted(NamesOf(grammar, loss.String));
      d.Text = "with Extended = yes the tail loop of " + owner + " goes on at " + at + ", which can also follow " +
               owner + ": the generated parser never ends the loop before " + at + " and rejects input that needs " +
               "it to";
      if (loss.Example) d.Text += example(*loss.Example) + " (unless the grammar derives it another way too)";
      d.Hint = "let the tails of " + owner + " begin with terminals that cannot follow it";
      out.push_back(std::move(d));
      continue;
    }
    Diagnostic d = AtMember(grammar, places, loss.Member);
    d.Level = level;
    d.Text = "with Extended = yes the choice of " + owner + " " + grammar.Where(choice) + " takes " +
             grammar.EdgeText(loss.Winner) + " on " + Quoted(NamesOf(grammar, loss.String)) +
             " (Lookahead = " + std::to_string(grammar.Lang().Lookahead) + "), never " + MemberText(grammar.EdgeText(loss.Member)) +
             ": the generated parser rejects input that the grammar derives" + example(loss.Example.value_or(TermString{}));
    d.Hint = "let the members of this choice begin with strings that cannot follow " + owner;
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
