// The lexer of the embeddable translator against an independent model. Random token definitions
// (keywords, symbols, [Tokens] lines, {skip} lines and fragments, their patterns drawn as trees of
// this file over a small alphabet) are generated with --prefix by the real program, compiled with
// a driver that prints every terminal, and run on random inputs (some longer than the stream's
// first block) from memory and from a stream. The model matches the same trees by the set of
// places where each can end, takes the longest match at each place with the documented
// priorities, and predicts every terminal and the lexer's failure: a byte that begins nothing, a
// match that runs past the lexer's window or MAX_TOKEN, input that ends inside a terminal.
// PARVOLEN_PROPERTY_LEXICONS sets how many descriptions are tried.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <bitset>
#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "codegen_fixture.h"

namespace parvolen {
namespace {

using namespace testing_codegen;

constexpr int kDefaultLexicons = 50;
constexpr std::size_t kMaxToken = 65536;          // LX_MAX_TOKEN
constexpr std::size_t kLookRoom = kMaxToken + 2;  // how far the lexer looks ahead from a terminal's start
constexpr std::size_t kLongInput = 140000;        // past the first block a stream is read in
constexpr int kDetailedFailures = 3;

// ---------------------------------------------------------------------------------------------
// Patterns: a tree over code points (ASCII bytes are code points below 80).

using Range = std::pair<char32_t, char32_t>;

enum class Kind { Empty, Text, Class, Dot, CodePoints, Seq, Alt, Repeat, Fragment };

struct Pat {
  Kind kind = Kind::Empty;
  std::u32string text;          // Text: the characters
  bool quoted = false;          // Text: written as "..." rather than character by character
  std::vector<Range> items;     // Class and CodePoints: as written
  bool negated = false;         // Class and CodePoints: [^...]
  std::bitset<256> bytes;       // Class and Dot: the bytes matched
  std::vector<Range> members;   // CodePoints: the code points matched, surrogates left out
  std::vector<Pat> children;    // Seq, Alt; Repeat: the one repeated
  int min = 0, max = 0;         // Repeat: max -1 for no bound
  bool braces = false;          // Repeat: written {m,n} even where * + ? would do
  int fragment = 0;             // Fragment: its number
};

constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr Range kSurrogates{0xD800, 0xDFFF};

std::string Utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// How a character is written in a pattern, outside a class (inClass false) or inside one.
std::string Written(char32_t c, bool inClass) {
  char hex[16];
  if (c >= 0x80) {
    std::snprintf(hex, sizeof hex, "\\u{%x}", static_cast<unsigned>(c));
    return hex;
  }
  switch (c) {
    case '\n': return "\\n";
    case '\t': return "\\t";
    case '"': return "\\\"";
    case '\\': return "\\\\";
    case ' ': return inClass ? " " : "\\x20";
    case '+': return inClass ? "+" : "\\+";
    default: return std::string(1, static_cast<char>(c));
  }
}

// The pattern as text; `level` is what the place needs: 0 anything, 1 no alternation, 2 an atom.
std::string Print(const Pat& p, int level) {
  const auto group = [&](const std::string& text, int own) { return own < level ? "(" + text + ")" : text; };
  switch (p.kind) {
    case Kind::Empty: return "()";
    case Kind::Text: {
      std::string out;
      if (p.quoted) {
        for (char32_t c : p.text) out += c == ' ' ? " " : c == '+' ? "+" : Written(c, false);
        return "\"" + out + "\"";
      }
      for (char32_t c : p.text) out += Written(c, false);
      return p.text.size() > 1 ? group(out, 1) : out;
    }
    case Kind::Dot: return ".";
    case Kind::Class:
    case Kind::CodePoints: {
      std::string out = p.negated ? "[^" : "[";
      for (const auto& [lo, hi] : p.items) out += lo == hi ? Written(lo, true) : Written(lo, true) + "-" + Written(hi, true);
      return out + "]";
    }
    case Kind::Seq: {
      std::string out;
      for (const Pat& c : p.children) out += Print(c, 2);
      return group(out, 1);
    }
    case Kind::Alt: {
      std::string out;
      for (const Pat& c : p.children) out += (out.empty() ? "" : "|") + Print(c, 1);
      return group(out, 0);
    }
    case Kind::Repeat: {
      std::string op;
      if (!p.braces && p.min == 0 && p.max < 0) op = "*";
      else if (!p.braces && p.min == 1 && p.max < 0) op = "+";
      else if (!p.braces && p.min == 0 && p.max == 1) op = "?";
      else if (p.max == p.min) op = "{" + std::to_string(p.min) + "}";
      else op = "{" + std::to_string(p.min) + "," + (p.max < 0 ? "" : std::to_string(p.max)) + "}";
      // A repetition of a repetition is grouped: `a*?` would read as one operator elsewhere.
      return (p.children[0].kind == Kind::Repeat ? "(" + Print(p.children[0], 0) + ")" : Print(p.children[0], 2)) + op;
    }
    case Kind::Fragment: return "{f" + std::to_string(p.fragment) + "}";
  }
  return "";
}

// Whether the pattern has a repetition without an upper bound.
bool Unbounded(const Pat& p, const std::vector<Pat>& fragments) {
  if (p.kind == Kind::Fragment) return Unbounded(fragments[static_cast<std::size_t>(p.fragment)], fragments);
  if (p.kind == Kind::Repeat && p.max < 0) return true;
  return std::any_of(p.children.begin(), p.children.end(), [&](const Pat& c) { return Unbounded(c, fragments); });
}

bool Nullable(const Pat& p, const std::vector<Pat>& fragments) {
  switch (p.kind) {
    case Kind::Empty: return true;
    case Kind::Text: return p.text.empty();
    case Kind::Seq:
      return std::all_of(p.children.begin(), p.children.end(), [&](const Pat& c) { return Nullable(c, fragments); });
    case Kind::Alt:
      return std::any_of(p.children.begin(), p.children.end(), [&](const Pat& c) { return Nullable(c, fragments); });
    case Kind::Repeat: return p.min == 0 || Nullable(p.children[0], fragments);
    case Kind::Fragment: return Nullable(fragments[static_cast<std::size_t>(p.fragment)], fragments);
    default: return false;
  }
}

// ---------------------------------------------------------------------------------------------
// The model's matcher: the places where matches of a pattern that begin at given places end.

using Places = std::vector<std::size_t>;  // sorted, distinct

void Merge(Places& into, const Places& more) {
  Places out;
  std::set_union(into.begin(), into.end(), more.begin(), more.end(), std::back_inserter(out));
  into = std::move(out);
}

// The length of the UTF-8 sequence a lead byte begins, 0 for no lead byte.
std::size_t SequenceLength(unsigned char b) {
  return b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
}

char32_t Assemble(const unsigned char* s, std::size_t n) {
  char32_t c = s[0] & (n == 1 ? 0x7F : n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
  for (std::size_t i = 1; i < n; ++i) c = (c << 6) | (s[i] & 0x3F);
  return c;
}

bool Intersects(const std::vector<Range>& members, char32_t lo, char32_t hi) {
  return std::any_of(members.begin(), members.end(), [&](const Range& r) { return r.first <= hi && lo <= r.second; });
}

class Matcher {
 public:
  Matcher(const std::string& input, const std::vector<Pat>& fragments)
      : in_(reinterpret_cast<const unsigned char*>(input.data())), fragments_(fragments) {}

  // Looks no further than limit; alive is set when some match could go on past it.
  std::size_t limit = 0;
  bool alive = false;

  Places Ends(const Pat& p, const Places& from) {
    Places to;
    switch (p.kind) {
      case Kind::Empty: return from;
      case Kind::Class:
      case Kind::Dot:
        for (std::size_t at : from) Byte(at, p.bytes, to);
        return to;
      case Kind::Text: {
        Places at = from;
        for (char32_t c : p.text)
          for (char b : Utf8(c)) {
            std::bitset<256> one;
            one.set(static_cast<unsigned char>(b));
            Places next;
            for (std::size_t i : at) Byte(i, one, next);
            at = std::move(next);
          }
        return at;
      }
      case Kind::CodePoints:  // code points of different lengths: the ends need sorting
        for (std::size_t at : from) CodePoint(p, at, to);
        std::sort(to.begin(), to.end());
        to.erase(std::unique(to.begin(), to.end()), to.end());
        return to;
      case Kind::Seq: {
        Places at = from;
        for (const Pat& c : p.children) at = Ends(c, at);
        return at;
      }
      case Kind::Alt:
        for (const Pat& c : p.children) Merge(to, Ends(c, from));
        return to;
      case Kind::Repeat: {
        Places at = from;
        for (int i = 0; i < p.min && !at.empty(); ++i) at = Ends(p.children[0], at);
        // Beyond the minimum, a place reached again needs no second visit: the first one had
        // at least as many repetitions left.
        Places all = at, frontier = at;
        std::unordered_set<std::size_t> seen(at.begin(), at.end());
        for (int i = p.min; (p.max < 0 || i < p.max) && !frontier.empty(); ++i) {
          Places fresh;
          for (std::size_t end : Ends(p.children[0], frontier))
            if (seen.insert(end).second) fresh.push_back(end);
          all.insert(all.end(), fresh.begin(), fresh.end());
          frontier = std::move(fresh);
        }
        std::sort(all.begin(), all.end());
        return all;
      }
      case Kind::Fragment: return Ends(fragments_[static_cast<std::size_t>(p.fragment)], from);
    }
    return to;
  }

 private:
  void Byte(std::size_t at, const std::bitset<256>& set, Places& to) {
    if (at >= limit) {
      alive = true;
    } else if (set.test(in_[at]) && (to.empty() || to.back() != at + 1)) {
      to.push_back(at + 1);
    }
  }

  // One UTF-8 encoded code point of the class: a complete one matches, a valid beginning cut
  // off by the limit keeps the match alive when some member begins so.
  void CodePoint(const Pat& p, std::size_t at, Places& to) {
    if (at >= limit) {
      alive = true;
      return;
    }
    const std::size_t n = SequenceLength(in_[at]);
    if (n == 0) return;
    const std::size_t have = std::min(n, limit - at);
    for (std::size_t i = 1; i < have; ++i)
      if ((in_[at + i] & 0xC0) != 0x80) return;
    const char32_t least = n == 1 ? 0 : n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
    const char32_t most = n == 1 ? 0x7F : n == 2 ? 0x7FF : n == 3 ? 0xFFFF : kLastCodePoint;
    unsigned char low[4], high[4];
    for (std::size_t i = 0; i < n; ++i) {
      low[i] = i < have ? in_[at + i] : 0x80;
      high[i] = i < have ? in_[at + i] : 0xBF;
    }
    const char32_t lo = std::max(Assemble(low, n), least), hi = std::min(Assemble(high, n), most);
    if (lo > hi || !Intersects(p.members, lo, hi)) return;
    if (have < n) {
      alive = true;
    } else {
      to.push_back(at + n);  // members hold no surrogates, so lo is a code point
    }
  }

  const unsigned char* in_;
  const std::vector<Pat>& fragments_;
};

// ---------------------------------------------------------------------------------------------
// A lexicon: the description's rules in priority order, and what the lexer makes of an input.

enum class Action { Skip, Token, Word };

struct Rule {
  Action action = Action::Token;
  int terminal = 0;  // Token: index in the terminal list
  Pat pattern;
};

struct Lexicon {
  std::vector<std::string> terminals;  // names, in the order of KINDS
  std::vector<std::string> keywords;   // spelling of terminal k<i+1>
  std::vector<std::string> symbols;    // spelling of terminal s<i+1>
  std::vector<std::string> lines;      // the [Tokens] section
  std::vector<Pat> fragments;
  std::vector<Rule> rules;             // in priority order
};

// The lexer's output for one input, as the driver prints it for each way of reading.
std::string Expect(const Lexicon& lex, const std::string& input) {
  std::ostringstream out;
  Matcher m(input, lex.fragments);
  std::size_t pos = 0, line = 1, lineStart = 0;
  const auto advance = [&](std::size_t to) {
    for (; pos < to; ++pos)
      if (input[pos] == '\n') ++line, lineStart = pos + 1;
  };
  const auto fail = [&](const char* status) {
    out << "end " << status << " " << line << " " << pos - lineStart + 1 << "\n";
    return out.str();
  };
  while (pos < input.size()) {
    m.limit = std::min(input.size(), pos + kLookRoom);
    m.alive = false;
    std::size_t bestEnd = pos;
    const Rule* best = nullptr;
    for (const Rule& rule : lex.rules) {
      const Places ends = m.Ends(rule.pattern, {pos});
      if (!ends.empty() && ends.back() > bestEnd) bestEnd = ends.back(), best = &rule;
    }
    if (m.alive && m.limit < input.size() && (best == nullptr || best->action != Action::Skip)) return fail("too-long");
    if (best == nullptr && m.alive && m.limit == input.size()) return fail("unterminated");
    if (best == nullptr) {
      // The lexer reports the byte that no match can go on with: the end of the longest
      // beginning of a match (its own start when no rule takes the first byte).
      std::size_t viable = pos;
      const std::size_t window = m.limit;
      for (std::size_t k = pos + 1; k < window; ++k) {
        m.limit = k;
        m.alive = false;
        for (const Rule& rule : lex.rules) (void)m.Ends(rule.pattern, {pos});
        if (!m.alive) break;
        viable = k;
      }
      advance(viable);
      return fail("bad-char");
    }
    if (best->action == Action::Word) return fail("bad-char");
    if (best->action == Action::Token) {
      if (bestEnd - pos > kMaxToken) return fail("too-long");
      out << best->terminal << " " << bestEnd - pos << " " << line << " " << pos - lineStart + 1 << "\n";
    }
    advance(bestEnd);
  }
  out << "end ok 0 0\n";
  return out.str();
}

// ---------------------------------------------------------------------------------------------
// Random lexicons and inputs.

// The characters of patterns and inputs, and the code points beyond them.
const std::u32string kAlphabet = U"abc01\"\\+ \n";
const std::u32string kCodePoints = {0xE9, 0x20AC, 0x10FFFF};

Pat Leaf(Kind kind) {
  Pat p;
  p.kind = kind;
  return p;
}

class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool Chance(int percent) { return Below(100) < percent; }
  char32_t AnyChar() { return kAlphabet[static_cast<std::size_t>(Below(static_cast<int>(kAlphabet.size())))]; }

  Pat Pattern(int depth, int fragments) {
    const int choice = Below(depth <= 0 ? 6 : 10);
    Pat p;
    switch (choice) {
      case 0:
      case 1:
        p = Leaf(Kind::Text);
        p.text = Chance(8) ? std::u32string(1, kCodePoints[static_cast<std::size_t>(Below(3))]) : std::u32string(1, AnyChar());
        if (Chance(25)) {
          p.quoted = true;
          for (int n = Below(3); n > 0; --n) p.text += AnyChar();
        }
        return p;
      case 2:
      case 3: return ByteClass();
      case 4:
        if (Chance(30)) return DotPat();
        if (Chance(30)) return CodePointClass();
        if (fragments > 0 && Chance(70)) {
          p = Leaf(Kind::Fragment);
          p.fragment = Below(fragments);
          return p;
        }
        return ByteClass();
      case 5:
        if (fragments > 0) {
          p = Leaf(Kind::Fragment);
          p.fragment = Below(fragments);
          return p;
        }
        return ByteClass();
      case 6:
      case 7:
        p = Leaf(Kind::Seq);
        for (int n = 2 + Below(2); n > 0; --n) p.children.push_back(Pattern(depth - 1, fragments));
        return p;
      case 8:
        p = Leaf(Kind::Alt);
        for (int n = 2 + Below(2); n > 0; --n)
          p.children.push_back(Chance(5) ? Leaf(Kind::Empty) : Pattern(depth - 1, fragments));
        return p;
      default:
        p = Leaf(Kind::Repeat);
        p.children.push_back(Pattern(depth - 1, fragments));
        switch (Below(6)) {
          case 0: p.max = -1; break;
          case 1: p.min = 1, p.max = -1; break;
          case 2: p.max = 1; break;
          case 3: p.min = p.max = Below(3) + (Chance(10) ? 0 : 1); break;
          case 4: p.min = Below(3), p.max = -1; break;
          default: p.min = Below(2), p.max = p.min + 1 + Below(3); break;
        }
        p.braces = Chance(15);
        return p;
    }
  }

  Lexicon MakeLexicon() {
    Lexicon lex;
    for (int n = Below(4); n > 0; --n) {
      std::string word(1, "abc"[Below(3)]);
      for (int k = Below(3); k > 0; --k) word += "abc01"[Below(5)];
      if (std::find(lex.keywords.begin(), lex.keywords.end(), word) == lex.keywords.end()) lex.keywords.push_back(word);
    }
    for (int n = Below(4); n > 0; --n) {
      std::string symbol;
      for (int k = 1 + Below(2); k > 0; --k) symbol += "+\"\\"[Below(3)];
      if (std::find(lex.symbols.begin(), lex.symbols.end(), symbol) == lex.symbols.end()) lex.symbols.push_back(symbol);
    }
    // The kinds of the [Tokens] lines in their order: 1-6 terminals, 0-2 skips, 0-2 fragments.
    const int tokens = 1 + Below(6), skips = Below(3), fragments = Below(3);
    std::vector<int> order(static_cast<std::size_t>(tokens), 0);
    order.resize(static_cast<std::size_t>(tokens + skips), 1);
    order.resize(static_cast<std::size_t>(tokens + skips + fragments), 2);
    std::shuffle(order.begin(), order.end(), rng_);

    for (std::size_t k = 0; k < lex.keywords.size(); ++k) lex.terminals.push_back("k" + std::to_string(k + 1));
    for (std::size_t s = 0; s < lex.symbols.size(); ++s) lex.terminals.push_back("s" + std::to_string(s + 1));
    if (skips == 0) {  // the default white space, first of all rules
      Pat ws = Leaf(Kind::Class);
      for (char c : std::string(" \t\n\v\f\r")) ws.bytes.set(static_cast<unsigned char>(c));
      Pat plus = Leaf(Kind::Repeat);
      plus.min = 1, plus.max = -1;
      plus.children.push_back(ws);
      lex.rules.push_back({Action::Skip, 0, plus});
    }
    for (std::size_t k = 0; k < lex.keywords.size(); ++k)
      lex.rules.push_back({Action::Token, static_cast<int>(k), TextPat(lex.keywords[k])});
    for (std::size_t s = 0; s < lex.symbols.size(); ++s)
      lex.rules.push_back({Action::Token, static_cast<int>(lex.keywords.size() + s), TextPat(lex.symbols[s])});

    int tokenNo = 0;
    for (int what : order) {
      const int frags = static_cast<int>(lex.fragments.size());
      Pat p = Pattern(1 + Below(3), frags);
      if (what == 2) {
        lex.lines.push_back("{f" + std::to_string(frags) + "} = " + Print(p, 0));
        lex.fragments.push_back(std::move(p));
        continue;
      }
      for (int tries = 0; tries < 20 && Nullable(p, lex.fragments); ++tries) p = Pattern(1 + Below(3), frags);
      if (Nullable(p, lex.fragments)) {
        Pat seq = Leaf(Kind::Seq);
        seq.children = {ByteClass(), std::move(p)};
        p = std::move(seq);
      }
      if (what == 1) {
        lex.lines.push_back("{skip} = " + Print(p, 0));
        lex.rules.push_back({Action::Skip, 0, std::move(p)});
      } else {
        const std::string name = "t" + std::to_string(++tokenNo);
        lex.lines.push_back(name + " = " + Print(p, 0));
        lex.rules.push_back({Action::Token, static_cast<int>(lex.terminals.size()), std::move(p)});
        lex.terminals.push_back(name);
      }
    }
    if (!lex.keywords.empty()) {
      // Without an identifier terminal, a word that spells no keyword is no terminal.
      Pat letter = Leaf(Kind::Class), rest = Leaf(Kind::Class), star = Leaf(Kind::Repeat), word = Leaf(Kind::Seq);
      for (int c = 0; c < 256; ++c) {
        const bool isLetter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        letter.bytes.set(static_cast<std::size_t>(c), isLetter);
        rest.bytes.set(static_cast<std::size_t>(c), isLetter || (c >= '0' && c <= '9'));
      }
      star.max = -1;
      star.children.push_back(rest);
      word.children = {letter, star};
      lex.rules.push_back({Action::Word, 0, word});
    }
    lex.terminals.push_back("eoi");
    return lex;
  }

  // A random text of the pattern; `stretch` lets unbounded repetitions run long.
  void Sample(const Pat& p, const std::vector<Pat>& fragments, std::size_t stretch, std::string& out) {
    switch (p.kind) {
      case Kind::Empty: return;
      case Kind::Text:
        for (char32_t c : p.text) out += Utf8(c);
        return;
      case Kind::Dot:
      case Kind::Class: {
        std::vector<char32_t> choices;
        for (char32_t c : kAlphabet)
          if (p.bytes.test(c)) choices.push_back(c);
        if (choices.empty())
          for (int c = 0; c < 128; ++c)
            if (p.bytes.test(static_cast<std::size_t>(c))) choices.push_back(static_cast<char32_t>(c));
        out += Utf8(choices[static_cast<std::size_t>(Below(static_cast<int>(choices.size())))]);
        return;
      }
      case Kind::CodePoints: {
        std::vector<char32_t> choices;
        for (const std::u32string& set : {kAlphabet, kCodePoints})
          for (char32_t c : set)
            if (Intersects(p.members, c, c)) choices.push_back(c);
        if (choices.empty()) choices.push_back(p.members[0].first);
        out += Utf8(choices[static_cast<std::size_t>(Below(static_cast<int>(choices.size())))]);
        return;
      }
      case Kind::Seq:
        for (const Pat& c : p.children) Sample(c, fragments, stretch, out);
        return;
      case Kind::Alt: Sample(p.children[static_cast<std::size_t>(Below(static_cast<int>(p.children.size())))], fragments, stretch, out); return;
      case Kind::Repeat: {
        int count = p.min;
        if (p.max < 0) {
          count += stretch > 0 ? static_cast<int>(stretch) : Below(4);
        } else {
          count += Below(p.max - p.min + 1);
        }
        for (int i = 0; i < count; ++i) Sample(p.children[0], fragments, 0, out);
        return;
      }
      case Kind::Fragment: Sample(fragments[static_cast<std::size_t>(p.fragment)], fragments, stretch, out); return;
    }
  }

  // Inputs: random characters, texts of the rules one after another (one of them with a byte
  // changed), a long one past the stream's first block, and now and then one long terminal.
  std::vector<std::string> Inputs(const Lexicon& lex) {
    std::vector<std::string> inputs;
    std::string random;
    for (int n = Below(60); n > 0; --n) random += RandomPiece();
    inputs.push_back(random);
    for (int k = 0; k < 2; ++k) {
      std::string text;
      for (int n = 3 + Below(20); n > 0; --n) AppendRule(lex, text, 0);
      if (k == 1 && !text.empty()) text.insert(static_cast<std::size_t>(Below(static_cast<int>(text.size()))), RandomPiece());
      inputs.push_back(text);
    }
    std::string longText;
    while (longText.size() < kLongInput) AppendRule(lex, longText, 0, true);
    inputs.push_back(longText);
    // One terminal or skipped text across the first block's end, or longer than MAX_TOKEN.
    std::vector<const Rule*> stretchy;
    for (const Rule& rule : lex.rules)
      if (rule.action != Action::Word && Unbounded(rule.pattern, lex.fragments)) stretchy.push_back(&rule);
    if (!stretchy.empty()) {
      std::string text;
      while (text.size() < kLongInput - kMaxToken) Separate(lex, text);
      Sample(stretchy[static_cast<std::size_t>(Below(static_cast<int>(stretchy.size())))]->pattern, lex.fragments,
             Chance(50) ? 40000 : 70000, text);
      AppendRule(lex, text, 0);
      inputs.push_back(text);
    }
    return inputs;
  }

 private:
  Pat TextPat(const std::string& text) {
    Pat p = Leaf(Kind::Text);
    for (char c : text) p.text += static_cast<char32_t>(static_cast<unsigned char>(c));
    return p;
  }

  Pat DotPat() {
    Pat p = Leaf(Kind::Dot);
    p.bytes.set();
    p.bytes.reset('\n');
    return p;
  }

  Pat ByteClass() {
    Pat p = Leaf(Kind::Class);
    p.negated = Chance(25);
    for (int n = 1 + Below(3); n > 0; --n) {
      if (Chance(25)) {
        p.items.push_back(Chance(50) ? Range{'a', 'c'} : Range{'0', '1'});
      } else {
        const char32_t c = AnyChar();
        p.items.push_back({c, c});
      }
    }
    for (const auto& [lo, hi] : p.items)
      for (char32_t c = lo; c <= hi; ++c) p.bytes.set(c);
    if (p.negated) p.bytes.flip();
    return p;
  }

  Pat CodePointClass() {
    Pat p = Leaf(Kind::CodePoints);
    p.negated = Chance(40);
    p.items.push_back({kCodePoints[static_cast<std::size_t>(Below(3))], 0});
    p.items.back().second = p.items.back().first;
    if (Chance(30)) p.items.back() = {0x80, Chance(50) ? 0xFFFF : kLastCodePoint};
    if (Chance(50)) {
      const char32_t c = AnyChar();
      p.items.push_back({c, c});
    }
    // The members: the items, or what they leave out; never a surrogate.
    std::vector<Range> sorted = p.items;
    std::sort(sorted.begin(), sorted.end());
    std::vector<Range> members;
    if (p.negated) {
      char32_t next = 0;
      for (const auto& [lo, hi] : sorted) {
        if (lo > next) members.push_back({next, lo - 1});
        next = std::max<char32_t>(next, hi + 1);
      }
      if (next <= kLastCodePoint) members.push_back({next, kLastCodePoint});
    } else {
      members = sorted;
    }
    for (const auto& [lo, hi] : members) {
      if (lo < kSurrogates.first) p.members.push_back({lo, std::min<char32_t>(hi, kSurrogates.first - 1)});
      if (hi > kSurrogates.second) p.members.push_back({std::max<char32_t>(lo, kSurrogates.second + 1), hi});
    }
    if (p.members.empty()) return ByteClass();  // [^\u{80}-\u{10ffff}...] of everything
    return p;
  }

  // A character of the alphabet, a code point, a broken UTF-8 sequence or a byte outside them all.
  std::string RandomPiece() {
    const int choice = Below(100);
    if (choice < 85) return Utf8(AnyChar());
    if (choice < 92) return Utf8(kCodePoints[static_cast<std::size_t>(Below(3))]);
    static const char* const odd[] = {"\xC3", "\xF4\x8F", "\xED\xA0\x80", "\xFF", "z", "\t", "\x80"};
    return odd[Below(7)];
  }

  // The text of one rule, a keyword or symbol, or something to separate terminals; then, when
  // asked to separate or at random, a blank, a line end or the text of a rule that skips.
  void AppendRule(const Lexicon& lex, std::string& text, std::size_t stretch, bool separate = false) {
    const Rule& rule = lex.rules[static_cast<std::size_t>(Below(static_cast<int>(lex.rules.size())))];
    if (rule.action != Action::Word || stretch > 0) Sample(rule.pattern, lex.fragments, stretch, text);
    if (separate || Chance(30)) Separate(lex, text);
  }

  void Separate(const Lexicon& lex, std::string& text) {
    std::vector<const Rule*> skips;
    for (const Rule& r : lex.rules)
      if (r.action == Action::Skip) skips.push_back(&r);
    if (!skips.empty() && Chance(80)) {
      Sample(skips[static_cast<std::size_t>(Below(static_cast<int>(skips.size())))]->pattern, lex.fragments, 0, text);
    } else {
      text += Chance(50) ? " " : "\n";
    }
  }

  std::mt19937 rng_;
};

// ---------------------------------------------------------------------------------------------
// The description, the program, the compiler and the driver.

// The description; the productions leave out the terminals of `unused`.
std::string Description(const Lexicon& lex, const std::set<std::string>& unused) {
  std::ostringstream d;
  d << "Random lexicon: every terminal, in any order.\n[Language]\nName = Lex\nStartingSymbol = S\nEofName = eoi\n"
       "Lookahead = 1\nTerminals = 40\nNonterminals = 5\nActions = 2\nProductions = 40\nEdges = 400\n"
       "Views = 2000\nNodes = 1000\nKeywords = 10\nSymbNodes = 40\n[Terminals]\n";
  for (const std::string& t : lex.terminals) d << t << "\n";
  d << "[Nonterminals]\nS\nL\nT\n[Actions]\nseen\n[Productions]\nS ::= [L](eoi)\nL ::= [L][T]\nL ::=\n";
  for (std::size_t t = 0; t + 1 < lex.terminals.size(); ++t)
    if (!unused.contains(lex.terminals[t])) d << "T ::= (" << lex.terminals[t] << "){seen}\n";
  if (!lex.keywords.empty()) d << "[Keywords]\n";
  for (std::size_t k = 0; k < lex.keywords.size(); ++k) d << "k" << k + 1 << " = " << lex.keywords[k] << "\n";
  if (!lex.symbols.empty()) d << "[Symbols]\n";
  for (std::size_t s = 0; s < lex.symbols.size(); ++s) d << "s" << s + 1 << " = " << lex.symbols[s] << "\n";
  d << "[Tokens]\n";
  for (const std::string& line : lex.lines) d << line << "\n";
  return d.str();
}

int RunShell(const std::string& command) {
  const int raw = std::system(command.c_str());
  return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

struct Tally {
  int tried = 0, refused = 0, checked = 0, inputs = 0, failing = 0, shadowed = 0;
  long long terminals = 0, bytes = 0;
  std::map<std::string, int> ends;  // how the model says the inputs end
  std::string details;
};

// The first line where two outputs differ, with both.
std::string FirstDifference(const std::string& want, const std::string& got) {
  std::istringstream a(want), b(got);
  std::string x, y;
  for (int line = 1;; ++line) {
    const bool more = static_cast<bool>(std::getline(a, x)), more2 = static_cast<bool>(std::getline(b, y));
    if (!more && !more2) return "no difference";
    if (!more || !more2 || x != y)
      return "output line " + std::to_string(line) + ": model '" + (more ? x : "(none)") + "', lexer '" +
             (more2 ? y : "(none)") + "'";
  }
}

std::string Shown(const std::string& input) {
  if (input.size() > 200) return "(" + std::to_string(input.size()) + " bytes, kept in the directory)";
  std::string out;
  for (unsigned char c : input) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02x", c);
    out += c >= 32 && c < 127 && c != '\\' ? std::string(1, static_cast<char>(c)) : c == '\n' ? "\\n" : c == '\\' ? "\\\\" : hex;
  }
  return "'" + out + "'";
}

// Lexicon 0: t1 = a, t2 = ab*c, and inputs where exactly LOOK_ROOM bytes are left after the
// stream's first block when `a` matches and `ab*c` is still alive at the end of the input.
Lexicon EdgeLexicon() {
  Lexicon lex;
  lex.terminals = {"t1", "t2", "eoi"};
  lex.lines = {"t1 = a", "t2 = ab*c", "{skip} = \\x20"};
  Pat a = Leaf(Kind::Text), b = Leaf(Kind::Class), bs = Leaf(Kind::Repeat), c = Leaf(Kind::Text), t2 = Leaf(Kind::Seq),
      blank = Leaf(Kind::Text);
  a.text = U"a";
  b.bytes.set('b');
  bs.max = -1;
  bs.children = {b};
  c.text = U"c";
  t2.children = {a, bs, c};
  blank.text = U" ";
  lex.rules = {{Action::Token, 0, a}, {Action::Token, 1, t2}, {Action::Skip, 0, blank}};
  return lex;
}

std::vector<std::string> EdgeInputs() {
  const std::string block(kMaxToken, 'a'), blanks(kMaxToken, ' '), bs(kLookRoom - 1, 'b');
  return {block + "a" + bs, blanks + "a" + bs, block + "a" + bs.substr(1) + "c", blanks + "a" + bs.substr(2) + "c"};
}

void CheckLexicon(unsigned seed, const fs::path& work, Tally& tally) {
  Generator gen(seed);
  const Lexicon lex = seed == 0 ? EdgeLexicon() : gen.MakeLexicon();
  ++tally.tried;
  const fs::path dir = work / ("lexicon-" + std::to_string(seed));
  fs::create_directories(dir);
  // A token that some other rule always beats is warned about, and fails the run when the
  // productions use it: it is dropped from them (the rule stays in the lexicon) and the run repeated.
  std::set<std::string> shadowed;
  std::string description;
  int generated = 0;
  for (int round = 0; round < 8; ++round) {
    const std::size_t known = shadowed.size();
    description = Description(lex, shadowed);
    WriteFile(dir / "lex.lang", description);
    generated = RunShell("cd " + Quoted(dir) + " && timeout 60 " + Quoted(PARVOLEN_PROGRAM) +
                         " -q --prefix=lx lex.lang . > generate.out 2> generate.err");
    std::istringstream err(ReadFile(dir / "generate.err"));
    for (std::string line; std::getline(err, line);) {
      const std::size_t at = line.find("warning: token '");
      if (at != std::string::npos && line.find("' can never be matched") != std::string::npos)
        shadowed.insert(line.substr(at + 16, line.find('\'', at + 16) - at - 16));
    }
    if (generated == 0 || shadowed.size() == known) break;
  }
  tally.shadowed += static_cast<int>(shadowed.size());
  if (generated != 0) {
    ++tally.refused;
    ++tally.failing;
    ADD_FAILURE() << "parvolen exit status " << generated << "\n" << description << ReadFile(dir / "generate.err");
    return;
  }
  std::string kinds = "#define KINDS";
  for (std::size_t t = 0; t < lex.terminals.size(); ++t) kinds += (t == 0 ? " LX_T_" : ", LX_T_") + lex.terminals[t];
  WriteFile(dir / "kinds.h", kinds + "\n");
  const fs::path driver = SourceDir() / "embedded_lexer_driver.c";
  if (RunShell("cc -std=c99 -O1 -I" + Quoted(dir) + " -o " + Quoted(dir / "driver") + " " + Quoted(driver) + " " +
               Quoted(dir / "lx.c") + " 2> " + Quoted(dir / "build.err")) != 0) {
    ++tally.failing;
    ADD_FAILURE() << description << ReadFile(dir / "build.err");
    return;
  }
  ++tally.checked;
  const std::vector<std::string> inputs = seed == 0 ? EdgeInputs() : gen.Inputs(lex);
  std::string files, want;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const std::string name = "input" + std::to_string(i) + ".txt";
    WriteFile(dir / name, inputs[i]);
    files += " " + name;
    const std::string body = Expect(lex, inputs[i]);
    want += "buffer\n" + body + "stream\n" + body;
    const std::size_t end = body.rfind("end ");
    ++tally.ends[body.substr(end + 4, body.find(' ', end + 4) - end - 4)];
    tally.terminals += std::count(body.begin(), body.end(), '\n') - 1;
    tally.bytes += inputs[i].size();
  }
  tally.inputs += static_cast<int>(inputs.size());
  const int ran = RunShell("cd " + Quoted(dir) + " && timeout 60 ./driver" + files + " > got.txt 2>&1");
  const std::string got = ReadFile(dir / "got.txt");
  if (ran == 0 && got == want) {
    fs::remove_all(dir);
    return;
  }
  ++tally.failing;
  WriteFile(dir / "want.txt", want);
  if (tally.failing > kDetailedFailures) return;
  std::string which;
  for (std::size_t i = 0; i < inputs.size(); ++i) which += "  input" + std::to_string(i) + ": " + Shown(inputs[i]) + "\n";
  tally.details += "--- seed " + std::to_string(seed) + " (kept in " + dir.string() + ", driver exit " +
                   std::to_string(ran) + ")\n" + description + which + FirstDifference(want, got) + "\n";
}

int LexiconCount() {
  const char* text = std::getenv("PARVOLEN_PROPERTY_LEXICONS");
  const int count = text != nullptr ? std::atoi(text) : 0;
  return count > 0 ? count : kDefaultLexicons;
}

TEST(EmbeddedLexerProperty, TerminalsAndFailuresAreThoseOfTheModel) {
  if (RunShell("command -v cc > /dev/null 2>&1") != 0) GTEST_SKIP() << "no C compiler";
  const fs::path work = ScratchDir();
  const auto started = std::chrono::steady_clock::now();
  Tally tally;
  for (int seed = 0; seed <= LexiconCount(); ++seed) CheckLexicon(static_cast<unsigned>(seed), work, tally);
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count();
  std::printf("lexicons tried %d, refused %d, checked %d, shadowed tokens %d, inputs %d, failing lexicons %d; "
              "inputs ending:", tally.tried, tally.refused, tally.checked, tally.shadowed, tally.inputs, tally.failing);
  for (const auto& [end, count] : tally.ends) std::printf(" %s %d;", end.c_str(), count);
  std::printf("\nterminals %lld in %lld bytes of input; time: %llds\n", tally.terminals, tally.bytes,
              static_cast<long long>(seconds));
  EXPECT_EQ(tally.failing, 0) << tally.details;
  EXPECT_GT(tally.checked, 0);
}

}  // namespace
}  // namespace parvolen
