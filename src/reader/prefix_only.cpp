#include "reader/prefix_only.h"

#include "base/text.h"

namespace parvolen {
namespace {

// Every key and section that only --prefix reads: one line each. Their handlers stay in the key
// table of [Language] (language_section.cpp) and the section table (sections.cpp); the key
// lookup and the reader's section switch (reader.cpp) ask this table whether a classic reading
// may use a row.
constexpr std::string_view kPrefixOnly[] = {
    "LineComment", "BlockComment", "NestedComments", "IdChars",
    "[Tokens]",
};

}  // namespace

bool PrefixOnly(std::string_view keyOrHeader) {
  for (std::string_view name : kPrefixOnly)
    if (EqualNoCase(keyOrHeader, name)) return true;
  return false;
}

std::string PrefixOnlyHint(std::string_view keyOrHeader, bool embedded) {
  if (embedded || !PrefixOnly(keyOrHeader)) return "";
  return "only the embeddable translator reads it: run with --prefix=NAME";
}

}  // namespace parvolen
