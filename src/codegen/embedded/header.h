// NAME.h, the public interface of the embeddable translator, and the status messages it names.
#pragma once

#include <string_view>

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "codegen/embedded/plan.h"

namespace parvolen {

// Writes NAME.h into the directory.
[[nodiscard]] Status WriteEmbeddedHeader(const EmbeddedPlan& x, std::string_view dir);

// Writes the statuses under their names without the prefix, for NAME.c.
void WriteEmbeddedStatusNames(const EmbeddedPlan& x, CodeWriter& out);

// Writes NAME_error_message, the text of every status NAME.h defines.
void WriteEmbeddedStatusMessages(const EmbeddedPlan& x, CodeWriter& out);

}  // namespace parvolen
