// --capacities against the reading itself: with the capacities it prints, every description
// reads; with any one of them one lower, the reading fails on that table and its diagnostic
// gives the printed figure as what the description needs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/console.h"
#include "base/stack_room.h"
#include "driver/run.h"
#include "reader/capacities.h"
#include "support/describe.h"

namespace parvolen {
namespace {

const std::filesystem::path kRoot = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();

// The "Key = N" lines of the block that --capacities prints for the description (without
// --prefix: one that only the embeddable translator reads is counted as for it), with the status
// expected.
std::map<std::string, std::int32_t> PrintedCapacities(const std::string& path, std::string& out,
                                                      Status expected = stOk) {
  std::string err;
  Status st = stOk;
  {
    ConsoleSink messages(out);
    ConsoleSink diagnostics(err);
    const ConsoleRedirect m(Channel::Messages, messages);
    const ConsoleRedirect d(Channel::Diagnostics, diagnostics);
    const std::vector<std::string_view> args = {"--capacities", path};
    st = Run(args);
  }
  EXPECT_EQ(st, expected) << path << "\n" << err;
  std::map<std::string, std::int32_t> printed;
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "[Language]") << path;
  while (std::getline(lines, line)) {
    const std::size_t equals = line.find(" = ");
    printed[line.substr(0, equals)] = std::stoi(line.substr(equals + 3));
  }
  return printed;
}

// The description with the capacities set last in its [Language] section, where they win.
std::string WithCapacities(std::string text, const std::map<std::string, std::int32_t>& capacities) {
  std::string lines;
  for (const auto& [key, value] : capacities) lines += key + " = " + std::to_string(value) + "\n";
  const std::size_t language = text.find("[Language]");
  const std::size_t next = text.find("\n[", language + 1);
  return text.insert(next + 1, lines);
}

TEST(Capacities, PrintedFiguresAreExactlyWhatTheReadingNeeds) {
  std::vector<std::filesystem::path> descriptions;
  for (const auto& entry : std::filesystem::directory_iterator(kRoot / "examples"))
    if (entry.is_directory())
      for (const auto& file : std::filesystem::directory_iterator(entry.path()))
        if (file.path().extension() == ".lang") descriptions.push_back(file.path());
  ASSERT_FALSE(descriptions.empty());
  for (const auto& path : descriptions) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    std::string block;
    const std::map<std::string, std::int32_t> needed = PrintedCapacities(path.string(), block);
    ASSERT_EQ(needed.size(), kCapacityCount) << path << "\n" << block;
    const bool embedded = content.str().find("\n[Tokens]") != std::string::npos;
    EXPECT_EQ(Describe(WithCapacities(content.str(), needed), embedded).status, stOk) << path;
    for (const CapacityKey& key : CapacityKeys()) {
      const std::string name(key.Key);
      const std::int32_t lowest = name == "Nonterminals" ? 1 : 0;  // the least value [Language] accepts
      if (needed.at(name) <= lowest) continue;
      std::map<std::string, std::int32_t> tight = needed;
      --tight[name];
      const Described d = Describe(WithCapacities(content.str(), tight), embedded);
      EXPECT_EQ(d.status, key.TooMany) << path << " " << name;
      const std::string says = name + " = " + std::to_string(tight[name]) +
                               " is too small: this description needs " + std::to_string(needed.at(name));
      EXPECT_NE(d.err.find(says), std::string::npos) << path << " " << name << "\n" << d.err;
    }
  }
}

// A grammar that fails the check gets its block too, then its status; the tables that the
// later sections fill are counted in full.
TEST(Capacities, CountedWhenTheGrammarFailsTheCheck) {
  const std::string path = TempPath("failing.lang");
  std::ofstream(path) << "[Language]\nStartingSymbol = S\nIdName = id\n[Terminals]\nid\nx\ny\n[Nonterminals]\nS\nA\n"
                         "B\n[Productions]\nS ::= [A]\nS ::= [B]\nA ::= (x)\nB ::= (x)(y)\n[Keywords]\nx = x\ny = y\n";
  std::string block;
  const std::map<std::string, std::int32_t> needed = PrintedCapacities(path, block, stNotKindGiven);
  ASSERT_EQ(needed.size(), kCapacityCount) << block;
  EXPECT_EQ(needed.at("Productions"), 4);
  EXPECT_EQ(needed.at("Keywords"), 2);
}

// With --prefix no capacity key is needed: every example reads without them, and a key that is
// given still bounds its table.
TEST(Capacities, EmbeddedReadingsNeedNoKeys) {
  for (const auto& entry : std::filesystem::directory_iterator(kRoot / "examples")) {
    if (!entry.is_directory()) continue;
    for (const auto& file : std::filesystem::directory_iterator(entry.path())) {
      if (file.path().extension() != ".lang") continue;
      std::istringstream lines(ReadFile(file.path().string()));
      std::string stripped, line;
      while (std::getline(lines, line)) {
        bool capacity = false;
        for (const CapacityKey& key : CapacityKeys())
          capacity = capacity || line.rfind(std::string(key.Key) + " =", 0) == 0;
        if (!capacity) stripped += line + "\n";
      }
      EXPECT_EQ(Describe(stripped, true).status, stOk) << file.path();
      EXPECT_EQ(Describe(WithCapacities(stripped, {{"Terminals", 1}}), true).status, stTooManyTerminals) << file.path();
    }
  }
}

// Sixty optional terminals in one production at lookahead 5: about six million strings. A
// reading with room for 1000 views fails at once; counting what it needs is cut off by the steps
// allowed, and the failing reading still names the capacity, counted or not.
TEST(Capacities, CountingGivesUpPastItsSteps) {
  std::string text =
      "[Language]\nStartingSymbol = S\nEofName = eoi\nLookahead = 5\nTerminals = 100\nNonterminals = 100\n"
      "Productions = 200\nEdges = 100000\nViews = 1000\nNodes = 100000\nSymbNodes = 1000\n[Terminals]\n";
  std::string nonterminals = "[Nonterminals]\nS\n", productions = "[Productions]\nS ::= ", optional;
  for (int i = 0; i < 60; ++i) {
    const std::string n = std::to_string(i);
    text += "t" + n + "\n";
    nonterminals += "N" + n + "\n";
    productions += "[N" + n + "]";
    optional += "N" + n + " ::= (t" + n + ")\nN" + n + " ::=\n";
  }
  text += "eoi\n" + nonterminals + productions + "(eoi)\n" + optional;
  const std::string path = TempPath("optional");
  std::ofstream(path) << text;

  const std::int64_t before = StepsTaken();
  const CapacityCount cut = CountCapacities(path, stTooManyViews, {}, 100000);
  EXPECT_TRUE(cut.GaveUp);
  EXPECT_LE(StepsTaken() - before, std::int64_t{101000});
  Described failed = Describe(text);
  EXPECT_EQ(failed.status, stTooManyViews);
  EXPECT_NE(failed.err.find("Views = 1000 is too small"), std::string::npos) << failed.err;
}

}  // namespace
}  // namespace parvolen
