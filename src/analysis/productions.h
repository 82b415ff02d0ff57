// The [Productions] section: production lines into edge tries, and the analysis at its end.
#pragma once

#include <cstdint>
#include <string_view>

#include "model/language.h"
#include "model/status.h"

namespace parvolen {

// Line handler of [Productions].
[[nodiscard]] Status ProdLine(Language& lang, std::string_view line);
// End handler of [Productions]: follow tries, views, decision lists (the kind check).
[[nodiscard]] Status ProductionsEnd(LanguagePool& pool, std::int32_t handle);

}  // namespace parvolen
