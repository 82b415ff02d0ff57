// parvolen-inspect --parse=INPUT: the description read as the embeddable translator reads it,
// its choices decided and its lexicon built as `parvolen --prefix` does, and the input parsed
// with them (inspect/input_parser.h), without generating or compiling anything.
#pragma once

#include "base/status.h"
#include "inspect/command.h"

namespace parvolen::inspect {

// The exit status of an input that the translator rejects: this plus the status of NAME.h
// (101 a syntax error, 102 a byte that begins no terminal, 103 a terminal too long, 104 one not
// closed, 105 nesting too deep, 106 an input that cannot be read, 114 a parse that would repeat
// forever without reading input).
inline constexpr Status kRejectedBase = 100;

// Prints the tree (or the failure) on standard output in the form the command asks for, and
// what the reading printed on standard error. Returns 0 for an accepted input, kRejectedBase
// plus the translator's status for a rejected one, and the status with which `parvolen
// --prefix` stops for a description it cannot generate from.
[[nodiscard]] Status RunParse(const InspectCommand& cmd);

}  // namespace parvolen::inspect
