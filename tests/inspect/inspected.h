// A description given as text, written to a temporary file and read for inspection.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "inspect/inspection.h"
#include "inspect/writers.h"
#include "support/describe.h"

namespace parvolen::inspect {

class Inspected {
 public:
  explicit Inspected(std::string_view text) : path_(Write(text)), inspection_(path_) { std::remove(path_.c_str()); }

  Inspection& It() { return inspection_; }
  Report MakeReport() { return inspection_.MakeReport(); }
  std::string Text() { return WriteText(MakeReport()); }
  std::string Json() { return WriteJson(MakeReport()); }
  std::string Dot(std::int32_t only = 0) { return WriteDot(*inspection_.Lang(), &inspection_.Progress(), only); }

 private:
  static std::string Write(std::string_view text) {
    const std::string path = TempPath("inspect");
    std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    return path;
  }

  std::string path_;
  Inspection inspection_;
};

// A description with roomy capacities: the [Language] lines given, then the sections.
inline std::string Description(std::string_view language, std::string_view terminals, std::string_view nonterminals,
                               std::string_view productions) {
  return "[Language]\nName = T\nTerminals = 20\nNonterminals = 20\nProductions = 40\nEdges = 200\n"
         "Views = 2000\nNodes = 400\n" +
         std::string(language) + "[Terminals]\n" + std::string(terminals) + "[Nonterminals]\n" +
         std::string(nonterminals) + "[Productions]\n" + std::string(productions);
}

}  // namespace parvolen::inspect
