#include "regex/automaton.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/minimise.h"
#include "regex/nfa.h"
#include "regex/subset.h"

namespace parvolen::regex {
namespace {

// Parsed rules that stay in place while the automaton is built from them.
struct Rules {
  explicit Rules(const std::vector<std::string>& patterns) : trees(patterns.size()) {
    for (std::size_t i = 0; i < patterns.size(); ++i) {
      SyntaxError error;
      EXPECT_TRUE(Parse(patterns[i], nullptr, trees[i], error)) << patterns[i] << ": " << error.Text;
      pointers.push_back(&trees[i]);
    }
  }
  std::vector<Tree> trees;
  std::vector<const Tree*> pointers;
};

TEST(RegexAutomaton, EachStageHasADump) {
  const Rules rules({"if", "[a-z]+", "a*b|()"});
  const Nfa nfa = MakeNfa(rules.pointers);
  EXPECT_EQ(Dump(nfa),
            "start 0\n"
            "0: eps->1 eps->4 eps->7\n"
            "1: i->2\n"
            "2: f->3\n"
            "3: accept 0\n"
            "4: eps->5\n"
            "5: [a-z]->6\n"
            "6: eps->5 accept 1\n"
            "7: eps->9 eps->8\n"
            "8: accept 2\n"
            "9: a->10 b->11\n"
            "10: eps->9\n"
            "11: eps->8\n");
  Dfa raw;
  std::vector<RuleReport> reports;
  ASSERT_EQ(Determinise(nfa, Limits{}, raw, reports), BuildOutcome::Ok);
  // "a*b" wins only on the empty input: at "ab" the identifier comes first.
  EXPECT_EQ(Dump(raw),
            "start 0, 6 states, 6 classes\n"
            "0 accept 2: a->1 b->2 [c-hj-z]->3 i->4\n"
            "1 accept 1: a->1 b->2 [c-z]->3\n"
            "2 accept 1: [a-z]->3\n"
            "3 accept 1: [a-z]->3\n"
            "4 accept 1: [a-eg-z]->3 f->5\n"
            "5 accept 0: [a-z]->3\n");
  EXPECT_EQ(Dump(Minimise(raw)),
            "start 0, 4 states, 4 classes\n"
            "0 accept 2: [a-hj-z]->1 i->2\n"
            "1 accept 1: [a-z]->1\n"
            "2 accept 1: [a-eg-z]->1 f->3\n"
            "3 accept 0: [a-z]->1\n");
  // Nothing can be matched: one state without moves.
  const Rules none({"[^\\x00-\\xff]", "a[^\\x00-\\xff]"});
  Dfa dfa;
  std::int32_t blamed = 0;
  ASSERT_EQ(Build(none.pointers, Limits{}, dfa, reports, blamed), BuildOutcome::Ok);
  EXPECT_EQ(Dump(dfa), "start 0, 1 states, 1 classes\n0:\n");
  ASSERT_EQ(Build({}, Limits{}, dfa, reports, blamed), BuildOutcome::Ok);
  EXPECT_EQ(Dump(dfa), "start 0, 1 states, 1 classes\n0:\n");
}

TEST(RegexAutomaton, ReportsNameTheRuleThatAlwaysWins) {
  struct Expected {
    bool matched;
    std::int32_t shadowedBy;
  };
  const struct {
    std::vector<std::string> rules;
    std::vector<Expected> reports;
  } cases[] = {
      {{"[a-z]+", "\"if\""}, {{true, -1}, {false, 0}}},
      {{"\"if\"", "[a-z]+"}, {{true, -1}, {true, -1}}},
      {{"a", "a", "b"}, {{true, -1}, {false, 0}, {true, -1}}},
      {{"[^\\x00-\\xff]", "x"}, {{false, -1}, {true, -1}}},  // matches nothing: no winner to name
      {{"x[5-9]", "x[0-4]", "x[0-9]"}, {{true, -1}, {true, -1}, {false, 0}}},  // the lowest of its winners
      {{"ab", "a|abc", "[a-c]+"}, {{true, -1}, {true, -1}, {true, -1}}},
      {{"()", "a?"}, {{true, -1}, {true, -1}}},  // the empty rule wins on the empty input
      {{"a?", "()"}, {{true, -1}, {false, 0}}},
      {{"[0-9]+", "0|[1-9][0-9]*", "0[0-7]*"}, {{true, -1}, {false, 0}, {false, 0}}},
  };
  for (const auto& c : cases) {
    const Rules rules(c.rules);
    Dfa dfa;
    std::vector<RuleReport> reports;
    std::int32_t blamed = 0;
    ASSERT_EQ(Build(rules.pointers, Limits{}, dfa, reports, blamed), BuildOutcome::Ok);
    ASSERT_EQ(reports.size(), c.reports.size());
    for (std::size_t r = 0; r < reports.size(); ++r) {
      EXPECT_EQ(reports[r].Matched, c.reports[r].matched) << c.rules[0] << "... rule " << r;
      EXPECT_EQ(reports[r].ShadowedBy, c.reports[r].shadowedBy) << c.rules[0] << "... rule " << r;
    }
  }
}

TEST(RegexAutomaton, TooBigBlamesARule) {
  const auto small = [](std::size_t nfa, std::size_t dfa, std::size_t work) {
    Limits limits;
    limits.MaxNfaStates = nfa;
    limits.MaxDfaStates = dfa;
    limits.MaxSubsetWork = work;
    return limits;
  };
  const struct {
    std::vector<std::string> rules;
    Limits limits;
    std::int32_t blamed;
  } cases[] = {
      {{"[a-z]+", "(a|b)*a(a|b){15}"}, Limits{}, 1},    // 2^16 deterministic states
      {{"[a-z]+", "x{1000}{1000}", "y"}, Limits{}, 1},  // a million states, counted before any is made
      {{"abcd", "abcd", "abcd", "abcd"}, small(20, 100, 1000), 3},  // 1 + 5 + 5 + 5 fit, + 5 do not
      {{"a", "b", "c", "d"}, small(100, 4, 1000), 3},               // a state per rule and the start
      {{"a", "b", "c", "d", "wxyz"}, small(100, 4, 1000), 4},       // too big alone: blamed first
      {{"a", "wxyz", "b"}, small(100, 4, 1000), 1},
      {{"a", "[a-z]+"}, small(100, 100, 10), 1},  // the work of the subset construction
  };
  for (const auto& c : cases) {
    const Rules rules(c.rules);
    Dfa dfa;
    std::vector<RuleReport> reports;
    std::int32_t blamed = -1;
    ASSERT_EQ(Build(rules.pointers, c.limits, dfa, reports, blamed), BuildOutcome::TooBig) << c.rules[1];
    EXPECT_EQ(blamed, c.blamed) << c.rules[1];
    EXPECT_EQ(dfa.StateCount(), 0);
    ASSERT_EQ(reports.size(), c.rules.size());
    EXPECT_FALSE(reports[0].Matched);
  }
}

TEST(RegexAutomaton, LongestMatchAtAPosition) {
  Tree keyword = Literal("If", true);
  const Rules rules({"[a-z]+", "[0-9]+", "()"});
  std::vector<const Tree*> all{&keyword, rules.pointers[0], rules.pointers[1], rules.pointers[2], nullptr};
  Dfa dfa;
  std::vector<RuleReport> reports;
  std::int32_t blamed = 0;
  ASSERT_EQ(Build(all, Limits{}, dfa, reports, blamed), BuildOutcome::Ok);
  const struct {
    std::string_view text;
    std::size_t pos;
    std::int32_t rule;
    std::size_t length;
  } cases[] = {
      {"iF x", 0, 0, 2}, {"if2", 0, 0, 2}, {"ifs", 0, 1, 3}, {"x12", 1, 2, 2},
      {"+", 0, 3, 0},  // the empty rule matches nothing longer
      {"ab", 2, 3, 0}, {"ab", 3, -1, 0},
  };
  for (const auto& c : cases) {
    const Match m = Longest(dfa, c.text, c.pos);
    EXPECT_EQ(m.Rule, c.rule) << c.text << " at " << c.pos;
    EXPECT_EQ(m.Length, c.length) << c.text << " at " << c.pos;
  }
  EXPECT_FALSE(reports[4].Matched);
  EXPECT_EQ(Longest(Dfa{}, "a", 0).Rule, -1);
}

}  // namespace
}  // namespace parvolen::regex
