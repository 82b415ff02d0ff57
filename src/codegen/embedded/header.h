// NAME.h, the public interface of the embeddable translator, and the status messages it names.
#pragma once

#include <string_view>

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "codegen/embedded/plan.h"

namespace parvolen {

// The longest terminal, in bytes (NAME_MAX_TOKEN), and how deep the parsing routines nest by
// default (NAME_DEFAULT_MAX_DEPTH): what the generated code and any reading of it share.
inline constexpr int kEmbeddedMaxToken = 65536;
inline constexpr int kEmbeddedDefaultMaxDepth = 2000;

// The value of a status of NAME.h by its short name ("SYNTAX" gives NAME_SYNTAX), -1 for none.
[[nodiscard]] int EmbeddedStatusValue(std::string_view name);
// The short name of a status value, empty for none.
[[nodiscard]] std::string_view EmbeddedStatusName(int value);

// Writes NAME.h into the directory.
[[nodiscard]] Status WriteEmbeddedHeader(const EmbeddedPlan& x, std::string_view dir);

// Writes the statuses under their names without the prefix, for NAME.c.
void WriteEmbeddedStatusNames(const EmbeddedPlan& x, CodeWriter& out);

// Writes NAME_error_message, the text of every status NAME.h defines.
void WriteEmbeddedStatusMessages(const EmbeddedPlan& x, CodeWriter& out);

}  // namespace parvolen
