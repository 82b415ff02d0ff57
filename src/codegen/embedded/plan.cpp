#include "codegen/embedded/plan.h"

#include <algorithm>
#include <utility>

#include "codegen/shared/framing.h"

namespace parvolen {

EmbeddedPlan::EmbeddedPlan(const Language& l, const ConsOptions& o, std::string_view name)
    : lang(l), options(o), prefix(name), upper(name) {
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

std::string EmbeddedPlan::TermConst(std::int32_t t) const { return upper + "_T_" + Ident(lang.TermTab[t].Name); }

std::string EmbeddedPlan::EndConst() const { return lang.EoiCode != 0 ? TermConst(lang.EoiCode) : upper + "_END"; }

bool ValidPrefix(std::string_view name) {
  const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (name.empty() || name.size() > 64 || !letter(name.front())) return false;
  for (char c : name)
    if (!letter(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

std::string CStringBody(std::string_view text) {
  std::string body;
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      body += '\\';
      body += c;
    } else if (code < 32 || code > 126) {
      const char octal[] = {'\\', static_cast<char>('0' + (code >> 6)), static_cast<char>('0' + ((code >> 3) & 7)),
                            static_cast<char>('0' + (code & 7)), '\0'};
      body += octal;
    } else {
      body += c;
    }
  }
  return body;
}

std::vector<std::string> TerminalTexts(const Language& lang) {
  const auto count = static_cast<std::size_t>(lang.LastTerminal) + 1;
  std::vector<std::string> texts(count);
  std::vector<bool> spelt(count, false);
  const auto spell = [&](std::int32_t t, const std::string& shape) {
    if (t < 1 || static_cast<std::size_t>(t) >= count || spelt[t]) return;
    texts[t] = "'" + shape + "'";
    spelt[t] = true;
  };
  for (std::int32_t k = 1; k <= lang.LastKeyword && lang.KwdTab.Exists(); ++k)
    spell(lang.KwdTab[k].T, std::string(lang.KwdTab[k].Shape.View()));
  // Every path of the symbol tree that ends in a terminal spells that terminal.
  std::vector<std::pair<std::int32_t, std::string>> lists;
  if (lang.SymbRoot != 0 && lang.SymbTab.Exists()) lists.emplace_back(lang.SymbRoot, "");
  while (!lists.empty()) {
    auto [head, path] = std::move(lists.back());
    lists.pop_back();
    for (std::int32_t n = head; n > 0 && n <= lang.LastSymbNode; n = lang.SymbTab[n].Altr) {
      const SymbNodeRec& sym = lang.SymbTab[n];
      const std::string here = path + static_cast<char>(sym.Ch);
      if (sym.Term != 0) spell(sym.Term, here);
      if (sym.Next != 0) lists.emplace_back(sym.Next, here);
    }
  }
  texts[0] = "end of input";
  for (std::size_t t = 1; t < count; ++t) {
    if (static_cast<std::int32_t>(t) == lang.EoiCode) {
      texts[t] = "end of input";
    } else if (!spelt[t]) {
      texts[t] = std::string(lang.TermTab[static_cast<std::int32_t>(t)].Name.View());
    }
  }
  return texts;
}

std::vector<std::int32_t> ValuedTerminals(const Language& lang) {
  std::vector<std::int32_t> terms = {lang.IdTerm, lang.NumTerm, lang.CharTerm, lang.StrTerm};
  for (const TokenDef& def : lang.TokenDefs)
    if (def.Kind == TokenDefKind::Token) terms.push_back(def.Term);
  std::vector<std::int32_t> valued;
  for (std::int32_t t : terms)
    if (t > 0 && t <= lang.LastTerminal && std::find(valued.begin(), valued.end(), t) == valued.end())
      valued.push_back(t);
  return valued;
}

}  // namespace parvolen
