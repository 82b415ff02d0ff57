// Reads a language description file into a new Language record.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "model/language.h"
#include "findings/read_progress.h"
#include "reader/capacities.h"

namespace parvolen {

// Creates a record in the pool and reads the description into it, echoing every line to the
// listing file unless its name is empty. Gives the record's handle (0 when the file cannot be
// opened: stCannotOpen, with the file and the system's reason on standard error) and returns the
// first failing status; on failure the record stays in use.
// A progress record, when given, is told what the reading went through (it changes nothing else).
[[nodiscard]] Status ReadDescription(LanguagePool& pool, std::string_view descriptionName,
                                     std::string_view listingName, std::int32_t& handle,
                                     ReadProgress* progress = nullptr, const ReadOptions& options = {});

// Reads as ReadDescription does, without a listing, with the capacities in place of those of
// [Language] (they take effect where [Language] ends). A full table is reported at its line
// without a count of what the description needs: this is the reading that counts it. A grammar
// that fails the check (stNotKindAny, stNotKindGiven) does not stop it: the later sections are
// read, and that status comes last, unless a later fault stops the reading first.
[[nodiscard]] Status ReadWithCapacities(LanguagePool& pool, std::string_view descriptionName,
                                        const Capacities& capacities, std::int32_t& handle,
                                        const ReadOptions& options = {});

}  // namespace parvolen
