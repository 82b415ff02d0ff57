// The automata against an independent model: random small patterns and inputs, and for every
// position the longest match of the built automaton must be the one a plain matcher over the
// tree finds, with the rule priority at equal length.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "regex/automaton.h"
#include "regex/minimise.h"
#include "regex/nfa.h"
#include "regex/subset.h"
#include "regex/syntax.h"

namespace parvolen::regex {
namespace {

using Positions = std::vector<char>;  // per position of the text: a match may end there

// Where a match of the node may end, from any of the positions in `from`.
Positions Ends(const Tree& tree, std::int32_t index, const Positions& from, std::string_view text) {
  const Node& node = tree.Nodes[static_cast<std::size_t>(index)];
  Positions out(from.size(), 0);
  switch (node.Kind) {
    case NodeKind::Empty:
      return from;
    case NodeKind::Bytes:
      for (std::size_t p = 0; p < text.size(); ++p)
        if (from[p] && node.Set[static_cast<unsigned char>(text[p])]) out[p + 1] = 1;
      return out;
    case NodeKind::Concat:
      out = from;
      for (const std::int32_t c : node.Children) out = Ends(tree, c, out, text);
      return out;
    case NodeKind::Alt:
      for (const std::int32_t c : node.Children) {
        const Positions ends = Ends(tree, c, from, text);
        for (std::size_t p = 0; p < out.size(); ++p) out[p] |= ends[p];
      }
      return out;
    case NodeKind::Fragment:
      return Ends(*node.Fragment, node.Fragment->Root, from, text);
    case NodeKind::Repeat:
      break;
  }
  Positions current = from;
  for (std::int32_t i = 0; i < node.Min; ++i) current = Ends(tree, node.Children[0], current, text);
  out = current;
  // Further rounds from the positions that the previous round reached for the first time.
  for (std::int32_t i = node.Min; node.Max == kUnbounded || i < node.Max; ++i) {
    const Positions next = Ends(tree, node.Children[0], current, text);
    bool grew = false;
    for (std::size_t p = 0; p < out.size(); ++p) {
      current[p] = next[p] && !out[p];
      grew |= current[p] != 0;
      out[p] |= next[p];
    }
    if (!grew) break;
  }
  return out;
}

// The longest match of any rule at text[pos], the lowest rule at equal length; or whole-text
// matches only (every rule that matches text[pos..] exactly).
Match ModelLongest(const std::vector<Tree>& rules, std::string_view text, std::size_t pos) {
  Match best;
  for (std::size_t r = 0; r < rules.size(); ++r) {
    Positions from(text.size() + 1, 0);
    from[pos] = 1;
    const Positions ends = Ends(rules[r], rules[r].Root, from, text);
    for (std::size_t p = text.size() + 1; p-- > pos;) {
      if (!ends[p]) continue;
      if (best.Rule < 0 || p - pos > best.Length) best = {static_cast<std::int32_t>(r), p - pos};
      break;
    }
  }
  return best;
}

// True when states that no input tells apart remain: plain partition refinement until stable.
bool HasEquivalentStates(const Dfa& dfa) {
  const auto n = static_cast<std::size_t>(dfa.StateCount());
  const auto k = static_cast<std::size_t>(dfa.ClassCount);
  std::vector<std::int32_t> block(dfa.Accept.begin(), dfa.Accept.end());
  for (std::size_t blocks = 0;;) {
    std::map<std::vector<std::int32_t>, std::int32_t> signatures;
    std::vector<std::int32_t> next(n);
    for (std::size_t s = 0; s < n; ++s) {
      std::vector<std::int32_t> sig{block[s]};
      for (std::size_t c = 0; c < k; ++c) {
        const std::int32_t t = dfa.Next[s * k + c];
        sig.push_back(t < 0 ? -1 : block[static_cast<std::size_t>(t)]);
      }
      next[s] = signatures.emplace(sig, static_cast<std::int32_t>(signatures.size())).first->second;
    }
    block = next;
    if (signatures.size() == blocks) return blocks < n;
    blocks = signatures.size();
  }
}

// True when some state cannot reach an accepting state (the dead state must not be kept).
bool HasDeadStates(const Dfa& dfa) {
  const auto n = static_cast<std::size_t>(dfa.StateCount());
  const auto k = static_cast<std::size_t>(dfa.ClassCount);
  std::vector<char> live(n, 0);
  for (bool grew = true; grew;) {
    grew = false;
    for (std::size_t s = 0; s < n; ++s) {
      bool reaches = dfa.Accept[s] >= 0;
      for (std::size_t c = 0; c < k && !reaches; ++c) {
        const std::int32_t t = dfa.Next[s * k + c];
        reaches = t >= 0 && live[static_cast<std::size_t>(t)];
      }
      if (reaches && !live[s]) live[s] = 1, grew = true;
    }
  }
  return n > 1 && std::find(live.begin(), live.end(), 0) != live.end();
}

class PatternMaker {
 public:
  explicit PatternMaker(std::uint32_t seed) : rng_(seed) {}

  std::string Alternation(int depth) {
    std::string out = Sequence(depth);
    for (int n = Pick(depth > 1 ? 1 : 3); n > 0; --n) out += "|" + Sequence(depth);
    return out;
  }

  std::string Input() {
    static const char* const kPieces[] = {"a", "b", "c", "\n", "\xC3\xA9", "\xE2\x82\xAC", "\xC3", "\xA9"};
    std::string out;
    for (int n = Pick(7); n > 0; --n) out += kPieces[Pick(8)];
    return out;
  }

  int Pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }

 private:
  std::string Sequence(int depth) {
    static const char* const kAtoms[] = {
        "a", "b", "c", ".", "[ab]", "[^a]", "[a-c]", "\"ab\"", "\\u{e9}", "\xC3\xA9", "[\xC3\xA9\xE2\x82\xAC]",
        "[^a\\u{20ac}]", "[\\u{e0}-\\u{20ac}]", "\\n", "[^\\n\\xa9]", "\"\""};
    static const char* const kRepeats[] = {"", "", "", "", "*", "+", "?", "{2}", "{0,2}", "{1,}", "{0}", "{2,3}"};
    std::string out;
    for (int n = Pick(4); n > 0; --n) {
      out += depth < 2 && Pick(4) == 0 ? "(" + Alternation(depth + 1) + ")" : kAtoms[Pick(16)];
      out += kRepeats[Pick(12)];
    }
    return out;
  }

  std::mt19937 rng_;
};

TEST(RegexProperty, LongestMatchAgreesWithAMatcherOverTheTree) {
  PatternMaker maker(20240611);
  int checked = 0, tooBig = 0;
  for (int round = 0; round < 1500; ++round) {
    std::vector<Tree> trees(static_cast<std::size_t>(1 + maker.Pick(3)));
    std::vector<const Tree*> rules;
    std::string patterns;
    for (Tree& tree : trees) {
      const std::string pattern = maker.Alternation(0);
      patterns += " /" + pattern + "/";
      SyntaxError error;
      ASSERT_TRUE(Parse(pattern, nullptr, tree, error)) << pattern << ": " << error.Text;
      rules.push_back(&tree);
    }
    // Nested counted repetitions can blow up the automaton; the few rules that do are left out.
    Limits limits;
    limits.MaxDfaStates = 500;
    Dfa raw, dfa;
    std::vector<RuleReport> rawReports, reports;
    std::int32_t blamed = 0;
    if (Determinise(MakeNfa(rules), limits, raw, rawReports) == BuildOutcome::TooBig) {
      ++tooBig;
      continue;
    }
    ASSERT_EQ(Build(rules, limits, dfa, reports, blamed), BuildOutcome::Ok) << patterns;
    ASSERT_FALSE(HasEquivalentStates(dfa)) << patterns << "\n" << Dump(dfa);
    ASSERT_FALSE(HasDeadStates(dfa)) << patterns << "\n" << Dump(dfa);
    std::vector<char> wins(trees.size(), 0);
    for (int i = 0; i < 6; ++i) {
      const std::string text = maker.Input();
      for (std::size_t pos = 0; pos <= text.size(); ++pos) {
        const Match want = ModelLongest(trees, text, pos);
        for (const Dfa* d : {&raw, &dfa}) {
          const Match got = Longest(*d, text, pos);
          ASSERT_EQ(got.Rule, want.Rule) << patterns << " at " << pos << " of '" << text << "'";
          ASSERT_EQ(got.Length, want.Length) << patterns << " at " << pos << " of '" << text << "'";
        }
        ++checked;
      }
      // A rule that wins on the whole text must be reported matched; one that matches it but
      // loses there must name a winner of lower index.
      std::int32_t winner = -1;
      for (std::size_t r = 0; r < trees.size(); ++r) {
        Positions from(text.size() + 1, 0);
        from[0] = 1;
        if (!Ends(trees[r], trees[r].Root, from, text)[text.size()]) continue;
        if (winner < 0) {
          winner = static_cast<std::int32_t>(r);
          EXPECT_TRUE(reports[r].Matched) << patterns << " on '" << text << "'";
        } else if (!reports[r].Matched) {
          EXPECT_GE(reports[r].ShadowedBy, 0) << patterns << " on '" << text << "'";
          EXPECT_LT(reports[r].ShadowedBy, static_cast<std::int32_t>(r)) << patterns << " on '" << text << "'";
        }
      }
    }
    for (std::size_t r = 0; r < reports.size(); ++r) {
      EXPECT_EQ(reports[r].Matched, rawReports[r].Matched);
      EXPECT_EQ(reports[r].Matched, std::count(dfa.Accept.begin(), dfa.Accept.end(), static_cast<std::int32_t>(r)) > 0) << patterns;
    }
  }
  EXPECT_GT(checked, 40000);
  EXPECT_LT(tooBig, 125);
}

// Classes of code points against a decoder of the test's own: a random class matches the
// encoding of exactly its code points, and no byte string that is not such an encoding.
TEST(RegexProperty, CodePointClassesMatchExactlyTheirEncodings) {
  std::mt19937 rng(7);
  const char32_t kEdges[] = {0,      0x7F,   0x80,   0x7FF,  0x800,   0xFFF,    0x1000,  0xD7FF,
                             0xE000, 0xFFFF, 0x10000, 0x3FFFF, 0x40000, 0xFFFFF, 0x100000, 0x10FFFF};
  const auto randomCodePoint = [&]() -> char32_t {
    char32_t cp = rng() % 3 == 0 ? kEdges[rng() % 16] + rng() % 3 : rng() % 0x110000;
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0x41;
    return cp;
  };
  const auto encode = [](char32_t cp) {
    std::string s;
    const auto byte = [&](char32_t b) { s += static_cast<char>(b); };
    if (cp < 0x80) {
      byte(cp);
    } else if (cp < 0x800) {
      byte(0xC0 | cp >> 6), byte(0x80 | (cp & 63));
    } else if (cp < 0x10000) {
      byte(0xE0 | cp >> 12), byte(0x80 | (cp >> 6 & 63)), byte(0x80 | (cp & 63));
    } else {
      byte(0xF0 | cp >> 18), byte(0x80 | (cp >> 12 & 63)), byte(0x80 | (cp >> 6 & 63)), byte(0x80 | (cp & 63));
    }
    return s;
  };
  const auto hex = [](char32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "\\u{%x}", static_cast<unsigned>(cp));
    return std::string(buf);
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<std::pair<char32_t, char32_t>> ranges;
    std::string pattern = "[";
    const bool negate = rng() % 3 == 0;
    if (negate) pattern += "^";
    for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n) {
      char32_t lo = randomCodePoint(), hi = randomCodePoint();
      if (lo > hi) std::swap(lo, hi);
      ranges.emplace_back(lo, hi);
      pattern += hex(lo) + "-" + hex(hi);
    }
    pattern += "\\u{10ffff}]";  // always a class of code points
    ranges.emplace_back(0x10FFFF, 0x10FFFF);
    const auto member = [&](char32_t cp) {
      bool in = false;
      for (const auto& [lo, hi] : ranges) in |= cp >= lo && cp <= hi;
      return in != negate;
    };
    Tree tree;
    SyntaxError error;
    ASSERT_TRUE(Parse(pattern, nullptr, tree, error)) << pattern << ": " << error.Text;
    Dfa dfa;
    std::vector<RuleReport> reports;
    std::int32_t blamed = 0;
    ASSERT_EQ(Build({&tree}, Limits{}, dfa, reports, blamed), BuildOutcome::Ok) << pattern;
    for (int i = 0; i < 200; ++i) {
      const char32_t cp = randomCodePoint();
      const std::string text = encode(cp);
      const Match m = Longest(dfa, text, 0);
      EXPECT_EQ(m.Rule == 0 && m.Length == text.size(), member(cp)) << pattern << " " << hex(cp);
      // The same bytes with one changed or cut short: a match must be an encoding of a member.
      std::string bent = text;
      bent[rng() % bent.size()] = static_cast<char>(rng() % 256);
      bent.resize(1 + rng() % bent.size());
      const Match b = Longest(dfa, bent, 0);
      if (b.Rule < 0) continue;
      const std::string whole = bent.substr(0, b.Length);
      // Decoded as if well formed; it is when encoding the value gives the same bytes back.
      const auto lead = static_cast<unsigned char>(whole[0]);
      const std::size_t len = whole.size();
      char32_t value = len == 1 ? lead : lead & (0x7F >> len);
      for (std::size_t j = 1; j < len; ++j) value = value << 6 | (static_cast<unsigned char>(whole[j]) & 63);
      const bool encodesMember = value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF) && encode(value) == whole && member(value);
      EXPECT_TRUE(encodesMember) << pattern << " matched a byte string that encodes no member";
    }
  }
}

// A fragment is a reference to its tree, counted at its written-out size. The model writes every
// reference out as a group of the fragment's text: on random chains of fragments, each using the
// ones before, both must parse alike and agree in what they match, the bytes used, the size, and
// state for state in the automaton; the node limit must stop both at the same chains.
TEST(RegexProperty, FragmentReferencesAgreeWithTheirTextWrittenOut) {
  PatternMaker maker(4217);
  int compared = 0, limited = 0;
  for (int round = 0; round < 100; ++round) {
    std::map<std::string, std::shared_ptr<const Tree>> named;
    std::vector<std::string> written;  // per fragment: its text with every reference written out
    const FragmentLookup lookup = [&](std::string_view name) -> std::shared_ptr<const Tree> {
      const auto it = named.find(std::string(name));
      return it == named.end() ? nullptr : it->second;
    };
    static const char* const kAround[] = {"%", "%*", "(%|c)", "%{2}", "(%)", "a%?", "%{0}", "%+", "%{3}"};
    // Twenty random fragments, then fragments that each use the one before twice, up to the limit.
    for (int f = 0; f < 40; ++f) {
      std::string pattern, text;
      for (int n = f < 20 ? 1 + maker.Pick(3) : 1; n > 0; --n) {
        std::string piece = f >= 20                         ? "%%"
                            : f > 0 && maker.Pick(3) > 0 ? kAround[maker.Pick(9)]
                                                         : "(" + maker.Alternation(1) + ")";
        std::string textPiece = piece;
        const int used = f == 0 ? 0 : f >= 20 || maker.Pick(2) == 0 ? f - 1 : maker.Pick(f);  // often the last
        for (std::size_t at; (at = piece.find('%')) != std::string::npos;) {
          piece.replace(at, 1, "{f" + std::to_string(used) + "}");
          textPiece.replace(textPiece.find('%'), 1, "(" + written[static_cast<std::size_t>(used)] + ")");
        }
        pattern += piece;
        text += textPiece;
      }
      auto byReference = std::make_shared<Tree>();
      Tree byText;
      SyntaxError error, textError;
      const bool parsed = Parse(pattern, lookup, *byReference, error);
      // A written-out text past the node limit needs at least that many bytes; its parse is skipped.
      const bool textParsed = text.size() <= 4 * kMaxNodes && Parse(text, nullptr, byText, textError);
      ASSERT_EQ(parsed, textParsed) << pattern << ": " << error.Text << " / " << textError.Text;
      if (!parsed) {
        ASSERT_EQ(error.Text, "the pattern is too large: more than 100000 nodes") << pattern;
        ++limited;
        break;
      }
      ASSERT_EQ(byReference->Size, byText.Nodes.size()) << pattern;
      ASSERT_EQ(MatchesEmpty(*byReference), MatchesEmpty(byText)) << pattern;
      ASSERT_EQ(MatchesNothing(*byReference), MatchesNothing(byText)) << pattern;
      ASSERT_EQ(BytesUsed(*byReference), BytesUsed(byText)) << pattern;
      ASSERT_EQ(NfaStates(byReference.get()), NfaStates(&byText)) << pattern;
      if (byText.Nodes.size() < 2000) {
        ASSERT_EQ(Dump(MakeNfa({byReference.get()})), Dump(MakeNfa({&byText}))) << pattern;
      }
      named["f" + std::to_string(f)] = std::move(byReference);
      written.push_back(std::move(text));
      ++compared;
    }
  }
  EXPECT_GT(compared, 2000);
  EXPECT_EQ(limited, 100);
}

}  // namespace
}  // namespace parvolen::regex
