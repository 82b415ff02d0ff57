#include "reader/tokens_section.h"

#include <string>

#include "base/diagnostic.h"
#include "base/text.h"
#include "model/symbol_tables.h"
#include "regex/lexicon.h"

namespace parvolen {
namespace {

// A fragment name: a letter or underscore, then letters, digits, '_' and '-'.
bool FragmentName(std::string_view name) {
  if (name.empty()) return false;
  const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!letter(name.front())) return false;
  for (char c : name)
    if (!letter(c) && !(c >= '0' && c <= '9') && c != '-') return false;
  return true;
}

// What fixes the text of terminal t already: "keyword 'if'", "symbol '+'", or empty.
std::string FixedBy(const Language& lang, std::int32_t t) {
  for (std::int32_t k = 1; k <= lang.LastKeyword; ++k)
    if (lang.KwdTab[k].T == t) return "keyword '" + std::string(lang.KwdTab[k].Shape.View()) + "'";
  for (std::int32_t n = 1; n <= lang.LastSymbNode; ++n)
    if (lang.SymbTab[n].Term == t) return "symbol";
  return "";
}

std::size_t OffsetOf(std::string_view line, std::string_view part) {
  return static_cast<std::size_t>(part.data() - line.data());
}

// Reads one line into def; on failure the status, and the fault when asked for.
Status CheckLine(Language& lang, std::string_view line, TokenDef& def, LineFault* fault) {
  const auto fail = [&](Status st, std::size_t offset, std::size_t length, std::string text, std::string hint = "") {
    if (fault != nullptr) *fault = {offset, length, std::move(text), std::move(hint)};
    return st;
  };
  std::string_view name, pattern;
  if (SplitAtEquals(line, name, pattern) != stOk)
    return fail(stMissingEquals, 0, line.size(), "missing '=' between the name and the pattern",
                "write 'terminal = pattern', '{skip} = pattern' or '{fragment} = pattern'");
  const std::size_t nameAt = OffsetOf(line, name);
  def.Pattern = std::string(pattern);
  def.Line = lang.ReadingLine;
  if (name.size() >= 2 && name.front() == '{' && name.back() == '}') {
    const std::string_view inner = name.substr(1, name.size() - 2);
    if (inner == "skip") {
      def.Kind = TokenDefKind::Skip;
      def.Name = "skip";
    } else {
      if (!FragmentName(inner))
        return fail(stBadPattern, nameAt, name.size(), "'" + std::string(inner) + "' is no fragment name",
                    "a fragment name is a letter or '_', then letters, digits, '_' and '-'");
      def.Kind = TokenDefKind::Fragment;
      def.Name = std::string(inner);
      for (const TokenDef& earlier : lang.TokenDefs)
        if (earlier.Kind == TokenDefKind::Fragment && earlier.Name == def.Name)
          return fail(stTerminalDefined, nameAt, name.size(), "fragment '" + def.Name + "' defined twice",
                      "first defined on line " + std::to_string(earlier.Line));
    }
  } else {
    def.Kind = TokenDefKind::Token;
    def.Name = std::string(name);
    if (FindTerminal(lang, name, def.Term) != stOk)
      return fail(stUnknownTerminal, nameAt, name.size(), "'" + def.Name + "' is no declared terminal",
                  "declare it in [Terminals], or write {" + def.Name + "} for a fragment");
    if (const std::string fixed = FixedBy(lang, def.Term); !fixed.empty())
      return fail(stTerminalDefined, nameAt, name.size(), "terminal '" + def.Name + "' is spelt by a " + fixed,
                  "a terminal is lexed either by [Keywords] or [Symbols] or by [Tokens]");
    for (const TokenDef& earlier : lang.TokenDefs)
      if (earlier.Kind == TokenDefKind::Token && earlier.Term == def.Term)
        return fail(stTerminalDefined, nameAt, name.size(), "terminal '" + def.Name + "' defined twice",
                    "first defined on line " + std::to_string(earlier.Line));
  }
  const std::size_t patternAt = OffsetOf(line, pattern);
  if (pattern.empty()) return fail(stBadPattern, line.size(), 1, "missing pattern after '='");
  regex::Tree tree;
  regex::SyntaxError error;
  if (!regex::ParseTokenPattern(lang, lang.TokenDefs.size(), pattern, tree, error))
    return fail(stBadPattern, patternAt + error.Offset, error.Length, error.Text);
  if (def.Kind != TokenDefKind::Fragment && regex::MatchesEmpty(tree))
    return fail(stBadPattern, patternAt, pattern.size(), "the pattern matches the empty text",
                "every match must take at least one byte: use + instead of *, or drop the ?");
  return stOk;
}

}  // namespace

Status TokensLine(Language& lang, std::string_view line) {
  TokenDef def;
  if (Status st = CheckLine(lang, line, def, nullptr); st != stOk) return st;
  lang.TokenDefs.push_back(std::move(def));
  return stOk;
}

bool LocateTokensFault(Language& lang, std::string_view line, Status st, LineFault& fault) {
  TokenDef def;
  LineFault found;
  if (CheckLine(lang, line, def, &found) != st) return false;
  fault = std::move(found);
  return true;
}

}  // namespace parvolen
