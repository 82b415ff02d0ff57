// Helpers of the code generation tests: Language records built in code, scratch directories
// and whole-file reads.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>

#include "model/language.h"
#include "model/lexical_symbols.h"
#include "model/symbol_tables.h"

namespace parvolen::testing_codegen {

namespace fs = std::filesystem;

// The directory of the test sources (golden files, the C test driver).
inline fs::path SourceDir() { return fs::path(__FILE__).parent_path(); }

// A fresh, empty scratch directory named after the running test.
inline fs::path ScratchDir() {
  const char* base = std::getenv("PARVOLEN_TEST_TMP");
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  fs::path dir = fs::path(base != nullptr ? base : fs::temp_directory_path().string()) / "codegen" /
                 (std::string(info->test_suite_name()) + "." + info->name());
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const fs::path& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// Builds a Language record the way the reader would: terminals, special names, keywords, symbols.
class LangBuilder {
 public:
  explicit LangBuilder(Language& lang) : lang_(lang) {
    lang_.Terminals = 40;
    lang_.Keywords = 40;
    lang_.SymbNodes = 200;
  }

  LangBuilder& Terminals(std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
      std::int32_t no = 0;
      EXPECT_EQ(NewTerminal(lang_, name, no), stOk) << name;
    }
    return *this;
  }
  LangBuilder& Eof(std::string_view name) { return Special(lang_.EofName, lang_.EoiCode, name); }
  LangBuilder& Num(std::string_view name) { return Special(lang_.NumName, lang_.NumTerm, name); }
  LangBuilder& Id(std::string_view name) { return Special(lang_.IdName, lang_.IdTerm, name); }
  // Character and string constants, with their delimiters.
  LangBuilder& Chars(std::string_view name, char delim = '\'') {
    lang_.UseChars = 1;
    lang_.CharDelim = delim;
    return Special(lang_.CharName, lang_.CharTerm, name);
  }
  LangBuilder& Strings(std::string_view name, char delim = '"') {
    lang_.UseStrings = 1;
    lang_.StrDelim = delim;
    return Special(lang_.StrName, lang_.StrTerm, name);
  }
  // Lines of the [Keywords] or [Symbols] section: "terminal = shape".
  LangBuilder& Keywords(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) EXPECT_EQ(KeywordsLine(lang_, line), stOk) << line;
    return *this;
  }
  LangBuilder& Symbols(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) EXPECT_EQ(SymbolsLine(lang_, line), stOk) << line;
    return *this;
  }
  // One semantic instruction (a return), so that -s writes FetchVal.
  LangBuilder& SomeInstruction() {
    lang_.SemInsts = 1;
    EXPECT_EQ(lang_.SemInstTab.Allocate(1), stOk);
    lang_.SemInstTab[1].Opcode = 6;
    lang_.LastSemInst = 1;
    return *this;
  }

 private:
  LangBuilder& Special(Name& field, std::int32_t& number, std::string_view name) {
    field.Set(name);
    EXPECT_EQ(FindTerminal(lang_, name, number), stOk) << name;
    return *this;
  }

  Language& lang_;
};

// How many random grammars a property test tries: PARVOLEN_PROPERTY_GRAMMARS, else the default.
inline int PropertyGrammarCount(int fallback) {
  const char* text = std::getenv("PARVOLEN_PROPERTY_GRAMMARS");
  const int count = text != nullptr ? std::atoi(text) : 0;
  return count > 0 ? count : fallback;
}

// The exit status of a shell command, or -1 when it did not exit normally.
inline int RunShell(const std::string& command) {
  const int raw = std::system(command.c_str());
  return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

}  // namespace parvolen::testing_codegen
