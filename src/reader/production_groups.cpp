#include "reader/production_groups.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "analysis/productions.h"
#include "base/text.h"
#include "model/symbol_tables.h"

namespace parvolen {

// Note [writing groups out]
// A line with groups becomes plain productions before the analysis sees it, so that decisions,
// warnings and diagnostics are those of the plain grammar:
// - an optional part (`?`) doubles the line's productions: one with the part and one without,
//   which share their beginning, so the choice comes right where the part may begin (as a
//   hand-written optional part would, and as the dangling else needs);
// - a repetition (`*`, `+`) becomes a fresh nonterminal N with the left-recursive productions
//   N ::= [N]part and N ::= (for `*`) or N ::= part (for `+`), and [N] stands in its place:
//   both translators turn the left-recursive tail into a loop, whose only decision is whether
//   another part begins;
// - a group's own optional parts and repetitions are written out inside it first, so a
//   repetition of a group with an optional part gives N two tails.
// Actions and output terminals stay where they stand, in every production that has them.
// Every symbol keeps the place where it is written, and a fresh nonterminal's productions the
// place of its group, for the diagnostics. `!` marks the symbols of its right side or group as
// preferred: at a choice where one of them meets another member on the same string, it wins.

namespace {

// The deepest nesting of groups read: the parse and the expansion recurse once per level.
constexpr int kDeepestGroup = 100;

bool IsOperator(char c) { return c == '*' || c == '+' || c == '?'; }

char CloseOf(char open) {
  switch (open) {
    case '(': return ')';
    case '[': return ']';
    case '{': return '}';
    case '<': return '>';
    default: return '\0';
  }
}

TextSpan Span(std::size_t offset, std::size_t length) {
  return {static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length)};
}

struct Seq;

// A symbol or a group, with the operator after it (0 for none).
struct Item {
  TextSpan Token;        // the symbol as written, delimiters included (not for a group)
  std::vector<Seq> Inner;  // a group's content: one sequence
  char Op = 0;
  TextSpan Whole;  // from the symbol or opening slash up to the operator
};

struct Seq {
  bool Preferred = false;
  std::vector<Item> Items;
};

// One way through a sequence: plain symbols with their places.
struct Alt {
  std::string Right;
  std::vector<TextSpan> Symbols;
  std::vector<bool> Preferred;

  void Append(const Alt& more) {
    Right += more.Right;
    Symbols.insert(Symbols.end(), more.Symbols.begin(), more.Symbols.end());
    Preferred.insert(Preferred.end(), more.Preferred.begin(), more.Preferred.end());
  }
};

class Expander {
 public:
  Expander(std::string_view line, std::string_view left, const std::function<bool(std::string_view)>& taken,
           GroupExpansion& out, LineFault& fault)
      : line_(line), left_(left), taken_(taken), out_(out), fault_(fault) {}

  [[nodiscard]] Status Parse(std::size_t from, Seq& seq) {
    pos_ = from;
    return ParseSeq(false, from, seq);
  }

  [[nodiscard]] Status Expand(const Seq& seq, bool preferred, std::vector<Alt>& alts) {
    preferred = preferred || seq.Preferred;
    alts.assign(1, Alt{});
    for (const Item& item : seq.Items) {
      std::vector<Alt> part;
      if (item.Inner.empty()) {
        const std::string_view token = line_.substr(item.Token.Offset, item.Token.Length);
        part.push_back({std::string(token), {item.Token}, {preferred}});
      } else if (Status st = Expand(item.Inner.front(), preferred, part); st != stOk) {
        return st;
      }
      if (item.Op == '?') {
        part.push_back(Alt{});
      } else if (item.Op == '*' || item.Op == '+') {
        const std::string name = FreshName();
        WriteLoop(name, part, item.Op == '+', item.Whole);
        part.assign(1, Alt{"[" + name + "]", {item.Whole}, {preferred}});
      }
      std::vector<Alt> joined;
      for (const Alt& before : alts)
        for (const Alt& after : part) {
          joined.push_back(before);
          joined.back().Append(after);
        }
      if (joined.size() > kMostWrittenOut)
        return Fail(stEdgeLeftDelim, item.Whole.Offset, item.Whole.Length,
                    "this optional part makes the line more than " + std::to_string(kMostWrittenOut) + " productions",
                    "each optional part doubles them: write some of them as nonterminals of their own");
      alts = std::move(joined);
    }
    return stOk;
  }

  std::vector<WrittenOut> loops;  // the productions of the fresh nonterminals

 private:
  [[nodiscard]] Status Fail(Status st, std::size_t offset, std::size_t length, std::string text,
                            std::string hint = "") {
    fault_ = {offset, length, std::move(text), std::move(hint)};
    return st;
  }

  [[nodiscard]] bool ClosesGroup(std::size_t at) const {
    return at + 1 < line_.size() && line_[at] == '/' && IsOperator(line_[at + 1]);
  }

  [[nodiscard]] Status ParseSeq(bool inGroup, std::size_t openAt, Seq& seq) {
    if (pos_ < line_.size() && line_[pos_] == '!') {
      seq.Preferred = true;
      ++pos_;
    }
    while (pos_ < line_.size()) {
      const char c = line_[pos_];
      if (ClosesGroup(pos_)) {
        if (inGroup) return stOk;
        return Fail(stEdgeLeftDelim, pos_, 2, "'" + std::string(line_.substr(pos_, 2)) + "' closes a group, but none is open",
                    "a group opens with '/' before its first symbol");
      }
      Item item;
      const std::size_t start = pos_;
      if (c == '/') {
        if (++depth_ > kDeepestGroup)
          return Fail(stEdgeLeftDelim, pos_, 1, "groups nest at most " + std::to_string(kDeepestGroup) + " deep");
        ++pos_;
        item.Inner.emplace_back();
        if (Status st = ParseSeq(true, start, item.Inner.front()); st != stOk) return st;
        --depth_;
        if (item.Inner.front().Items.empty())
          return Fail(stEdgeLeftDelim, start, pos_ + 2 - start, "a group holds at least one symbol");
        item.Op = line_[pos_ + 1];
        pos_ += 2;
      } else if (const char close = CloseOf(c); close != '\0') {
        const std::size_t end = line_.find(close, pos_ + 1);
        if (end == std::string_view::npos)
          return Fail(stEdgeRightDelim, pos_, line_.size() - pos_,
                      "'" + std::string(1, c) + "' without its closing '" + std::string(1, close) + "'");
        item.Token = Span(pos_, end + 1 - pos_);
        pos_ = end + 1;
        if (pos_ < line_.size() && IsOperator(line_[pos_])) item.Op = line_[pos_++];
      } else if (c == '!') {
        return Fail(stEdgeLeftDelim, pos_, 1, "'!' stands only at the beginning of a right side or of a group");
      } else if (IsOperator(c)) {
        return Fail(stEdgeLeftDelim, pos_, 1, "'" + std::string(1, c) + "' follows a symbol or a group only once",
                    "write the part as a group, '/.../" + std::string(1, c) + "', to apply a second operator");
      } else {
        return Fail(stEdgeLeftDelim, pos_, 1, "expected '(', '[', '{', '<' or '/' to begin a symbol or a group",
                    "the symbols of a right side follow each other without blanks");
      }
      item.Whole = Span(start, pos_ - start);
      seq.Items.push_back(std::move(item));
    }
    if (inGroup)
      return Fail(stEdgeRightDelim, openAt, line_.size() - openAt, "the group has no closing '/' with its operator",
                  "close it with '/*' (zero or more), '/+' (one or more) or '/?' (optional)");
    return stOk;
  }

  // A name for a fresh nonterminal: the line's nonterminal (letters, digits and underscores of
  // it), "_list" and a number, within the 25 characters that count, unused so far.
  std::string FreshName() {
    std::string base;
    for (char c : left_) {
      const auto u = static_cast<unsigned char>(c);
      if (std::isalnum(u) != 0 || c == '_') base += c;
      else if (c == ' ') base += '_';
    }
    if (base.empty()) base = "group";
    for (std::size_t n = 1;; ++n) {
      const std::string suffix = "_list" + std::to_string(n);
      std::string name = base.substr(0, 25 - std::min<std::size_t>(suffix.size(), 25)) + suffix;
      bool used = taken_(name);
      for (const std::string& fresh : out_.Fresh) used = used || fresh == name;
      if (!used) {
        out_.Fresh.push_back(name);
        return name;
      }
    }
  }

  void WriteLoop(const std::string& name, const std::vector<Alt>& part, bool oneOrMore, TextSpan whole) {
    const Alt self{"[" + name + "]", {whole}, {false}};
    for (const Alt& p : part) {
      Alt tail = self;
      tail.Append(p);
      loops.push_back({name, tail.Right, tail.Symbols, tail.Preferred, false, whole});
    }
    if (!oneOrMore) loops.push_back({name, "", {}, {}, false, whole});
    for (const Alt& p : part)
      if (oneOrMore) loops.push_back({name, p.Right, p.Symbols, p.Preferred, false, whole});
  }

  std::string_view line_;
  std::string_view left_;
  const std::function<bool(std::string_view)>& taken_;
  GroupExpansion& out_;
  LineFault& fault_;
  std::size_t pos_ = 0;
  int depth_ = 0;  // groups open at pos_
};

}  // namespace

bool HasGroups(std::string_view line) {
  std::string_view left, right;
  if (SplitAtDefines(line, left, right) != stOk) return false;
  for (std::size_t pos = 0; pos < right.size(); ++pos) {
    const char c = right[pos];
    if (c == '/' || c == '!' || IsOperator(c)) return true;
    if (const char close = CloseOf(c); close != '\0') {
      const std::size_t end = right.find(close, pos + 1);
      if (end == std::string_view::npos) return false;
      pos = end;
    }
  }
  return false;
}

Status ExpandGroups(std::string_view line, const std::function<bool(std::string_view)>& taken, GroupExpansion& out,
                    LineFault& fault) {
  out = GroupExpansion{};
  std::string_view left, right;
  if (Status st = SplitAtDefines(line, left, right); st != stOk) return st;
  Expander expander(line, left, taken, out, fault);
  Seq top;
  const auto from = static_cast<std::size_t>(right.data() - line.data());
  if (Status st = expander.Parse(from, top); st != stOk) return st;
  std::vector<Alt> alts;
  if (Status st = expander.Expand(top, false, alts); st != stOk) return st;
  const TextSpan whole = Span(from, right.size());
  for (Alt& alt : alts)
    out.Productions.push_back(
        {std::string(left), std::move(alt.Right), std::move(alt.Symbols), std::move(alt.Preferred), top.Preferred, whole});
  for (WrittenOut& loop : expander.loops) out.Productions.push_back(std::move(loop));
  return stOk;
}

namespace {

// A nonterminal name in use, compared as the C identifier it becomes.
bool NonterminalTaken(const Language& lang, std::string_view name) {
  const auto same = [name](std::string_view declared) {
    if (declared.size() != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
      if ((declared[i] == ' ' ? '_' : declared[i]) != name[i]) return false;
    return true;
  };
  for (std::int32_t n = 1; n <= lang.LastNonterminal; ++n)
    if (same(lang.NontTab[n].Name.View())) return true;
  return false;
}

// Registers one written-out production and where it stands; marks its preferred edges.
Status AddWrittenOut(Language& lang, const WrittenOut& prod) {
  std::int32_t nont = 0;
  if (Status st = FindNonterminal(lang, prod.Left, nont); st != stOk) return st;
  std::vector<std::int32_t> path;
  if (Status st = ProdAdd(lang, prod.Left + " ::= " + prod.Right, prod.Left, nont, prod.Right, &path); st != stOk)
    return st;
  lang.ProdOrigins.push_back({lang.LastProduction, lang.ReadingLine, prod.Whole, prod.Symbols});
  // The path holds the symbols (a left-recursive one's leading [Left] left out) and the end edge.
  const std::size_t skipped = prod.Symbols.size() + 1 - path.size();
  for (std::size_t i = 0; i + 1 < path.size(); ++i)
    if (prod.Preferred[i + skipped]) PreferEdge(lang, path[i]);
  if (prod.PreferredEnd) PreferEdge(lang, path.back());
  return stOk;
}

}  // namespace

Status ProductionsLine(Language& lang, std::string_view line) {
  if (lang.EmbeddedKeys == 0 || !HasGroups(line)) return ProdLine(lang, line);
  if (!lang.NontTab.Exists()) return stNotAllocated;
  std::string_view left, right;
  if (Status st = SplitAtDefines(line, left, right); st != stOk) return st;
  std::int32_t owner = 0;
  if (Status st = FindNonterminal(lang, left, owner); st != stOk) return st;
  GroupExpansion expansion;
  LineFault fault;
  const auto taken = [&lang](std::string_view name) { return NonterminalTaken(lang, name); };
  if (Status st = ExpandGroups(line, taken, expansion, fault); st != stOk) return st;
  for (const std::string& name : expansion.Fresh) {
    std::int32_t fresh = 0;
    if (Status st = NewNonterminal(lang, name, fresh); st != stOk) return st;
  }
  for (const WrittenOut& prod : expansion.Productions)
    if (Status st = AddWrittenOut(lang, prod); st != stOk) return st;
  return stOk;
}

}  // namespace parvolen
