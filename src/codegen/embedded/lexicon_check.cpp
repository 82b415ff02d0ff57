#include "codegen/embedded/lexicon_check.h"

#include <optional>
#include <string>
#include <vector>

#include "base/diagnostic.h"
#include "findings/grammar.h"
#include "findings/places.h"

namespace parvolen {
namespace {

// Where a diagnostic about a rule stands: its line of [Tokens], else the file alone.
Diagnostic AtRule(const Language& lang, const DescriptionPlaces* places, std::string_view file,
                  const regex::LexRule& rule) {
  Diagnostic d;
  d.File = std::string(file);
  if (places != nullptr && rule.Def >= 0 && static_cast<std::size_t>(rule.Def) < lang.TokenDefs.size())
    d = places->AtLine(lang.TokenDefs[static_cast<std::size_t>(rule.Def)].Line);
  return d;
}

// The line of [Terminals] that declares the terminal, else the file alone.
Diagnostic AtDeclaration(const Language& lang, const ReadProgress* progress, const DescriptionPlaces* places,
                         std::string_view file, std::int32_t t) {
  Diagnostic d;
  d.File = std::string(file);
  if (progress == nullptr || places == nullptr) return d;
  const std::string_view name = lang.TermTab[t].Name.View();
  for (const ReadProgress::Line& line : progress->Handled)
    if (line.Section == "[Terminals]" && line.Text == name) return places->AtLine(line.Number);
  return d;
}

}  // namespace

Status BuildCheckedLexicon(const Language& lang, const ReadProgress* progress, std::string_view file,
                           regex::Lexicon& lexicon) {
  std::optional<DescriptionPlaces> places;
  if (progress != nullptr) places.emplace(file, *progress);
  const DescriptionPlaces* at = places ? &*places : nullptr;

  std::int32_t blamed = -1;
  if (Status st = regex::BuildLexicon(lang, lexicon, blamed); st != stOk) {
    if (st == stTooManySymbNodes) {
      Diagnostic d;
      d.File = std::string(file);
      d.Text = "the automaton of the lexicon grows beyond its limits";
      if (blamed >= 0 && static_cast<std::size_t>(blamed) < lexicon.Rules.size()) {
        const regex::LexRule& rule = lexicon.Rules[static_cast<std::size_t>(blamed)];
        d = AtRule(lang, at, file, rule);
        d.Text = "the automaton of the lexicon grows beyond its limits at " + rule.What;
      }
      d.Hint = "at most " + std::to_string(regex::Limits{}.MaxDfaStates) + " states; patterns such as (a|b)*a(a|b){20} need exponentially many";
      Report(d);
    }
    return st;
  }

  // Rules that never win.
  for (std::size_t r = 0; r < lexicon.Rules.size() && r < lexicon.Reports.size(); ++r) {
    const regex::LexRule& rule = lexicon.Rules[r];
    const regex::RuleReport& report = lexicon.Reports[r];
    if (rule.Def < 0 || report.Matched) continue;
    Diagnostic d = AtRule(lang, at, file, rule);
    d.Level = Severity::Warning;
    if (report.ShadowedBy >= 0 && static_cast<std::size_t>(report.ShadowedBy) < lexicon.Rules.size()) {
      d.Text = rule.What + " can never be matched: " + lexicon.Rules[static_cast<std::size_t>(report.ShadowedBy)].What +
               " always wins";
      d.Hint = "at equal length keywords and symbols win, then the earlier line of [Tokens]";
    } else {
      d.Text = rule.What + " matches no input";
    }
    Report(d);
  }

  // Terminals of the productions that nothing lexes.
  const std::vector<bool> lexed = regex::LexedTerminals(lexicon, lang);
  std::vector<bool> used(lexed.size(), false);
  for (std::int32_t e = 1; e <= lang.LastEdge; ++e) {
    const EdgeRec& edge = lang.EdgeTab[e];
    if (edge.WhoAmI == kEdgeTerminal && edge.Code >= 1 && edge.Code <= lang.LastTerminal)
      used[static_cast<std::size_t>(edge.Code)] = true;
  }
  for (std::int32_t t = 1; t <= lang.LastTerminal; ++t) {
    if (!used[static_cast<std::size_t>(t)] || lexed[static_cast<std::size_t>(t)]) continue;
    Diagnostic d = AtDeclaration(lang, progress, at, file, t);
    const std::string name(lang.TermTab[t].Name.View());
    d.Text = "terminal '" + name + "' is used in productions but nothing lexes it";
    d.Hint = "define it in [Tokens], [Keywords] or [Symbols], or name it in [Language] (IdName, NumName, StrName, CharName)";
    Report(d);
    return stUnknownTerminal;
  }
  return stOk;
}

}  // namespace parvolen
