#include "findings/loss_warnings.h"

#include "findings/strings.h"

namespace parvolen {
namespace {

std::string Cite(const ProductionRef& ref) {
  const std::string where = ref.Line != 0 ? "line " + std::to_string(ref.Line) : "production " + std::to_string(ref.Number);
  return where + " (" + ref.Text + ")";
}

std::string Cite(const MemberRef& member) {
  std::string text = member.Edge == "end" ? "the end" : member.Edge;
  for (std::size_t i = 0; i < member.Productions.size(); ++i)
    text += (i == 0 ? " of " : ", ") + Cite(member.Productions[i]);
  return text;
}

std::string List(const Names& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  return text;
}

// The right-recursive production written left-recursive: its last [L] moved to the front.
std::string LeftRecursiveForm(const Grammar& grammar, std::int32_t list, std::int32_t prod) {
  std::vector<std::int32_t> path = grammar.Productions()[prod].Path;
  for (auto it = path.rbegin(); it != path.rend(); ++it) {
    const EdgeRec& edge = grammar.Lang().EdgeTab[*it];
    if (edge.WhoAmI == kEdgeNonterminal && edge.Code == list) {
      path.erase(std::next(it).base());
      break;
    }
  }
  const std::string name = grammar.NontName(list);
  return name + " ::= [" + name + "]" + grammar.PathText(path);
}

void ExplainMissing(const Grammar& grammar, const Loss& loss, WarningReport& w) {
  const std::string owner = grammar.NontName(loss.Choice->Owner);
  const std::string terms = List(w.Terminals);
  if (loss.InLoop) {
    const auto loop = ViewTopTerms(grammar.Lang(), grammar.Lang().NontTab[loss.Choice->Owner].DLRF);
    w.Explanation = "The tail loop of " + owner + " repeats only while the coming terminal is in its DLRF view (" +
                    (loop.empty() ? std::string("none") : List(NamesOf(grammar, TermString(loop.begin(), loop.end())))) +
                    "); the tail " + Cite(w.Member) + " also begins with " + terms +
                    ", so there the loop ends and the input is rejected although the grammar derives it.";
    w.Suggestion = "Let every left-recursive tail of " + owner + " begin with a terminal.";
    return;
  }
  w.Explanation = "On " + terms + " the generated parser cannot take " + Cite(w.Member) + ": the decision list " +
                  "has no entry for it, so the parser reports a syntax error although the grammar derives the input.";
  if (loss.RightList != 0) {
    const std::string list = grammar.NontName(loss.RightList);
    w.Explanation += " The follow computation stops early where the right-recursive list " + list +
                     " meets its own end again, and loses what follows " + list + ".";
    w.Suggestion = "Write the list left-recursive";
    if (loss.RightProd != 0)
      w.Suggestion += ": " + LeftRecursiveForm(grammar, loss.RightList, loss.RightProd) + " in place of " +
                      Cite(RefTo(grammar, loss.RightProd));
    w.Suggestion += ".";
  } else {
    w.Suggestion = "Compare the Follow view of " + owner + " with its textbook FOLLOW set; a repetition written " +
                   "left-recursive keeps what follows it.";
  }
}

void ExplainBelow(const Grammar& grammar, const Loss& loss, WarningReport& w) {
  const std::string owner = grammar.NontName(loss.Choice->Owner);
  Names sharing;
  for (std::int32_t m : loss.Sharing) sharing.push_back(grammar.EdgeText(m));
  const std::string members = sharing.size() >= 2 ? List(sharing) : w.Member.Edge + " and another member";
  w.Explanation = "On " + List(w.Terminals) + " the decision list leaves the choice between " + members +
                  " to a later terminal (lookahead " + std::to_string(grammar.Lang().Lookahead) +
                  "), but the generated parser decides on one terminal: it has no case for " + List(w.Terminals) +
                  " here and rejects such input, although the grammar derives it.";
  w.Suggestion = "Factor the common prefix: let one production of " + owner + " begin with what " + members +
                 " share, followed by a new nonterminal whose productions begin where they differ, so that one " +
                 "terminal decides.";
}

void ExplainEnd(const Grammar& grammar, const Loss& loss, WarningReport& w) {
  const std::string owner = grammar.NontName(loss.Choice->Owner);
  if (loss.InLoop)
    w.Explanation = "After each pass of the tail loop of " + owner + " the parser looks at the coming terminal, " +
                    "at the end of the input too";
  else
    w.Explanation = "At the end of the input the parser has to take " + Cite(w.Member) + " here";
  w.Explanation += "; but the language names no end-of-input terminal (EofName), so the generated lexer answers "
                   "the end with a read error and the input is rejected.";
  w.Suggestion = "Name an end-of-input terminal: declare it in [Terminals] and set EofName to it in [Language].";
}

}  // namespace

std::vector<WarningReport> BuildWarnings(const Grammar& grammar, const std::vector<Loss>& losses) {
  std::vector<WarningReport> warnings;
  for (const Loss& loss : losses) {
    WarningReport w;
    w.Kind = loss.Kind == LossKind::Missing ? "lost-strings" : loss.Kind == LossKind::BelowLevelOne ? "below-level-1" : "end-unseen";
    w.Nonterminal = grammar.NontName(loss.Choice->Owner);
    w.Where = grammar.Where(*loss.Choice);
    w.Member = MemberOf(grammar, loss.Member);
    w.Terminals = TermNames(grammar, loss.Terms);
    if (loss.Example) {
      // An end-of-input terminal that ends the example is the end of the input, not a word of it.
      ExampleInput example = *loss.Example;
      TermString& last = example.After.empty() ? example.Before : example.After;
      const std::int32_t eoi = grammar.Lang().EoiCode;
      if (eoi != 0 && !last.empty() && last.back() == eoi) last.pop_back();
      w.HaveExample = true;
      w.Before = NamesOf(grammar, example.Before);
      w.After = NamesOf(grammar, example.After);
    }
    switch (loss.Kind) {
      case LossKind::Missing: ExplainMissing(grammar, loss, w); break;
      case LossKind::BelowLevelOne: ExplainBelow(grammar, loss, w); break;
      case LossKind::EndUnseen: ExplainEnd(grammar, loss, w); break;
    }
    warnings.push_back(std::move(w));
  }
  return warnings;
}

}  // namespace parvolen
