// parvolen-inspect --parse against the compiled embeddable translator: for random grammars that
// `parvolen --prefix` accepts, the translator is compiled with a driver that parses one input
// per line, and both parse the same inputs: sentences derived from the grammar, mutations of
// them, and inputs with a byte that begins no terminal. They must agree on acceptance and on
// the status, line, column and text of the failure; on an accepted input the leaves of the tree,
// read left to right, must be the input's terminals. Both parse every input again recovering
// (--max-errors, NAME_set_max_errors) and must report the same errors: count, and line, column
// and text of each. PARVOLEN_PROPERTY_GRAMMARS sets how many grammars are tried.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "codegen/codegen_fixture.h"
#include "base/console.h"
#include "codegen/embedded/decisions.h"
#include "codegen/embedded/lexicon_check.h"
#include "findings/grammar.h"
#include "inspect/input_parser.h"
#include "inspect/inspection.h"
#include "support/grammar_model.h"
#include "support/random_grammar.h"

namespace parvolen::inspect {
namespace {

using namespace testing_codegen;
using namespace testing_grammar;

constexpr int kDefaultGrammars = 80;
constexpr int kProbesPerKind = 6;
constexpr int kMostErrors = 5;

int GrammarCount() { return PropertyGrammarCount(kDefaultGrammars); }

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// The inputs: derived sentences, mutations of them, and sentences with a stray byte put in.
std::vector<std::string> MakeInputs(const RandomLanguage& lang, const ShortestDerivations& shortest, unsigned seed) {
  std::mt19937 rng(seed);
  std::set<Sentence> seen;
  std::vector<Sentence> derived;
  for (int attempt = 0; attempt < 4 * kProbesPerKind && static_cast<int>(derived.size()) < kProbesPerKind; ++attempt) {
    Sentence s = DeriveLanguageSentence(lang, shortest, rng);
    if (seen.insert(s).second) derived.push_back(std::move(s));
  }
  std::vector<std::string> inputs;
  for (const Sentence& s : derived) inputs.push_back(SentenceText(lang, s));
  for (int m = 0; m < kProbesPerKind && !derived.empty(); ++m) {
    const Sentence& base = derived[std::uniform_int_distribution<std::size_t>(0, derived.size() - 1)(rng)];
    if (!base.empty()) inputs.push_back(SentenceText(lang, MutateSentence(base, lang.alphabet, rng).sentence));
  }
  // Several mistakes in one input, for recovery to go past.
  for (int m = 0; m < kProbesPerKind / 2 && !derived.empty(); ++m) {
    Sentence s = derived[std::uniform_int_distribution<std::size_t>(0, derived.size() - 1)(rng)];
    for (int k = 0; k < 3 && !s.empty(); ++k) s = MutateSentence(s, lang.alphabet, rng).sentence;
    if (!s.empty()) inputs.push_back(SentenceText(lang, s));
  }
  const std::string stray[] = {"@", "\x01", "t", "<=<"};
  for (int m = 0; m < 2 && !derived.empty(); ++m) {
    std::string text = inputs[std::uniform_int_distribution<std::size_t>(0, derived.size() - 1)(rng)];
    text.insert(std::uniform_int_distribution<std::size_t>(0, text.size())(rng), stray[rng() % std::size(stray)]);
    inputs.push_back(text);
  }
  return inputs;
}

// The verdict a line as the driver prints it: "1", or "0 STATUS LINE:COLUMN TEXT".
std::string Verdict(const ParseOutcome& outcome) {
  if (outcome.Accepted) return "1";
  const InputFailure& f = outcome.Failure;
  return "0 " + std::to_string(f.Status) + " " + std::to_string(f.Line) + ":" + std::to_string(f.Column) + " " + f.Text;
}

// What the driver adds for the parse that recovers: a tab and the count of errors, then a tab and
// "LINE:COLUMN TEXT" for each.
std::string Recovered(const ParseOutcome& outcome) {
  std::string out = "\t" + std::to_string(outcome.Errors.size());
  for (const InputFailure& f : outcome.Errors)
    out += "\t" + std::to_string(f.Line) + ":" + std::to_string(f.Column) + " " + f.Text;
  return out;
}

// The texts of the tree's leaves, left to right.
std::vector<std::string> Leaves(const SyntaxTree& tree) {
  std::vector<std::string> leaves;
  std::vector<std::int32_t> stack;
  if (tree.Root >= 0) stack.push_back(tree.Root);
  while (!stack.empty()) {
    const SyntaxNode& n = tree.Nodes[static_cast<std::size_t>(stack.back())];
    stack.pop_back();
    if (n.Nonterminal == 0) leaves.push_back(n.Text);
    for (auto c = n.Children.rbegin(); c != n.Children.rend(); ++c) stack.push_back(*c);
  }
  return leaves;
}

// The terminals of the input as the leaves hold them: the words, and "" for the end of the input
// when the grammar matches it as a terminal.
std::vector<std::string> Tokens(const std::string& text, bool endTerminal) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string w; in >> w;) words.push_back(w);
  if (endTerminal) words.emplace_back();
  return words;
}

struct Tally {
  int checked = 0, refused = 0, inputs = 0, accepted = 0, failures = 0;
  int errors = 0, several = 0;  // errors compared with recovery, inputs with more than one
  std::string details;
};

void CheckGrammar(unsigned seed, const fs::path& work, Tally& tally) {
  const RandomLanguage lang = MakeRandomLanguage(seed);
  const ShortestDerivations shortest = FindShortestDerivations(lang.grammar);
  if (shortest.length[static_cast<std::size_t>(lang.grammar.start)] < 0) return;
  const fs::path dir = work / ("grammar-" + std::to_string(seed));
  fs::create_directories(dir);
  WriteFile(dir / "random.lang", lang.description);
  if (RunShell("cd " + Quoted(dir) + " && timeout 120 " + Quoted(PARVOLEN_PROGRAM) +
               " -q --prefix=lang random.lang . > generate.out 2>&1") != 0) {
    ++tally.refused;
    fs::remove_all(dir);
    return;
  }
  const fs::path driver = SourceDir().parent_path() / "e2e" / "embedded_lines_main.c";
  ASSERT_EQ(RunShell("cc -std=c99 -DPREFIX=lang '-DHEADER=\"lang.h\"' -I" + Quoted(dir) + " -o " +
                     Quoted(dir / "driver") + " " + Quoted(driver) + " " + Quoted(dir / "lang.c")),
            0)
      << lang.description;
  const std::vector<std::string> inputs = MakeInputs(lang, shortest, seed);
  std::string lines;
  for (const std::string& input : inputs) lines += input + "\n";
  WriteFile(dir / "inputs.txt", lines);
  ASSERT_EQ(RunShell("cd " + Quoted(dir) + " && timeout 60 ./driver inputs.txt " + std::to_string(kMostErrors) +
                     " each > verdicts.txt"), 0);
  std::istringstream verdicts(ReadFile(dir / "verdicts.txt"));

  // The same description read and decided as the inspector does, what it prints kept aside.
  std::string printed;
  ConsoleSink sink(printed);
  const ConsoleRedirect quiet(Channel::Diagnostics, sink);
  Inspection inspection((dir / "random.lang").string(), true);
  ASSERT_EQ(inspection.Code(), stOk) << lang.description;
  EmbeddedDecisions decisions;
  ASSERT_EQ(decisions.Compute(*inspection.Lang(), &inspection.Progress(), "random.lang"), stOk);
  regex::Lexicon lexicon;
  ASSERT_EQ(BuildCheckedLexicon(*inspection.Lang(), &inspection.Progress(), "random.lang", lexicon), stOk);
  const parvolen::Grammar grammar(*inspection.Lang(), &inspection.Progress());
  ++tally.checked;
  std::string report;
  for (const std::string& input : inputs) {
    std::string expected;
    std::getline(verdicts, expected);
    const ParseOutcome outcome = ParseInput(grammar, decisions, lexicon, input);
    const ParseOutcome recovered =
        ParseInput(grammar, decisions, lexicon, input, kEmbeddedDefaultMaxDepth, kMostErrors);
    ++tally.inputs;
    tally.errors += static_cast<int>(recovered.Errors.size());
    tally.several += recovered.Errors.size() > 1 ? 1 : 0;
    const std::string verdict = Verdict(outcome) + Recovered(recovered);
    if (verdict != expected) report += "  '" + input + "': translator " + expected + ", --parse " + verdict + "\n";
    if (!outcome.Accepted) continue;
    ++tally.accepted;
    if (Leaves(outcome.Tree) != Tokens(input, lang.endOfInput >= 0)) report += "  '" + input + "': leaves differ\n";
  }
  if (report.empty()) {
    fs::remove_all(dir);
    return;
  }
  if (++tally.failures <= 5) tally.details += "--- seed " + std::to_string(seed) + "\n" + lang.description + report;
}

TEST(ParseProperty, AgreesWithTheCompiledTranslator) {
  if (RunShell("command -v cc > /dev/null 2>&1") != 0) GTEST_SKIP() << "no C compiler";
  const fs::path work = ScratchDir();
  Tally tally;
  for (int seed = 1; seed <= GrammarCount(); ++seed) CheckGrammar(static_cast<unsigned>(seed), work, tally);
  std::printf("grammars checked %d, refused %d, inputs %d, accepted %d, errors with recovery %d, inputs with several %d\n",
              tally.checked, tally.refused, tally.inputs, tally.accepted, tally.errors, tally.several);
  EXPECT_EQ(tally.failures, 0) << tally.details;
  EXPECT_GT(tally.checked, 0);
  EXPECT_GT(tally.accepted, 0);
  EXPECT_LT(tally.accepted, tally.inputs);
  EXPECT_GT(tally.several, 0);
}

}  // namespace
}  // namespace parvolen::inspect
