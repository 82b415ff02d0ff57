#include <algorithm>

#include "findings/strings.h"
#include "inspect/writers.h"

namespace parvolen::inspect {
namespace {

std::string Pad(const std::string& text, std::size_t width) {
  // Width counts characters, not bytes, so that "λ" lines up.
  std::size_t chars = 0;
  for (unsigned char c : text) chars += (c & 0xC0) != 0x80;
  return text + std::string(width > chars ? width - chars : 0, ' ');
}

std::string Cite(const ProductionRef& ref) {
  const std::string where = ref.Line != 0 ? "line " + std::to_string(ref.Line) : "production " + std::to_string(ref.Number);
  return where + ": " + ref.Text;
}

std::string Cite(const MemberRef& member) {
  std::string text;
  for (const ProductionRef& ref : member.Productions) text += (text.empty() ? "" : "; ") + Cite(ref);
  return text;
}

std::string YesNo(bool value) { return value ? "yes" : "no"; }

// The text as lines of at most kWidth characters (a longer word stands alone), each indented.
// A production is not broken at the blanks around its "::=".
constexpr std::size_t kWidth = 100;
std::string Wrap(const std::string& text, const std::string& indent) {
  auto breakable = [&](std::size_t blank) {
    return text.compare(blank + 1, 3, "::=") != 0 && (blank < 3 || text.compare(blank - 3, 3, "::=") != 0);
  };
  std::string out;
  std::string line = indent;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    while (end != std::string::npos && !breakable(end)) end = text.find(' ', end + 1);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (line.size() > indent.size() && line.size() + 1 + word.size() > kWidth) {
      out += line + "\n";
      line = indent;
    }
    line += (line.size() > indent.size() ? " " : "") + word;
    start = end + 1;
  }
  return out + line + "\n";
}

// "of line 36", "of lines 3, 4": where the member stands.
std::string LinesOf(const MemberRef& member) {
  std::string text;
  for (const ProductionRef& ref : member.Productions)
    text += (text.empty() ? "" : ", ") + (ref.Line != 0 ? std::to_string(ref.Line) : "?");
  if (text.empty()) return "";
  return member.Productions.size() == 1 ? " of line " + text : " of lines " + text;
}

void Summary(const Report& r, std::string& out) {
  const SummaryReport& s = r.Summary;
  out += "Language " + (s.Language.empty() ? std::string("(no name)") : s.Language) + ", described in " + r.File + "\n";
  out += "\nSummary\n  Table          used  capacity\n";
  for (const TableUse& t : s.Tables) {
    const std::string used = std::to_string(t.Count);
    const std::string cap = std::to_string(t.Capacity);
    out += "  " + Pad(t.Name, 13) + std::string(6 - std::min<std::size_t>(6, used.size()), ' ') + used +
           std::string(10 - std::min<std::size_t>(10, cap.size()), ' ') + cap + "\n";
  }
  out += "  Special terminals:";
  if (s.Specials.empty()) out += " none";
  for (std::size_t i = 0; i < s.Specials.size(); ++i) {
    const SpecialTerminal& t = s.Specials[i];
    out += (i == 0 ? " " : ", ") + t.Key + " " + t.Name;
    out += t.Number != 0 ? " (terminal " + std::to_string(t.Number) + ")" : t.Key == "EolName" ? "" : " (not resolved)";
  }
  out += "\n  Starting symbol: " + (s.StartingSymbol.empty() ? std::string("none") : s.StartingSymbol) + "\n";
  out += "  Lookahead: " + std::to_string(s.Lookahead) + "\n  Options:";
  for (std::size_t i = 0; i < s.Options.size(); ++i)
    out += (i == 0 ? " " : ", ") + s.Options[i].first + " " + YesNo(s.Options[i].second);
  out += "\n";
}

void Nonterminals(const Report& r, std::string& out) {
  for (const NonterminalReport& n : r.Nonterminals) {
    out += "\nNonterminal " + n.Name;
    if (!n.Productive) out += " (derives no terminal string)";
    else if (!n.Reachable) out += " (not reachable from the starting symbol)";
    out += "\n";
    if (n.Productions.empty()) out += "  no productions\n";
    for (const ProductionRef& p : n.Productions) out += "  " + Cite(p) + "\n";
    for (const NamedSet& v : n.Views) out += "  " + Pad(v.Name, 10) + SetText(v.Strings) + "\n";
    for (const NamedSet& v : n.Textbook) out += "  " + Pad(v.Name, 10) + SetText(v.Strings) + "   (textbook)\n";
  }
}

void Choices(const Report& r, std::string& out) {
  out += "\nChoice points\n";
  if (r.Choices.empty()) out += "  none\n";
  for (const ChoiceReport& c : r.Choices) {
    out += "  " + c.Nonterminal + ", " + c.Where;
    if (c.Loop) {
      std::vector<Names> terms;
      for (const std::string& t : c.LoopTerms) terms.push_back({t});
      out += " (the tail loop repeats on " + SetText(terms) + ")";
    }
    out += "\n";
    std::size_t width = 0;
    for (const DecisionRow& d : c.Decisions) width = std::max(width, StringText(d.String).size());
    std::size_t edgeWidth = 0;
    for (const DecisionRow& d : c.Decisions) edgeWidth = std::max(edgeWidth, d.Member.Edge.size());
    for (const DecisionRow& d : c.Decisions) {
      out += "    " + Pad(StringText(d.String), width) + "  -> ";
      if (d.Member.Edge.empty()) out += "(undecided)\n";
      else out += Pad(d.Member.Edge, edgeWidth) + "  " + Cite(d.Member) + "\n";
    }
    if (c.Decisions.empty()) {
      if (c.Members.size() >= 2) out += "    no decision list\n";
      for (const MemberRef& m : c.Members) out += "    member " + m.Edge + "  " + Cite(m) + "\n";
    }
  }
}

std::string InputText(const Names& before, const Names& after) {
  Names all = before;
  all.insert(all.end(), after.begin(), after.end());
  return all.empty() ? "(empty input)" : StringText(all);
}

std::string Position(const Names& before) {
  return before.empty() ? "the choice is at the start of the input" : "the choice comes after \"" + StringText(before) + "\"";
}

void Warnings(const Report& r, std::string& out) {
  out += "\nWarnings\n";
  if (r.Warnings.empty()) out += "  none\n";
  for (std::size_t i = 0; i < r.Warnings.size(); ++i) {
    const WarningReport& w = r.Warnings[i];
    const std::string kind = w.Kind == "lost-strings"    ? "input rejected"
                             : w.Kind == "below-level-1" ? "decided only below level 1"
                                                         : "the end of the input unseen";
    out += "  Warning " + std::to_string(i + 1) + " (" + kind + "): " + w.Nonterminal + ", " + w.Where + ", member " +
           w.Member.Edge + LinesOf(w.Member) + "\n";
    out += Wrap(w.Explanation, "    ");
    if (w.HaveExample)
      out += "    Example input: " + InputText(w.Before, w.After) + "   (" + Position(w.Before) + ")\n";
    out += Wrap("Suggestion: " + w.Suggestion, "    ");
  }
}

void Failure(const FailureReport& f, std::string& out) {
  out += "\n" + f.Message + ".\n";
  if (f.Line == 0) out += "  No line was read.\n";
  else if (f.AtEnd) out += "  Reading stopped at the end of the description, after line " + std::to_string(f.Line) + ": " + f.Text + "\n";
  else out += "  Reading stopped at line " + std::to_string(f.Line) + ": " + f.Text + "\n";
  if (f.HaveReentry) {
    out += Wrap("While the view " + f.View + " was computed, " + f.Reentered + " was entered again with " +
                    std::to_string(f.Depth) + " terminal" + (f.Depth == 1 ? "" : "s") +
                    " of lookahead still to read, as before: no terminal of lookahead was read in between.",
                "  ");
    out += "  The chain that led back to it:\n";
    std::size_t width = 0;
    for (const ChainStep& s : f.Chain) width = std::max(width, s.Edge.size());
    for (std::size_t i = 0; i < f.Chain.size(); ++i) {
      const ChainStep& s = f.Chain[i];
      out += "    " + Pad(s.Role, 7) + Pad(s.Edge, width) + "  " + Cite(MemberRef{s.Edge, s.Productions});
      if (i + 1 == f.Chain.size() && s.Edge == "[" + f.Reentered + "]") out += "   <- " + f.Reentered + " again";
      out += "\n";
    }
  }
  if (f.HaveConflict) {
    out += "  Choice point: " + f.Nonterminal + ", " + f.Where + "\n";
    out += "  Member " + f.Holder.Edge + " (" + Cite(f.Holder) + ") holds the lookahead string " + StringText(f.Claimed) + "\n";
    out += "  Member " + f.Claimant.Edge + " (" + Cite(f.Claimant) + ") claims it as well\n";
    if (f.HaveReach)
      out += Wrap("A short input that reaches it: " + InputText(f.Reach, f.Claimed) + "   (" + Position(f.Reach) +
                      "; both members claim what follows)",
                  "  ");
  }
}

std::string Selected(const EmbeddedMember& m, std::size_t width) {
  return m.Leave ? m.Member.Edge : Pad(m.Member.Edge, width) + "  " + Cite(m.Member);
}

std::string Named(const EmbeddedMember& m) { return m.Leave ? "leaving the loop" : m.Member.Edge + " (" + Cite(m.Member) + ")"; }

void Embedded(const EmbeddedReport& e, std::string& out) {
  out += "\nDecisions of the embeddable translator\n";
  if (e.Choices.empty()) out += "  none\n";
  std::size_t unsettled = 0, preferred = 0;
  for (const EmbeddedChoice& c : e.Choices) {
    out += "  " + c.Nonterminal + ", " + c.Where + (c.Loop ? " (the tail loop)" : "") + ": " +
           std::to_string(c.Lookahead) + " terminal" + (c.Lookahead == 1 ? "" : "s") + " of lookahead\n";
    std::size_t width = 0;
    std::size_t edgeWidth = 0;
    for (const EmbeddedRow& row : c.Rows) {
      width = std::max(width, StringText(row.String).size());
      if (!row.Selects.Leave) edgeWidth = std::max(edgeWidth, row.Selects.Member.Edge.size());
    }
    for (const EmbeddedRow& row : c.Rows)
      out += "    " + Pad(row.String.empty() ? "(any)" : StringText(row.String), width) + "  -> " +
             Selected(row.Selects, edgeWidth) + "\n";
    if (!c.Conflict) continue;
    const EmbeddedConflict& k = *c.Conflict;
    out += Wrap("Conflict: " + Named(k.Claimant) + " and " + Named(k.Holder) + " both take " + StringText(k.Shared), "    ");
    if (k.HaveReach)
      out += Wrap("A short input that reaches it: " + InputText(k.Reach, k.Shared) + "   (" + Position(k.Reach) + ")", "    ");
    if (k.Preference.empty()) {
      ++unsettled;
      out += "    No preference settles it: the embeddable translator cannot decide this choice.\n";
    } else {
      ++preferred;
      out += Wrap("Settled by the preference " + k.Preference + ": " + Named(k.Holder) + " wins.", "    ");
    }
  }
  out += "\n";
  if (unsettled > 0)
    out += std::to_string(unsettled) + " choice" + (unsettled == 1 ? "" : "s") + " cannot be decided by the embeddable translator.\n";
  else if (e.Code == stOk)
    out += "The embeddable translator decides every choice on at most " + std::to_string(e.Depth) + " terminal" +
           (e.Depth == 1 ? "" : "s") + " of lookahead.\n";
  if (preferred > 0)
    out += std::to_string(preferred) + " conflict" + (preferred == 1 ? " is" : "s are") + " settled by a preference.\n";
  if (e.Code != stOk) out += std::string(StatusMessage(e.Code)) + ".\n";
}

}  // namespace

std::string WriteText(const Report& r) {
  std::string out;
  for (const std::string& line : r.Console) out += line + "\n";
  if (!r.Console.empty()) out += "\n";
  if (r.HaveRecord) {
    Summary(r, out);
    Nonterminals(r, out);
    if (r.Embedded) {
      Embedded(*r.Embedded, out);
    } else if (r.Analysed) {
      Choices(r, out);
      Warnings(r, out);
      if (!r.TextbookComplete) out += "\nThe textbook LL(" + std::to_string(r.TextbookK) + ") sets grew too large to compute.\n";
    }
  }
  if (r.Failure) Failure(*r.Failure, out);
  else if (!r.Embedded) out += "\nThe grammar is kind for lookahead " + std::to_string(r.Summary.Lookahead) + ".\n";
  return out;
}

}  // namespace parvolen::inspect
