// The report as one self-contained HTML page: a railroad diagram of every nonterminal, its
// productions, the terminals and how each is written, and every warning and failure with its
// example input. No script, no external resource: the styles are inline and the diagrams are
// inline SVG. Element ids: n<number> a nonterminal, t<number> a terminal, p<number> a
// production, w<number> a warning, c<edge> a choice point's decision list, "failure".
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "base/console.h"
#include "base/stack_room.h"
#include "codegen/shared/whole_file.h"
#include "findings/grammar.h"
#include "findings/strings.h"
#include "inspect/markup.h"
#include "inspect/railroad.h"
#include "inspect/writers.h"

namespace parvolen::inspect {
namespace {

constexpr const char* kStyle = R"(
:root{--fg:#1b2129;--muted:#5a6472;--line:#d4d9e0;--soft:#f3f5f8;--link:#1c5ca6;--warn:#b3261e;--note:#8a5300}
*{box-sizing:border-box}
body{margin:0;font:15px/1.5 system-ui,-apple-system,"Segoe UI",sans-serif;color:var(--fg);background:#fff}
header,nav,main{max-width:1120px;margin:0 auto;padding:0 16px}
header{padding-top:12px}
h1{font-size:1.6em;margin:.3em 0}
h2{font-size:1.3em;margin:1.4em 0 .5em;border-bottom:1px solid var(--line)}
h3{font-size:1.1em;margin:1.2em 0 .3em}
a{color:var(--link)}
code,pre,.prod{font-family:ui-monospace,"DejaVu Sans Mono",monospace;font-size:13px}
pre{background:var(--soft);padding:8px;overflow-x:auto}
.sub{color:var(--muted);margin:0}
nav{position:sticky;top:0;background:#fff;border-bottom:1px solid var(--line);padding-top:6px;padding-bottom:6px;z-index:1}
nav a{margin-right:1em;white-space:nowrap}
.index{display:flex;flex-wrap:wrap;gap:2px 1.2em;padding:0;list-style:none}
.diagram{overflow-x:auto;-webkit-overflow-scrolling:touch;border:1px solid var(--line);border-radius:6px;background:#fbfcfd}
svg.rr{display:block}
svg.rr .rail{fill:none;stroke:#36414f;stroke-width:1.5}
svg.rr rect{stroke-width:1.2}
svg.rr rect.t{fill:#e6effa;stroke:#1c5ca6}
svg.rr rect.n{fill:#fff4db;stroke:#8a5300}
svg.rr rect.a{fill:#f0f0f0;stroke:#8a8a8a;stroke-dasharray:3 2}
svg.rr text{font:13px ui-monospace,"DejaVu Sans Mono",monospace;text-anchor:middle;fill:var(--fg)}
svg.rr a:hover rect{stroke-width:2.5}
svg.rr .badge circle{fill:var(--note)}
svg.rr .badge.warn circle{fill:var(--warn)}
svg.rr .badge text{fill:#fff;font:bold 11px sans-serif}
.prods{list-style:none;padding:0;margin:.4em 0}
.prods li{padding:1px 4px;overflow-wrap:anywhere}
.prod a{text-decoration:none}
.line{display:inline-block;min-width:4.5em;color:var(--muted)}
.involved{background:#fdeceb;border-left:3px solid var(--warn)}
.ref{margin-left:.6em;font-family:system-ui,sans-serif;font-size:12px}
.flag{font-weight:normal;font-size:.8em;color:var(--muted)}
.box{border:1px solid var(--line);border-radius:6px;padding:4px 12px;margin:.8em 0;overflow-wrap:anywhere}
.box.warn{border-left:4px solid var(--warn)}
.box.note{border-left:4px solid var(--note)}
.input span{background:var(--soft);border:1px solid var(--line);border-radius:3px;padding:0 3px;margin-right:3px}
.input .at{background:none;border:none;color:var(--warn);font-weight:bold}
.table{overflow-x:auto}
table{border-collapse:collapse;margin:.4em 0}
th,td{text-align:left;vertical-align:top;padding:3px 10px;border-bottom:1px solid var(--line)}
:target{outline:3px solid #f2b600;outline-offset:2px}
@media (max-width:600px){body{font-size:14px}header,nav,main{padding:0 8px}th,td{padding:3px 5px}}
@media print{nav{display:none}.diagram{overflow:visible;border:none}svg.rr{max-width:100%;height:auto}
section.rule,.box{break-inside:avoid}a{color:inherit;text-decoration:none}body{font-size:11pt}}
)";

std::string Num(std::int64_t value) { return std::to_string(value); }

class HtmlWriter {
 public:
  HtmlWriter(const Report& report, const Language* lang, const ReadProgress* progress) : r_(report), lang_(lang) {
    if (lang_ != nullptr) grammar_.emplace(*lang_, progress);
    for (std::int32_t t = 1; lang_ != nullptr && lang_->TermTab.Exists() && t <= lang_->LastTerminal; ++t)
      terminals_.emplace(std::string(lang_->TermTab[t].Name.View()), t);
    for (std::int32_t n = 1; lang_ != nullptr && lang_->NontTab.Exists() && n <= lang_->LastNonterminal; ++n)
      nonterminals_.emplace(std::string(lang_->NontTab[n].Name.View()), n);
    NoteInvolved();
  }

  std::string Page() {
    const std::string name = r_.Summary.Language.empty() ? std::string("(no name)") : r_.Summary.Language;
    out_ += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
            Escaped(name) + ": grammar report</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
    Header(name);
    out_ += "<main>\n";
    Messages();
    Problems();
    if (grammar_) {
      Rules();
      Terminals();
    }
    out_ += "</main>\n</body>\n</html>\n";
    return std::move(out_);
  }

 private:
  // The productions that a warning or the failure names, with where they are named.
  void NoteInvolved() {
    for (std::size_t i = 0; i < r_.Warnings.size(); ++i)
      for (const ProductionRef& p : r_.Warnings[i].Member.Productions)
        involved_[p.Number].push_back({"#w" + Num(static_cast<std::int64_t>(i) + 1), "warning " + Num(static_cast<std::int64_t>(i) + 1)});
    if (!r_.Failure) return;
    const FailureReport& f = *r_.Failure;
    auto add = [&](const std::vector<ProductionRef>& prods) {
      for (const ProductionRef& p : prods) {
        auto& refs = involved_[p.Number];
        if (refs.empty() || refs.back().first != "#failure") refs.push_back({"#failure", "failure"});
      }
    };
    if (f.HaveConflict) {
      add(f.Holder.Productions);
      add(f.Claimant.Productions);
    }
    for (const ChainStep& s : f.Chain) add(s.Productions);
  }

  void Header(const std::string& name) {
    out_ += "<header>\n<h1>Language " + Escaped(name) + "</h1>\n<p class=\"sub\">Described in <code>" +
            Escaped(r_.File) + "</code>";
    if (r_.HaveRecord)
      out_ += " · " + Num(lang_->LastNonterminal) + " nonterminals, " + Num(lang_->LastTerminal) + " terminals, " +
              Num(lang_->LastProduction) + " productions · lookahead&nbsp;" + Num(r_.Summary.Lookahead);
    out_ += "</p>\n<p class=\"sub\">";
    if (r_.Failure) out_ += "<a href=\"#failure\">" + Escaped(r_.Failure->Message) + ".</a>";
    else out_ += "The grammar is kind for lookahead " + Num(r_.Summary.Lookahead) + ".";
    if (r_.Analysed)
      out_ += r_.Warnings.empty() ? std::string(" No warnings.")
                                  : " <a href=\"#problems\">" + Num(static_cast<std::int64_t>(r_.Warnings.size())) +
                                        (r_.Warnings.size() == 1 ? " warning" : " warnings") + "</a>.";
    out_ += "</p>\n</header>\n<nav>";
    if (!r_.Console.empty()) out_ += "<a href=\"#messages\">Messages</a>";
    out_ += "<a href=\"#problems\">Warnings and failures</a>";
    if (grammar_) out_ += "<a href=\"#rules\">Nonterminals</a><a href=\"#terminals\">Terminals</a>";
    out_ += "</nav>\n";
  }

  void Messages() {
    if (r_.Console.empty()) return;
    out_ += "<section id=\"messages\">\n<h2>What the reading printed</h2>\n<pre>";
    for (const std::string& line : r_.Console) out_ += Escaped(line) + "\n";
    out_ += "</pre>\n</section>\n";
  }

  // ---- Links -------------------------------------------------------------------------------

  std::string TermLink(const std::string& name) const {
    const auto found = terminals_.find(name);
    if (found == terminals_.end()) return "<code>" + Escaped(name) + "</code>";
    return "<a href=\"#t" + Num(found->second) + "\"><code>" + Escaped(name) + "</code></a>";
  }

  std::string NontLink(const std::string& name) const {
    const auto found = nonterminals_.find(name);
    if (found == nonterminals_.end()) return Escaped(name);
    return "<a href=\"#n" + Num(found->second) + "\">" + Escaped(name) + "</a>";
  }

  std::string StringHtml(const Names& names) const {
    if (names.empty()) return "λ";
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : " ") + TermLink(name);
    return text;
  }

  // An edge as written, "(t)" or "[N]", linked to the name's definition.
  std::string EdgeHtml(const std::string& edge) const {
    if (edge.size() >= 2 && edge.front() == '(' && edge.back() == ')') {
      const auto found = terminals_.find(edge.substr(1, edge.size() - 2));
      if (found != terminals_.end()) return "<a href=\"#t" + Num(found->second) + "\">" + Escaped(edge) + "</a>";
    }
    if (edge.size() >= 2 && edge.front() == '[' && edge.back() == ']') {
      const auto found = nonterminals_.find(edge.substr(1, edge.size() - 2));
      if (found != nonterminals_.end()) return "<a href=\"#n" + Num(found->second) + "\">" + Escaped(edge) + "</a>";
    }
    return Escaped(edge);
  }

  // A production cited: its line, linked to it in its nonterminal's list.
  std::string Cite(const ProductionRef& p) const {
    const std::string where = p.Line != 0 ? "line " + Num(p.Line) : "production " + Num(p.Number);
    const bool known = grammar_ && p.Number >= 1 && static_cast<std::size_t>(p.Number) < grammar_->Productions().size();
    if (!known) return where + ": <code>" + Escaped(p.Text) + "</code>";
    return "<a href=\"#p" + Num(p.Number) + "\">" + where + "</a>: <code>" + Escaped(p.Text) + "</code>";
  }

  std::string MemberHtml(const MemberRef& m) const {
    std::string text = "<code>" + EdgeHtml(m.Edge) + "</code>";
    for (std::size_t i = 0; i < m.Productions.size(); ++i) text += (i == 0 ? " of " : "; ") + Cite(m.Productions[i]);
    return text;
  }

  std::string InputHtml(const Names& before, const Names& after) const {
    std::string text = "<code class=\"input\">";
    for (const std::string& name : before) text += "<span>" + TermLink(name) + "</span>";
    text += "<span class=\"at\" title=\"the choice point\">▸</span>";
    for (const std::string& name : after) text += "<span>" + TermLink(name) + "</span>";
    if (before.empty() && after.empty()) text += "(empty input)";
    return text + "</code>";
  }

  // ---- Warnings and failure ----------------------------------------------------------------

  void Problems() {
    out_ += "<section id=\"problems\">\n<h2>Warnings and failures</h2>\n";
    if (r_.Failure) Failure(*r_.Failure);
    if (r_.Analysed && r_.Warnings.empty() && !r_.Failure)
      out_ += "<p>None: the generated parser takes every input that the grammar derives.</p>\n";
    if (!r_.Analysed && r_.HaveRecord)
      out_ += "<p>The analysis did not complete: no choice points or warnings to show.</p>\n";
    for (std::size_t i = 0; i < r_.Warnings.size(); ++i) Warning(r_.Warnings[i], i + 1);
    if (r_.Analysed && !r_.TextbookComplete)
      out_ += "<p>The textbook LL(" + Num(r_.TextbookK) + ") sets grew too large to compute.</p>\n";
    out_ += "</section>\n";
  }

  void Warning(const WarningReport& w, std::size_t number) {
    const std::string kind = w.Kind == "lost-strings"    ? "input rejected"
                             : w.Kind == "below-level-1" ? "decided only below level 1"
                                                         : "the end of the input unseen";
    out_ += "<div class=\"box warn\" id=\"w" + Num(static_cast<std::int64_t>(number)) + "\">\n<h3>Warning " +
            Num(static_cast<std::int64_t>(number)) + ": " + kind + "</h3>\n<p>" + NontLink(w.Nonterminal) + ", " +
            Escaped(w.Where) + ", member " + MemberHtml(w.Member) + "</p>\n<p>" + Escaped(w.Explanation) + "</p>\n";
    if (w.HaveExample) out_ += "<p>Example input: " + InputHtml(w.Before, w.After) + "</p>\n";
    out_ += "<p>Suggestion: " + Escaped(w.Suggestion) + "</p>\n</div>\n";
  }

  void Failure(const FailureReport& f) {
    out_ += "<div class=\"box warn\" id=\"failure\">\n<h3>" + Escaped(f.Message) + ".</h3>\n<p>";
    if (f.Line == 0) out_ += "No line was read.";
    else if (f.AtEnd) out_ += "Reading stopped at the end of the description, after line " + Num(f.Line) + ": ";
    else out_ += "Reading stopped at line " + Num(f.Line) + ": ";
    if (f.Line != 0) out_ += "<code>" + Escaped(f.Text) + "</code>";
    out_ += "</p>\n";
    if (f.HaveConflict) {
      out_ += "<p>Choice point: " + NontLink(f.Nonterminal) + ", " + Escaped(f.Where) + "</p>\n<ul>\n<li>Member " +
              MemberHtml(f.Holder) + " holds the lookahead string " + StringHtml(f.Claimed) + "</li>\n<li>Member " +
              MemberHtml(f.Claimant) + " claims it as well</li>\n</ul>\n";
      if (f.HaveReach) out_ += "<p>A short input that reaches it: " + InputHtml(f.Reach, f.Claimed) + "</p>\n";
    }
    if (f.HaveReentry) {
      out_ += "<p>While the view " + Escaped(f.View) + " was computed, " + NontLink(f.Reentered) +
              " was entered again with " + Num(f.Depth) + " terminal" + (f.Depth == 1 ? "" : "s") +
              " of lookahead still to read, as before: no terminal of lookahead was read in between.</p>\n"
              "<p>The chain that led back to it:</p>\n<ol>\n";
      for (const ChainStep& s : f.Chain) out_ += "<li>" + Escaped(s.Role) + " " + MemberHtml({s.Edge, s.Productions}) + "</li>\n";
      out_ += "</ol>\n";
    }
    out_ += "</div>\n";
  }

  // ---- Nonterminals ------------------------------------------------------------------------

  // Badges for the choice points: a warning's "!", or the number of terminals that decide a
  // choice where one is not enough; and the decision lists of the latter, to link to.
  void MarkChoices() {
    const auto& choices = grammar_->Choices();
    const bool decided = r_.Analysed && r_.Choices.size() == choices.size();  // the same choices, in order
    std::map<std::pair<std::string, std::string>, std::size_t> warned;  // first warning of a choice point
    for (std::size_t i = 0; i < r_.Warnings.size(); ++i)
      warned.emplace(std::pair{r_.Warnings[i].Nonterminal, r_.Warnings[i].Where}, i + 1);
    const FailureReport* conflict = r_.Failure && r_.Failure->HaveConflict ? &*r_.Failure : nullptr;
    for (std::size_t i = 0; i < choices.size(); ++i) {
      const std::pair<std::string, std::string> at{grammar_->NontName(choices[i].Owner), grammar_->Where(choices[i])};
      std::size_t needs = 0;
      if (decided)
        for (const DecisionRow& d : r_.Choices[i].Decisions) needs = std::max(needs, d.String.size());
      if (needs > 1) deep_[choices[i].Owner].push_back(i);
      RailMark mark;
      if (const auto w = warned.find(at); w != warned.end()) {
        mark = {"!", "#w" + Num(static_cast<std::int64_t>(w->second)), "warning " + Num(static_cast<std::int64_t>(w->second)), true};
      } else if (conflict != nullptr && conflict->Nonterminal == at.first && conflict->Where == at.second) {
        mark = {"!", "#failure", "the conflict", true};
      } else if (needs > 1) {
        mark = {Num(static_cast<std::int64_t>(needs)), "#c" + Num(choices[i].First),
                "decided on " + Num(static_cast<std::int64_t>(needs)) + " terminals of lookahead", false};
      } else {
        continue;
      }
      marks_.emplace(choices[i].First, std::move(mark));
    }
  }

  void Rules() {
    MarkChoices();
    out_ += "<section id=\"rules\">\n<h2>Nonterminals</h2>\n<ul class=\"index\">";
    for (std::int32_t n = 1; lang_->NontTab.Exists() && n <= lang_->LastNonterminal; ++n)
      out_ += "<li><a href=\"#n" + Num(n) + "\">" + Escaped(grammar_->NontName(n)) + "</a></li>";
    out_ += "</ul>\n";
    for (std::int32_t n = 1; lang_->NontTab.Exists() && n <= lang_->LastNonterminal; ++n) Rule(n);
    out_ += "</section>\n";
  }

  void Rule(std::int32_t n) {
    const std::string name = grammar_->NontName(n);
    out_ += "<section class=\"rule\" id=\"n" + Num(n) + "\">\n<h3>" + Escaped(name);
    if (n == lang_->StartNont) out_ += " <span class=\"flag\">(the starting symbol)</span>";
    if (static_cast<std::size_t>(n) <= r_.Nonterminals.size()) {
      const NonterminalReport& nr = r_.Nonterminals[n - 1];
      if (!nr.Productive) out_ += " <span class=\"flag\">(derives no terminal string)</span>";
      else if (!nr.Reachable) out_ += " <span class=\"flag\">(not reachable from the starting symbol)</span>";
    }
    out_ += "</h3>\n<div class=\"diagram\">" + RailSvg(MakeRailDiagram(*grammar_, n, marks_)) + "</div>\n<ol class=\"prods\">\n";
    for (std::int32_t p : grammar_->ProductionsOf(n)) ProductionItem(p);
    if (grammar_->ProductionsOf(n).empty()) out_ += "<li>no productions</li>\n";
    out_ += "</ol>\n";
    if (const auto deep = deep_.find(n); deep != deep_.end())
      for (std::size_t i : deep->second) Decisions(grammar_->Choices()[i], r_.Choices[i]);
    out_ += "</section>\n";
  }

  void ProductionItem(std::int32_t p) {
    const Production& prod = grammar_->Productions()[p];
    const auto refs = involved_.find(p);
    out_ += "<li id=\"p" + Num(p) + "\"" + (refs != involved_.end() ? " class=\"involved\"" : "") +
            "><span class=\"line\">" + (prod.Line != 0 ? "line " + Num(prod.Line) : "") + "</span><span class=\"prod\">";
    if (prod.Path.empty()) {
      out_ += Escaped(prod.Text);
    } else {
      out_ += NontLink(grammar_->NontName(prod.Owner)) + " ::= ";
      if (prod.LeftRecursive) out_ += EdgeHtml("[" + grammar_->NontName(prod.Owner) + "]");
      for (std::int32_t e : prod.Path)
        if (lang_->EdgeTab[e].WhoAmI != kEdgeEnd) out_ += EdgeHtml(grammar_->EdgeText(e));
    }
    out_ += "</span>";
    if (refs != involved_.end())
      for (const auto& [href, text] : refs->second) out_ += "<a class=\"ref\" href=\"" + href + "\">" + text + "</a>";
    out_ += "</li>\n";
  }

  void Decisions(const ChoicePoint& choice, const ChoiceReport& c) {
    out_ += "<div class=\"box note\" id=\"c" + Num(choice.First) + "\">\n<p>The choice " + Escaped(c.Where) +
            " needs more than one terminal of lookahead; the generated parser decides on one.</p>\n"
            "<div class=\"table\"><table><tr><th>Lookahead</th><th>Member</th></tr>\n";
    for (const DecisionRow& d : c.Decisions)
      out_ += "<tr><td>" + StringHtml(d.String) + "</td><td>" +
              (d.Member.Edge.empty() ? std::string("(undecided)") : MemberHtml(d.Member)) + "</td></tr>\n";
    out_ += "</table></div>\n</div>\n";
  }

  // ---- Terminals ---------------------------------------------------------------------------

  // The symbols of [Symbols], by terminal: every path of the symbol tree that ends in one.
  std::vector<std::vector<std::string>> SymbolsByTerminal() const {
    std::vector<std::vector<std::string>> by(static_cast<std::size_t>(lang_->LastTerminal) + 1);
    if (!lang_->SymbTab.Exists()) return by;
    const auto valid = [&](std::int32_t s) { return s >= 1 && s <= lang_->LastSymbNode; };
    std::vector<std::pair<std::int32_t, std::string>> stack;
    if (valid(lang_->SymbRoot)) stack.push_back({lang_->SymbRoot, ""});
    std::int64_t budget = lang_->LastSymbNode;
    while (!stack.empty() && budget-- > 0) {
      auto [s, prefix] = std::move(stack.back());
      stack.pop_back();
      const SymbNodeRec& node = lang_->SymbTab[s];
      if (valid(node.Altr)) stack.push_back({node.Altr, prefix});
      prefix += static_cast<char>(node.Ch);
      if (node.Term >= 1 && node.Term <= lang_->LastTerminal) by[node.Term].push_back(prefix);
      if (valid(node.Next)) stack.push_back({node.Next, prefix});
    }
    for (auto& symbols : by) std::sort(symbols.begin(), symbols.end());
    return by;
  }

  void Terminals() {
    const std::int32_t last = lang_->TermTab.Exists() ? lang_->LastTerminal : 0;
    std::vector<std::vector<std::string>> ways(static_cast<std::size_t>(last) + 1);
    const std::pair<std::int32_t, const char*> specials[] = {
        {lang_->IdTerm, "identifier (IdName)"},          {lang_->NumTerm, "number (NumName)"},
        {lang_->CharTerm, "character constant (CharName)"}, {lang_->StrTerm, "string constant (StrName)"},
        {lang_->EoiCode, "the end of the input (EofName)"}};
    for (const auto& [t, what] : specials)
      if (t >= 1 && t <= last) ways[t].push_back(what);
    for (std::int32_t k = 1; lang_->KwdTab.Exists() && k <= lang_->LastKeyword; ++k) {
      const KeywordRec& kw = lang_->KwdTab[k];
      if (kw.T >= 1 && kw.T <= last) ways[kw.T].push_back("keyword <code>" + Escaped(kw.Shape.View()) + "</code>");
    }
    const auto symbols = SymbolsByTerminal();
    for (std::int32_t t = 1; t <= last; ++t)
      for (const std::string& s : symbols[t]) ways[t].push_back("symbol <code>" + Escaped(s) + "</code>");
    for (const TokenDef& def : lang_->TokenDefs)
      if (def.Kind == TokenDefKind::Token && def.Term >= 1 && def.Term <= last)
        ways[def.Term].push_back("token <code>" + Escaped(def.Pattern) + "</code> (line " + Num(def.Line) + ")");

    out_ += "<section id=\"terminals\">\n<h2>Terminals</h2>\n<div class=\"table\"><table>\n"
            "<tr><th>#</th><th>Terminal</th><th>Written as</th></tr>\n";
    for (std::int32_t t = 1; t <= last; ++t) {
      out_ += "<tr id=\"t" + Num(t) + "\"><td>" + Num(t) + "</td><td><code>" + Escaped(grammar_->TermName(t)) +
              "</code></td><td>";
      for (std::size_t i = 0; i < ways[t].size(); ++i) out_ += (i == 0 ? "" : "<br>") + ways[t][i];
      if (ways[t].empty()) out_ += "—";
      out_ += "</td></tr>\n";
    }
    out_ += "</table></div>\n";
    bool others = false;
    for (const TokenDef& def : lang_->TokenDefs) {
      if (def.Kind == TokenDefKind::Token) continue;
      if (!others) out_ += "<h3>Other lines of [Tokens]</h3>\n<div class=\"table\"><table>\n<tr><th>Line</th><th>Name</th><th>Pattern</th></tr>\n";
      others = true;
      out_ += "<tr><td>" + Num(def.Line) + "</td><td>" +
              (def.Kind == TokenDefKind::Skip ? std::string("skipped") : "{" + Escaped(def.Name) + "}") + "</td><td><code>" +
              Escaped(def.Pattern) + "</code></td></tr>\n";
    }
    if (others) out_ += "</table></div>\n";
    out_ += "</section>\n";
  }

  const Report& r_;
  const Language* lang_;
  std::optional<Grammar> grammar_;
  std::unordered_map<std::string, std::int32_t> terminals_;     // by name
  std::unordered_map<std::string, std::int32_t> nonterminals_;  // by name
  std::unordered_map<std::int32_t, std::vector<std::pair<std::string, std::string>>> involved_;  // production: links
  std::unordered_map<std::int32_t, std::vector<std::size_t>> deep_;  // nonterminal: its choices needing more
  RailMarks marks_;
  std::string out_;
};

}  // namespace

std::string WriteHtml(const Report& report, const Language* lang, const ReadProgress* progress) {
  std::string page;
  // Nested choices are laid out recursively: give them the analysis's deep stack.
  (void)RunWithStack(kAnalysisStackBytes, [&]() -> Status {
    page = HtmlWriter(report, report.HaveRecord ? lang : nullptr, progress).Page();
    return stOk;
  });
  return page;
}

}  // namespace parvolen::inspect

namespace parvolen::inspect {

Status WriteHtmlFile(const std::string& path, const Report& report, const Language* lang, const ReadProgress* progress) {
  const std::string page = WriteHtml(report, lang, progress);
  WholeFile file;
  bool done = file.Open(path);
  if (done && std::fwrite(page.data(), 1, page.size(), file.Stream()) != page.size()) {
    const int error = errno;
    file.Discard();
    errno = error;
    done = false;
  }
  if (done && !file.Commit()) done = false;
  if (done) return report.Code;
  Print("parvolen-inspect: cannot write '" + path + "': " + std::strerror(errno) + "\n", Channel::Diagnostics);
  return stCannotCreate;
}

}  // namespace parvolen::inspect
