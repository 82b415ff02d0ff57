// The language of descriptions with groups, against an independent recognizer: random grammars
// with `*`, `+` and `?` over symbols and nested groups are generated with --prefix by the real
// program; the model writes each group out its own way (a fresh nonterminal per operator,
// right-recursive: M -> part M | empty), and for each grammar the program accepts, the compiled
// translator must accept sentences derived from the model and judge mutations of them as
// Earley does. PARVOLEN_PROPERTY_GRAMMARS sets how many grammars are tried.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "codegen_fixture.h"
#include "support/grammar_model.h"

namespace parvolen {
namespace {

using namespace testing_codegen;
using namespace testing_grammar;

constexpr int kDefaultGrammars = 300;
constexpr int kTerminals = 6;      // t0 .. t5; terminal kTerminals is the end of input
constexpr int kNonterminals = 3;   // N0 .. N2; N0 the starting symbol

int GrammarCount() { return PropertyGrammarCount(kDefaultGrammars); }

// A random description with groups and the same grammar as a model.
class GroupGrammar {
 public:
  explicit GroupGrammar(unsigned seed) : rng_(seed) {
    model.terminals = kTerminals + 1;
    model.nonterminals = kNonterminals;
    std::vector<GrammarSymbol> start = {{false, 1}};
    std::string productions = "N0 ::= [N1]" + Sequence(0, start) + "(eoi)\n";
    start.push_back({true, kTerminals});
    model.productions.push_back({0, start});
    for (int n = 1; n < kNonterminals; ++n) {
      const int count = Pick(1, 3);
      for (int p = 0; p < count; ++p) {
        std::vector<GrammarSymbol> rhs;
        productions += "N" + std::to_string(n) + " ::= " + Sequence(0, rhs) + "\n";
        model.productions.push_back({n, rhs});
      }
    }
    description = "[Language]\nStartingSymbol = N0\nIdName = id\nEofName = eoi\nLookahead = " +
                  std::to_string(Pick(1, 2)) + "\n[Terminals]\nid\neoi\n";
    std::string keywords = "[Keywords]\n";
    for (int t = 0; t < kTerminals; ++t) {
      description += "t" + std::to_string(t) + "\n";
      keywords += "t" + std::to_string(t) + " = t" + std::to_string(t) + "\n";
    }
    description += "[Nonterminals]\nN0\nN1\nN2\n[Productions]\n" + productions + keywords;
  }

  std::string description;
  Grammar model;

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  // A sequence of up to three items at the depth, written into `rhs` of the model.
  std::string Sequence(int depth, std::vector<GrammarSymbol>& rhs) {
    std::string text;
    const int items = Pick(depth == 0 ? 0 : 1, 3);
    for (int i = 0; i < items; ++i) {
      std::string item;
      std::vector<GrammarSymbol> part;
      const int kind = Pick(0, 9);
      // A group begins with a plain terminal: a loop over what can be empty has no decision.
      const bool first = depth > 0 && i == 0;
      if (kind < 5 || depth >= 2 || first) {
        const int t = Pick(0, kTerminals - 1);
        item = "(t" + std::to_string(t) + ")";
        part.push_back({true, t});
      } else if (kind < 7) {
        const int n = Pick(1, kNonterminals - 1);
        item = "[N" + std::to_string(n) + "]";
        part.push_back({false, n});
      } else {
        item = "/" + Sequence(depth + 1, part) + "/";
      }
      const bool group = item.front() == '/';
      const int op = group ? Pick(1, 3) : first ? 0 : Pick(0, 5);
      if (op >= 1 && op <= 3) {
        const char mark = "*+?"[op - 1];
        item += mark;
        part = {Fresh(mark, part)};
      }
      text += item;
      rhs.insert(rhs.end(), part.begin(), part.end());
    }
    return text;
  }

  // A fresh model nonterminal for the part under the operator.
  GrammarSymbol Fresh(char op, const std::vector<GrammarSymbol>& part) {
    const int m = model.nonterminals++;
    std::vector<GrammarSymbol> again = part;
    again.push_back({false, m});
    if (op == '?') {
      model.productions.push_back({m, part});
    } else if (op == '*') {
      model.productions.push_back({m, again});
    } else {
      model.productions.push_back({m, again});
      model.productions.push_back({m, part});
    }
    if (op != '+') model.productions.push_back({m, {}});
    return {false, m};
  }

  std::mt19937 rng_;
};

// The sentence without the end of input, which the end of a line stands for.
Sentence WithoutEnd(const Sentence& s) {
  Sentence kept;
  for (int t : s)
    if (t < kTerminals) kept.push_back(t);
  return kept;
}

std::string Text(const Sentence& s) {
  std::string text;
  for (int t : s) text += (text.empty() ? "t" : " t") + std::to_string(t);
  return text;
}

TEST(EmbeddedGroupsProperty, AcceptsExactlyTheLanguageOfTheWrittenOutGrammar) {
  if (RunShell("command -v cc > /dev/null 2>&1") != 0) GTEST_SKIP() << "no C compiler";
  const fs::path work = ScratchDir();
  const fs::path driver = SourceDir().parent_path() / "e2e" / "embedded_lines_main.c";
  std::map<int, int> refused;
  int checked = 0, sentences = 0;
  std::vector<int> alphabet;
  for (int t = 0; t < kTerminals; ++t) alphabet.push_back(t);
  for (int seed = 1; seed <= GrammarCount(); ++seed) {
    const GroupGrammar g(static_cast<unsigned>(seed));
    const ShortestDerivations shortest = FindShortestDerivations(g.model);
    if (shortest.length[0] < 0) continue;
    const fs::path dir = work / std::to_string(seed);
    fs::create_directories(dir);
    WriteFile(dir / "g.lang", g.description);
    const int status = RunShell("cd '" + dir.string() + "' && timeout 120 '" + PARVOLEN_PROGRAM +
                                "' -q -w --prefix=lang g.lang . > out.txt 2> err.txt");
    if (status != 0) {
      ASSERT_TRUE(status == stNotKindGiven || status == stNotKindAny || status == stProductionDefined)
          << "status " << status << "\n" << g.description << ReadFile(dir / "err.txt");
      ++refused[status];
      fs::remove_all(dir);
      continue;
    }
    ASSERT_EQ(RunShell("cc -std=c99 -DPREFIX=lang '-DHEADER=\"lang.h\"' -I'" + dir.string() + "' -o '" +
                       (dir / "lines").string() + "' '" + driver.string() + "' '" + (dir / "lang.c").string() + "'"),
              0)
        << g.description;
    std::mt19937 rng(static_cast<unsigned>(seed));
    std::set<Sentence> probes;
    for (int i = 0; i < 10; ++i) {
      const Sentence s = WithoutEnd(DeriveRandomSentence(g.model, shortest, rng, 8, 24));
      probes.insert(s);
      if (!s.empty()) probes.insert(WithoutEnd(MutateSentence(s, alphabet, rng).sentence));
    }
    std::string input;
    for (const Sentence& s : probes) input += Text(s) + "\n";
    WriteFile(dir / "in.txt", input);
    ASSERT_EQ(RunShell("cd '" + dir.string() + "' && timeout 60 ./lines in.txt > verdicts.txt"), 0) << g.description;
    std::istringstream verdicts(ReadFile(dir / "verdicts.txt"));
    std::string verdict;
    for (const Sentence& s : probes) {
      std::getline(verdicts, verdict);
      Sentence whole = s;
      whole.push_back(kTerminals);
      EXPECT_EQ(verdict == "1", EarleyAccepts(g.model, whole))
          << "'" << Text(s) << "' -> " << verdict << "\n" << g.description << GrammarText(g.model);
      ++sentences;
    }
    ++checked;
    fs::remove_all(dir);
  }
  std::printf("grammars checked %d, sentences %d; refused:", checked, sentences);
  for (const auto& [status, count] : refused) std::printf(" status %d: %d;", status, count);
  std::printf("\n");
  EXPECT_GT(checked, GrammarCount() / 10);
}

}  // namespace
}  // namespace parvolen
