// The language of the embeddable translator, against an independent recognizer: random grammars
// are generated with --prefix by the real program; for each one it accepts, the translator is
// compiled with a driver that parses one input per line, and run once over sentences derived at
// random from the grammar (all must be accepted) and mutations of them (a terminal dropped,
// doubled, swapped or replaced), whose verdict must be Earley's. Each input is parsed again with
// recovery (at most kMostErrors errors), which must end in time with the same status and first
// error and a count of errors in range, none for a sentence. Grammars the program refuses are
// counted and skipped. PARVOLEN_PROPERTY_GRAMMARS sets how many grammars are tried.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "codegen_fixture.h"
#include "support/grammar_model.h"
#include "support/random_grammar.h"

namespace parvolen {
namespace {

using namespace testing_codegen;
using namespace testing_grammar;

constexpr int kDefaultGrammars = 600;
constexpr int kDerivedPerGrammar = 10;
constexpr int kMutatedPerGrammar = 10;
constexpr int kDetailedFailures = 5;  // grammars whose failures are printed in full
constexpr int kMostErrors = 3;  // of the parses with recovery
constexpr int kTimedOutOrKilled = 124;  // from this exit status on, timeout(1) or a signal ended the run

int GrammarCount() { return PropertyGrammarCount(kDefaultGrammars); }

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

struct Probe {
  Sentence sentence;
  std::string kind;  // "derived", or the mutation: "dropped", "doubled", "swapped", "replaced"
  bool inLanguage = true;
};

// Derived sentences (distinct) and mutations of them, with Earley's verdict on each.
std::vector<Probe> MakeProbes(const RandomLanguage& lang, const ShortestDerivations& shortest, unsigned seed) {
  std::mt19937 rng(seed);
  std::set<Sentence> seen;
  std::vector<Probe> probes;
  for (int attempt = 0; attempt < 4 * kDerivedPerGrammar && static_cast<int>(probes.size()) < kDerivedPerGrammar;
       ++attempt) {
    Sentence s = DeriveLanguageSentence(lang, shortest, rng);
    if (seen.insert(s).second) probes.push_back({std::move(s), "derived", true});
  }
  const std::size_t derived = probes.size();
  for (int m = 0; m < kMutatedPerGrammar; ++m) {
    const Sentence& base = probes[std::uniform_int_distribution<std::size_t>(0, derived - 1)(rng)].sentence;
    if (base.empty()) continue;
    Mutation mutation = MutateSentence(base, lang.alphabet, rng);
    const bool holds = LanguageHolds(lang, mutation.sentence);
    probes.push_back({std::move(mutation.sentence), mutation.kind, holds});
  }
  return probes;
}

struct Tally {
  int tried = 0, derivesNothing = 0, checked = 0, sentences = 0, failingGrammars = 0;
  int checkedUseless = 0;  // checked grammars with a nonterminal that derives nothing
  std::map<int, int> refused;                      // exit status of parvolen: grammars
  std::map<std::string, int> failures;             // kind of failure: sentences
  std::map<int, int> failingByLookahead;           // Lookahead: failing grammars
  std::map<int, int> checkedByLookahead;           // Lookahead: grammars checked
  std::string details;                             // the first failing grammars in full

  [[nodiscard]] std::string Summary() const {
    std::ostringstream out;
    out << "grammars tried " << tried << ", deriving nothing " << derivesNothing << ", checked " << checked
        << " (with a nonterminal that derives nothing " << checkedUseless << "), sentences " << sentences
        << ", grammars with a failure " << failingGrammars << "\nrefused:";
    for (const auto& [status, count] : refused) out << " status " << status << ": " << count << ";";
    out << "\nfailing sentences by kind:";
    for (const auto& [kind, count] : failures) out << "\n  " << kind << ": " << count;
    out << "\nfailing/checked grammars by Lookahead:";
    for (const auto& [k, count] : checkedByLookahead) {
      const auto failing = failingByLookahead.find(k);
      out << " " << k << ": " << (failing != failingByLookahead.end() ? failing->second : 0) << "/" << count << ";";
    }
    return out.str();
  }
};

// Writes the probes one a line and runs the built driver over them once; gives its output, one
// verdict a line, and sets `ran` to its exit status.
std::string RunDriver(const RandomLanguage& lang, const std::vector<Probe>& probes, const fs::path& dir, int& ran) {
  std::string input;
  for (const Probe& p : probes) input += SentenceText(lang, p.sentence) + "\n";
  WriteFile(dir / "sentences.txt", input);
  ran = RunShell("cd " + Quoted(dir) + " && timeout 60 ./driver sentences.txt " + std::to_string(kMostErrors) +
                 " > verdicts.txt 2>&1");
  return ReadFile(dir / "verdicts.txt");
}

// Generates, builds and runs the translator of one grammar; adds what it finds to the tally.
void CheckGrammar(unsigned seed, const fs::path& work, Tally& tally) {
  const RandomLanguage lang = MakeRandomLanguage(seed);
  ++tally.tried;
  const ShortestDerivations shortest = FindShortestDerivations(lang.grammar);
  if (shortest.length[static_cast<std::size_t>(lang.grammar.start)] < 0) {
    ++tally.derivesNothing;
    return;
  }
  const fs::path dir = work / ("grammar-" + std::to_string(seed));
  fs::create_directories(dir);
  WriteFile(dir / "random.lang", lang.description);
  const int generated = RunShell("cd " + Quoted(dir) + " && timeout 120 " + Quoted(PARVOLEN_PROGRAM) +
                                 " -q --prefix=lang random.lang . > generate.out 2> generate.err");
  if (generated < 0 || generated >= kTimedOutOrKilled) {
    ++tally.failures["parvolen timed out or crashed"];
    ++tally.failingGrammars;
    ADD_FAILURE() << "parvolen exit status " << generated << "\n" << lang.description;
    return;
  }
  if (generated != 0) {
    ++tally.refused[generated];
    fs::remove_all(dir);
    return;
  }
  ++tally.checked;
  ++tally.checkedByLookahead[lang.lookahead];
  if (std::any_of(shortest.length.begin(), shortest.length.end(), [](int length) { return length < 0; }))
    ++tally.checkedUseless;
  const fs::path driver = SourceDir().parent_path() / "e2e" / "embedded_lines_main.c";
  const std::string build = "cc -std=c99 -DPREFIX=lang '-DHEADER=\"lang.h\"' -I" + Quoted(dir) + " -o " +
                            Quoted(dir / "driver") + " " + Quoted(driver) + " " + Quoted(dir / "lang.c") + " 2> " +
                            Quoted(dir / "build.err");
  if (RunShell(build) != 0) {
    ++tally.failures["translator does not compile"];
    ++tally.failingGrammars;
    ADD_FAILURE() << lang.description << ReadFile(dir / "build.err");
    return;
  }

  const std::vector<Probe> probes = MakeProbes(lang, shortest, seed);
  int ran = 0;
  std::istringstream verdicts(RunDriver(lang, probes, dir, ran));
  std::string report;
  std::string verdict;
  for (const Probe& p : probes) {
    if (!std::getline(verdicts, verdict)) verdict = "(no verdict: driver exit status " + std::to_string(ran) + ")";
    ++tally.sentences;
    if (const std::size_t broken = verdict.find(" !recovery: "); broken != std::string::npos) {
      ++tally.failures["recovery " + verdict.substr(broken + 12)];
      report += "  recovery broke a rule: '" + SentenceText(lang, p.sentence) + "' -> " + verdict + "\n";
      verdict.erase(broken);
    }
    const bool accepted = verdict == "1";
    if (accepted == p.inLanguage) continue;
    const std::string kind = p.kind == "derived" ? "derived sentence rejected"
                             : accepted          ? "mutated sentence accepted, Earley rejects"
                                                 : "mutated sentence rejected, Earley accepts";
    ++tally.failures[kind];
    report += "  " + kind + " (" + p.kind + "): '" + SentenceText(lang, p.sentence) + "' -> " + verdict + "\n";
  }
  if (ran != 0) {
    ++tally.failures["translator crashed or timed out"];
    report += "  driver exit status " + std::to_string(ran) + "\n";
  }
  if (report.empty()) {
    fs::remove_all(dir);
    return;
  }
  ++tally.failingGrammars;
  ++tally.failingByLookahead[lang.lookahead];
  if (tally.failingGrammars <= kDetailedFailures)
    tally.details += "--- seed " + std::to_string(seed) + " (kept in " + dir.string() + ")\n" + lang.description +
                     "verdicts (translator's output after the arrow; Earley's is the opposite):\n" + report;
}

TEST(EmbeddedLanguageProperty, AcceptsExactlyTheLanguageOfItsGrammar) {
  if (RunShell("command -v cc > /dev/null 2>&1") != 0) GTEST_SKIP() << "no C compiler";
  const fs::path work = ScratchDir();
  const auto started = std::chrono::steady_clock::now();
  Tally tally;
  for (int seed = 1; seed <= GrammarCount(); ++seed) CheckGrammar(static_cast<unsigned>(seed), work, tally);
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count();
  std::printf("%s\ntime: %llds\n", tally.Summary().c_str(), static_cast<long long>(seconds));
  EXPECT_EQ(tally.failingGrammars, 0) << tally.Summary() << "\n" << tally.details;
  EXPECT_GT(tally.checked, 0);
}

}  // namespace
}  // namespace parvolen
