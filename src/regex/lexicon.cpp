#include "regex/lexicon.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <utility>

#include "base/text.h"

// Note [why comments come first]: the hand-written lexer that the built-in classes replace
// skipped white space and comments before it looked at anything else, so a comment opener such
// as "//" won over a symbol of the same spelling. Giving the comment openers and the default white
// space the highest priority keeps every description without [Tokens] lexed as it was. The lines of
// [Tokens], written by the user, rank below keywords and symbols: a reserved word or an operator
// always wins a tie.

namespace parvolen::regex {
namespace {

// The text as a quoted literal of the pattern syntax.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 32 || byte >= 127) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// The byte as an item of a class.
std::string ClassItem(unsigned char c) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "\\x%02x", c);
  return hex;
}

// A pattern of the built-in classes, which are written correctly here: a failure is a fault of
// this file, reported as the record's fault.
bool Builtin(std::string_view pattern, Tree& tree) {
  SyntaxError error;
  return Parse(pattern, nullptr, tree, error);
}

// The shapes of the symbol tree with their terminals, by a walk of the tree.
void SymbolShapes(const Language& lang, std::int32_t list, std::string& prefix,
                  std::vector<std::pair<std::string, std::int32_t>>& shapes, int depth) {
  for (std::int32_t n = list; n >= 1 && n <= lang.LastSymbNode && depth < 4096; n = lang.SymbTab[n].Altr) {
    const SymbNodeRec& node = lang.SymbTab[n];
    prefix.push_back(static_cast<char>(node.Ch));
    if (node.Term != 0) shapes.emplace_back(prefix, node.Term);
    SymbolShapes(lang, node.Next, prefix, shapes, depth + 1);
    prefix.pop_back();
  }
}

// Every `{name}` in a pattern's text, in order; a name in a string or class counts too, which
// only makes a fragment parsed for nothing.
std::vector<std::string_view> NamesIn(std::string_view pattern) {
  const auto first = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  const auto rest = [&](char c) { return first(c) || (c >= '0' && c <= '9') || c == '-'; };
  std::vector<std::string_view> names;
  for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
    if (pattern[i] != '{' || !first(pattern[i + 1])) continue;
    std::size_t j = i + 1;
    while (j < pattern.size() && rest(pattern[j])) ++j;
    if (j < pattern.size() && pattern[j] == '}') names.push_back(pattern.substr(i + 1, j - i - 1));
    i = j - 1;
  }
  return names;
}

// Note [fragments named]: a pattern sees the fragments of the lines before it, each parsed with
// the ones before that. Parsing all of them for every line made reading quadratic (a few large
// fragments followed by many short lines took minutes), so only the fragments that the pattern
// names, and those that they name in turn, are parsed: all lines before `count` that define a
// named fragment, found by a worklist without recursion. The result is the same, since a
// fragment that is not named is never looked up.
std::vector<bool> NamedFragments(const Language& lang, std::size_t count, std::string_view pattern) {
  std::map<std::string_view, std::vector<std::size_t>> lines;  // the lines that define each fragment
  for (std::size_t i = 0; i < count; ++i)
    if (lang.TokenDefs[i].Kind == TokenDefKind::Fragment) lines[lang.TokenDefs[i].Name].push_back(i);
  std::vector<bool> named(count, false);
  // A name, and the line it was seen on: the lines before that one define it.
  std::vector<std::pair<std::string_view, std::size_t>> work;
  for (std::string_view name : NamesIn(pattern)) work.emplace_back(name, count);
  while (!work.empty()) {
    const auto [name, seenOn] = work.back();
    work.pop_back();
    const auto found = lines.find(name);
    if (found == lines.end()) continue;
    for (std::size_t i : found->second) {
      if (i >= seenOn || named[i]) continue;
      named[i] = true;
      for (std::string_view inner : NamesIn(lang.TokenDefs[i].Pattern)) work.emplace_back(inner, i);
    }
  }
  return named;
}

bool DefinedInTokens(const Language& lang, std::int32_t t) {
  if (t == 0) return false;
  for (const TokenDef& def : lang.TokenDefs)
    if (def.Kind == TokenDefKind::Token && def.Term == t) return true;
  return false;
}

bool AnySkip(const Language& lang) {
  for (const TokenDef& def : lang.TokenDefs)
    if (def.Kind == TokenDefKind::Skip) return true;
  return false;
}

std::string TermName(const Language& lang, std::int32_t t) {
  return t >= 1 && t <= lang.LastTerminal ? std::string(lang.TermTab[t].Name.View()) : "?";
}

class RuleList {
 public:
  explicit RuleList(std::vector<LexRule>& rules) : rules_(rules) {}

  bool Add(RuleAction action, std::int32_t term, std::string what, std::string_view pattern, std::size_t trim = 0) {
    LexRule rule;
    if (!Builtin(pattern, rule.Pattern)) return false;
    Finish(rule, action, term, std::move(what), trim);
    return true;
  }

  void AddTree(RuleAction action, std::int32_t term, std::string what, Tree tree, std::int32_t def = -1) {
    LexRule rule;
    rule.Pattern = std::move(tree);
    rule.Def = def;
    Finish(rule, action, term, std::move(what), 0);
  }

 private:
  void Finish(LexRule& rule, RuleAction action, std::int32_t term, std::string what, std::size_t trim) {
    rule.Action = action;
    rule.Term = term;
    rule.Trim = trim;
    rule.What = std::move(what);
    rule.Lines = BytesUsed(rule.Pattern).test('\n');
    rules_.push_back(std::move(rule));
  }

  std::vector<LexRule>& rules_;
};

}  // namespace

bool ParseTokenPattern(const Language& lang, std::size_t count, std::string_view pattern, Tree& tree,
                       SyntaxError& error) {
  // The fragments before the line that it may use (note [fragments named]), each parsed with the
  // ones before it.
  const std::vector<bool> named = NamedFragments(lang, std::min(count, lang.TokenDefs.size()), pattern);
  std::map<std::string, std::shared_ptr<const Tree>, std::less<>> fragments;
  const FragmentLookup lookup = [&](std::string_view name) -> std::shared_ptr<const Tree> {
    const auto found = fragments.find(name);
    return found == fragments.end() ? nullptr : found->second;
  };
  for (std::size_t i = 0; i < named.size(); ++i) {
    const TokenDef& def = lang.TokenDefs[i];
    if (def.Kind != TokenDefKind::Fragment || !named[i]) continue;
    auto fragment = std::make_shared<Tree>();
    SyntaxError ignored;
    if (Parse(def.Pattern, lookup, *fragment, ignored)) fragments[def.Name] = std::move(fragment);
  }
  return Parse(pattern, lookup, tree, error);
}

Status BuildLexicon(const Language& lang, Lexicon& lexicon, std::int32_t& blamed) {
  blamed = -1;
  lexicon = Lexicon{};
  RuleList rules(lexicon.Rules);

  // Comment openers and the default white space (note [why comments come first]).
  if (!AnySkip(lang) && !rules.Add(RuleAction::Skip, 0, "white space", "[ \\t\\n\\v\\f\\r]+")) return stBadPattern;
  if (const std::string_view line = lang.LineComment.View(); !line.empty())
    if (!rules.Add(RuleAction::Skip, 0, "LineComment", Quoted(line) + "[^\\n]*")) return stBadPattern;
  std::string_view open, close;
  if (SplitPair(lang.BlockComment.View(), open, close))
    if (!rules.Add(RuleAction::BlockComment, 0, "BlockComment", Quoted(open))) return stBadPattern;

  // Keywords, then symbols.
  for (std::int32_t k = 1; k <= lang.LastKeyword; ++k) {
    const std::string_view shape = lang.KwdTab[k].Shape.View();
    if (shape.empty()) continue;
    rules.AddTree(RuleAction::Token, lang.KwdTab[k].T, "keyword '" + std::string(shape) + "'",
                  Literal(shape, lang.CaseSensitive == 0));
  }
  std::vector<std::pair<std::string, std::int32_t>> shapes;
  std::string prefix;
  SymbolShapes(lang, lang.SymbRoot, prefix, shapes, 0);
  for (const auto& [shape, term] : shapes)
    rules.AddTree(RuleAction::Token, term, "symbol '" + shape + "'", Literal(shape, false));

  // The lines of [Tokens], at most kMaxNodes in all, checked as they are parsed: many lines that
  // each copy a large fragment are not all held in memory before the automaton refuses them.
  std::size_t nodes = 0;
  for (std::size_t i = 0; i < lang.TokenDefs.size(); ++i) {
    const TokenDef& def = lang.TokenDefs[i];
    if (def.Kind == TokenDefKind::Fragment) continue;
    Tree tree;
    SyntaxError error;
    if (!ParseTokenPattern(lang, i, def.Pattern, tree, error)) return stBadPattern;
    nodes += tree.Size;
    const bool skip = def.Kind == TokenDefKind::Skip;
    rules.AddTree(skip ? RuleAction::Skip : RuleAction::Token, skip ? 0 : def.Term,
                  skip ? "{skip} of line " + std::to_string(def.Line) : "token '" + def.Name + "'", std::move(tree),
                  static_cast<std::int32_t>(i));
    if (nodes > kMaxNodes) {
      blamed = static_cast<std::int32_t>(lexicon.Rules.size() - 1);
      return stTooManySymbNodes;
    }
  }

  // The built-in classes that [Tokens] leaves alone.
  std::string idChars;
  for (char c : lang.IdChars.View()) idChars += ClassItem(static_cast<unsigned char>(c));
  const std::string word = "[A-Za-z][A-Za-z0-9" + idChars + "]*";
  if (lang.IdTerm != 0 && !DefinedInTokens(lang, lang.IdTerm)) {
    if (!rules.Add(RuleAction::Token, lang.IdTerm, "identifier '" + TermName(lang, lang.IdTerm) + "'", word))
      return stBadPattern;
  } else if (lang.IdTerm == 0 && lang.LastKeyword > 0) {
    if (!rules.Add(RuleAction::Word, 0, "word", word)) return stBadPattern;
  }
  if (lang.NumTerm != 0 && !DefinedInTokens(lang, lang.NumTerm))
    if (!rules.Add(RuleAction::Token, lang.NumTerm, "number '" + TermName(lang, lang.NumTerm) + "'", "[0-9]+"))
      return stBadPattern;
  const bool chars = lang.CharTerm != 0 && lang.CharDelim != '\0' && !DefinedInTokens(lang, lang.CharTerm);
  const bool strings = lang.StrTerm != 0 && lang.StrDelim != '\0' && !DefinedInTokens(lang, lang.StrTerm);
  const auto constant = [&](char delim, std::int32_t term, bool single) {
    const std::string d = ClassItem(static_cast<unsigned char>(delim));
    const std::string pattern = "[" + d + "][^" + d + "]" + (single ? "" : "*") + "[" + d + "]";
    return rules.Add(RuleAction::Token, term, "constant '" + TermName(lang, term) + "'", pattern, 1);
  };
  if (chars && strings && lang.CharDelim == lang.StrDelim) {
    // One delimiter for both: one character between the delimiters is a character constant.
    if (!constant(lang.CharDelim, lang.CharTerm, true) || !constant(lang.StrDelim, lang.StrTerm, false))
      return stBadPattern;
  } else {
    if (strings && !constant(lang.StrDelim, lang.StrTerm, false)) return stBadPattern;
    if (chars && !constant(lang.CharDelim, lang.CharTerm, false)) return stBadPattern;
  }

  std::vector<const Tree*> trees;
  for (const LexRule& rule : lexicon.Rules) trees.push_back(&rule.Pattern);
  if (Build(trees, Limits{}, lexicon.Automaton, lexicon.Reports, blamed) != BuildOutcome::Ok)
    return stTooManySymbNodes;
  return stOk;
}

std::vector<bool> LexedTerminals(const Lexicon& lexicon, const Language& lang) {
  std::vector<bool> lexed(static_cast<std::size_t>(std::max(lang.LastTerminal, 0)) + 1, false);
  for (std::size_t r = 0; r < lexicon.Rules.size(); ++r) {
    const LexRule& rule = lexicon.Rules[r];
    const bool matched = r < lexicon.Reports.size() && lexicon.Reports[r].Matched;
    if (rule.Action == RuleAction::Token && matched && rule.Term >= 0 && rule.Term <= lang.LastTerminal)
      lexed[static_cast<std::size_t>(rule.Term)] = true;
  }
  if (lang.EoiCode >= 1 && lang.EoiCode <= lang.LastTerminal) lexed[static_cast<std::size_t>(lang.EoiCode)] = true;
  return lexed;
}

}  // namespace parvolen::regex
