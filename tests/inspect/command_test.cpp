#include "inspect/command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "base/version.h"
#include "support/describe.h"

namespace parvolen::inspect {
namespace {

InspectCommand Parse(std::vector<std::string_view> args) { return ParseInspectCommand(args); }

Status RunWith(std::vector<std::string_view> args, std::string& out) {
  testing::internal::CaptureStdout();
  const Status st = RunInspect(args);
  out = testing::internal::GetCapturedStdout();
  return st;
}

TEST(InspectCommand, Arguments) {
  EXPECT_TRUE(Parse({}).Usage);
  EXPECT_TRUE(Parse({"--help", "x.lang"}).Usage);
  const InspectCommand dot = Parse({"--dot=Expr", "x.lang"});
  EXPECT_TRUE(dot.Dot);
  EXPECT_EQ(dot.DotOnly, "Expr");
  EXPECT_EQ(dot.File, "x.lang");
  EXPECT_TRUE(Parse({"x.lang", "--json"}).Json);
  EXPECT_EQ(Parse({"--json"}).Error, "No description file");
  EXPECT_EQ(Parse({"a.lang", "b.lang"}).Error, "More than one description file");
  EXPECT_EQ(Parse({"-q", "a.lang"}).Error, "Unknown option -q");
  EXPECT_EQ(Parse({"--json", "--dot", "a.lang"}).Error, "--json and --dot exclude each other");
  EXPECT_EQ(Parse({"--html=r.html", "a.lang"}).Html, "r.html");
  EXPECT_EQ(Parse({"--html=r.html", "--dot", "a.lang"}).Error, "--html excludes --json and --dot");
  EXPECT_EQ(Parse({"--html", "a.lang"}).Error, "--html needs the name of the file to write: --html=FILE");
  EXPECT_TRUE(Parse({"--version"}).Version);
  EXPECT_EQ(Parse({"--version"}).Error, "");
  const InspectCommand parse = Parse({"--parse=-", "--json", "x.lang"});
  EXPECT_TRUE(parse.Parse && parse.Json);
  EXPECT_EQ(parse.Input, "-");
  EXPECT_TRUE(Parse({"--prefix", "x.lang"}).Prefix);
  EXPECT_TRUE(Parse({"--prefix=calc", "x.lang"}).Prefix);
  EXPECT_EQ(Parse({"--parse", "x.lang"}).Error, "--parse needs the input: --parse=FILE, or --parse=- for standard input");
  EXPECT_EQ(Parse({"--parse=in", "--dot=E", "x.lang"}).Error, "--parse draws the whole tree: --dot takes no nonterminal");
}

TEST(InspectCommand, ExitStatusIsTheStatusOfReading) {
  const std::string path = TempPath("command");
  std::ofstream(path) << "[Language]\nStartingSymbol = E\nTerminals = 2\nNonterminals = 2\nProductions = 3\n"
                         "Edges = 9\nViews = 9\nNodes = 9\n[Terminals]\na\n[Nonterminals]\nE\nF\n[Productions]\n"
                         "E ::= (a)\nE ::= [F]\nF ::= (a)\n";
  std::string out;
  EXPECT_EQ(RunWith({path}, out), stNotKindGiven);
  EXPECT_EQ(out.substr(0, 80).find("Warning: lookahead set to default (1)\n"), 0u);
  EXPECT_NE(out.find("\nGrammar is not kind for given lookahead.\n"), std::string::npos);
  EXPECT_EQ(RunWith({"--json", path}, out), stNotKindGiven);
  EXPECT_EQ(out.find("{\"file\":"), 0u);
  EXPECT_NE(out.find("\"console\":[\"Warning: lookahead set to default (1)\"]"), std::string::npos);
  EXPECT_EQ(RunWith({"--dot", path}, out), stNotKindGiven);
  EXPECT_EQ(out.find("// Warning: lookahead set to default (1)\n// Grammar is not kind for given lookahead.\n"
                     "digraph \"grammar\" {\n"),
            0u);
  EXPECT_EQ(RunWith({"--dot=Nothing", path}, out), stUnknownNonterminal);
  EXPECT_EQ(out, "No nonterminal is named Nothing.\n");
  // The page names the failure and marks the two productions in conflict.
  const std::string page = path + ".html", html = "--html=" + page;
  EXPECT_EQ(RunWith({html, path}, out), stNotKindGiven);
  EXPECT_EQ(out, "");
  const std::string text = ReadFile(page);
  EXPECT_NE(text.find("<h3>Grammar is not kind for given lookahead.</h3>"), std::string::npos);
  EXPECT_NE(text.find("<li id=\"p1\" class=\"involved\">"), std::string::npos);
  EXPECT_NE(text.find("class=\"badge warn\"><title>the conflict</title>"), std::string::npos);
  std::remove(page.c_str());
  const std::string nowhere = "--html=" + path + ".missing/r.html";
  EXPECT_EQ(RunWith({nowhere, path}, out), stCannotCreate);
  EXPECT_EQ(RunWith({"--bad", path}, out), kBadCommandLine);
  EXPECT_EQ(out.find("Unknown option --bad.\n\nparvolen-inspect: "), 0u);
  EXPECT_EQ(RunWith({}, out), stOk);
  EXPECT_EQ(RunWith({"--version"}, out), stOk);
  EXPECT_EQ(out, "parvolen-inspect " + std::string(kVersion) + "\n");
  EXPECT_EQ(RunWith({"--help"}, out), stOk);
  EXPECT_NE(out.find("--help prints this text; --version prints the version.\n"), std::string::npos);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace parvolen::inspect
