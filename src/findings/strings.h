// Terminal strings: the sets that view tries and decision lists stand for, and their text.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/language.h"

namespace parvolen {

class Grammar;

// Terminal numbers, first terminal first; the empty string is λ.
using TermString = std::vector<std::int32_t>;
using StringSet = std::set<TermString>;

// The strings of a view trie: each path, ending where a lambda view stands or at a leaf.
[[nodiscard]] StringSet ViewStrings(const Language& lang, std::int32_t root);

// The terminals of the top list of a view trie (a lambda view left out).
[[nodiscard]] std::set<std::int32_t> ViewTopTerms(const Language& lang, std::int32_t root);

// One entry of a decision list: the shortest string that decides, and the member it selects
// (0 when even the last level leaves it open).
struct Decision {
  TermString String;
  std::int32_t Member;
};
[[nodiscard]] std::vector<Decision> DecisionStrings(const Language& lang, std::int32_t root);

// Level 1 of a decision list: terminal to member, 0 where the next level decides.
[[nodiscard]] std::map<std::int32_t, std::int32_t> LevelOne(const Language& lang, std::int32_t root);

// The names of the terminals of a string.
[[nodiscard]] std::vector<std::string> NamesOf(const Grammar& grammar, const TermString& string);

// "a b" for a string of names, "λ" for the empty one.
[[nodiscard]] std::string StringText(const std::vector<std::string>& names);
// "{ a b, λ }": the strings of a set; "{ }" when empty.
[[nodiscard]] std::string SetText(const std::vector<std::vector<std::string>>& strings);

}  // namespace parvolen
