// What every generated file shares: its path, its banner box, the boxes above generated
// functions, identifiers made from declared names and C escapes of single characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "model/fixed_text.h"

namespace parvolen {

// Every generator forms its paths with this limit.
inline constexpr std::size_t kTargetPathLimit = 255;

// Joins directory and file name with '/' (added only when the directory does not end with one);
// an empty directory gives the bare file name. stTargetNameTooLong when the path would exceed the limit.
[[nodiscard]] Status MkTargetPath(std::string& dest, std::string_view dir, std::string_view fileName,
                                  std::size_t limit);

// Writes the banner box that opens a generated file; stHeaderTooLong (nothing written) for a text over 72.
[[nodiscard]] Status ConFileHeader(CodeWriter& out, std::string_view fileName, std::string_view description);

// Writes the box above a generated function and an empty line; stHeaderTooLong when name and comment
// together exceed 72 characters.
[[nodiscard]] Status ConFnHeader(CodeWriter& out, std::string_view name, std::string_view comment);

// Opens a generated file: forms its path in the directory, creates it and writes its banner box.
// A failing banner leaves the file closed and empty. A file that cannot be created is named on
// standard error, with the directory when that is missing.
[[nodiscard]] Status ConOpenFile(CodeWriter& out, std::string_view dir, std::string_view fileName,
                                 std::string_view description);

// The identifier form of a declared name: every blank becomes an underscore.
[[nodiscard]] std::string MkIdent(std::string_view name);
[[nodiscard]] std::string Ident(const Name& name);

// The text that stands for the character inside a C literal (lower-case hexadecimal digits).
[[nodiscard]] std::string MkCharEsc(char ch);

}  // namespace parvolen
