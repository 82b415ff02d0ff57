// The generation driver: completes the options record and writes the translator's modules.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "model/language.h"
#include "semantics/instruction_set.h"

namespace parvolen {

// Generation options: built by the driver from the command line, completed during generation.
struct ConsOptions {
  std::int32_t TrackLines = 1;     // the lexer counts input lines and offers GetLine
  std::int32_t DebugSupport = 0;   // -T: trace support in the parser
  std::int32_t OutputUsed = 0;     // an action writes output (set by the actions generator)
  std::int32_t SemanticCode = 0;   // -s: translate the semantic instructions
  std::int32_t ValueKinds = 0;     // number of value kinds used, 0 to 4 (ConsPrepare)
  std::int32_t PlainIntValue = 0;  // Value is a plain int (set by the lexer generator)
  std::array<std::int32_t, kOpcodeLimit> OpcodeCount{};  // instructions per opcode (ConsPrepare)
};

// Writes the translator's files into the target directory ("" is the current directory);
// the first failing module ends it. Without a record, a directory (a view without data) or
// options it prints a diagnostic and returns stNotAllocated.
[[nodiscard]] Status Construct(Language* lang, std::string_view targetDir, ConsOptions* options);

// Fills ValueKinds and OpcodeCount from the record; stOk.
[[nodiscard]] Status ConsPrepare(const Language& lang, ConsOptions& options);

}  // namespace parvolen
