#include "reader/language_section.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <variant>
#include <vector>

#include "base/console.h"
#include "base/diagnostic.h"
#include "base/text.h"
#include "reader/prefix_only.h"

namespace parvolen {
namespace {

constexpr std::int32_t kNoUpperBound = -1;

struct IntegerKey {
  std::int32_t Language::*Field;
  std::int32_t Lower;
  std::int32_t Upper;
};
struct YesNoKey {
  std::int32_t Language::*Field;
};
using NameKey = Name Language::*;
using CharKey = char Language::*;

struct KeyRow {
  std::string_view Key;
  std::variant<NameKey, IntegerKey, YesNoKey, CharKey> Field;
};

// The keys in the order in which they are tested. Those that only --prefix reads
// (prefix_only.cpp) are known only when the record allows them: a classic description that uses
// one keeps failing as before, with an unknown key.
const std::array<KeyRow, 36> kKeys = {{
    {"Name", &Language::Name},
    {"StartingSymbol", &Language::StartingSymbol},
    {"IdName", &Language::IdName},
    {"NumName", &Language::NumName},
    {"CharName", &Language::CharName},
    {"StrName", &Language::StrName},
    {"EofName", &Language::EofName},
    {"EolName", &Language::EolName},
    {"Lookahead", IntegerKey{&Language::Lookahead, 1, 5}},
    {"AllAheads", YesNoKey{&Language::AllAheads}},
    {"UseChars", YesNoKey{&Language::UseChars}},
    {"UseStrings", YesNoKey{&Language::UseStrings}},
    {"Extensible", YesNoKey{&Language::Extensible}},
    {"IgnoreValues", YesNoKey{&Language::IgnoreValues}},
    {"Extended", YesNoKey{&Language::Extended}},
    {"CaseSensitive", YesNoKey{&Language::CaseSensitive}},
    {"Terminals", IntegerKey{&Language::Terminals, 0, kNoUpperBound}},
    {"Nonterminals", IntegerKey{&Language::Nonterminals, 1, kNoUpperBound}},
    {"OutTerms", IntegerKey{&Language::OutTerms, 0, kNoUpperBound}},
    {"Actions", IntegerKey{&Language::Actions, 0, kNoUpperBound}},
    {"Keywords", IntegerKey{&Language::Keywords, 0, kNoUpperBound}},
    {"Edges", IntegerKey{&Language::Edges, 0, kNoUpperBound}},
    {"Nodes", IntegerKey{&Language::Nodes, 0, kNoUpperBound}},
    {"Views", IntegerKey{&Language::Views, 0, kNoUpperBound}},
    {"Productions", IntegerKey{&Language::Productions, 0, kNoUpperBound}},
    {"SymbNodes", IntegerKey{&Language::SymbNodes, 0, kNoUpperBound}},
    {"SemInsts", IntegerKey{&Language::SemInsts, 0, kNoUpperBound}},
    {"StackSize", IntegerKey{&Language::StackSize, 0, kNoUpperBound}},
    {"StrDelim", &Language::StrDelim},
    {"CharDelim", &Language::CharDelim},
    {"OutStrDelim", &Language::OutStrDelim},
    {"OutCharDelim", &Language::OutCharDelim},
    {"LineComment", &Language::LineComment},
    {"BlockComment", &Language::BlockComment},
    {"NestedComments", YesNoKey{&Language::NestedComments}},
    {"IdChars", &Language::IdChars},
}};

// A block comment needs both its opening and its closing text.
bool BlockCommentValid(std::string_view value) {
  std::string_view open, close;
  return SplitPair(value, open, close);
}

// The rows a record knows, in the order in which they are tested.
std::vector<const KeyRow*> KnownKeys(bool embedded) {
  std::vector<const KeyRow*> rows;
  for (const KeyRow& row : kKeys)
    if (embedded || !PrefixOnly(row.Key)) rows.push_back(&row);
  return rows;
}

template <class... Fs>
struct Overloaded : Fs... {
  using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

Status Store(Language& lang, const KeyRow& row, std::string_view value) {
  return std::visit(Overloaded{
                        [&](NameKey field) {
                          (lang.*field).Set(value);
                          return Status{stOk};
                        },
                        [&](const IntegerKey& key) {
                          return IntegerValue(value, key.Lower, key.Upper, lang.*key.Field);
                        },
                        [&](const YesNoKey& key) { return YesNoValue(value, lang.*key.Field); },
                        [&](CharKey field) {
                          lang.*field = value.empty() ? '\0' : value.front();
                          return Status{stOk};
                        },
                    },
                    row.Field);
}

}  // namespace

Status LanguageBegin(LanguagePool& pool, std::int32_t handle) {
  Language* lang = pool.Record(handle);
  if (lang == nullptr) return stBadLanguageHandle;
  lang->Extended = 0;
  lang->OutStrDelim = '"';
  lang->OutCharDelim = '\'';
  lang->IgnoreValues = 0;
  return stOk;
}

Status LanguageLine(Language& lang, std::string_view line) {
  std::string_view key, value;
  if (Status st = SplitAtEquals(line, key, value); st != stOk) return st;
  for (const KeyRow* row : KnownKeys(lang.EmbeddedKeys != 0)) {
    if (!EqualNoCase(key, row->Key)) continue;
    const auto* name = std::get_if<NameKey>(&row->Field);
    if (name != nullptr && *name == &Language::BlockComment && !BlockCommentValid(value)) return stMissingParameter;
    return Store(lang, *row, value);
  }
  return stUnknownKey;
}

bool LocateLanguageFault(const Language& lang, std::string_view line, Status st, LineFault& fault) {
  std::string_view key, value;
  if (SplitAtEquals(line, key, value) != stOk) {
    if (st != stMissingEquals) return false;
    fault = {0, line.size(), "expected 'key = value'", ""};
    return true;
  }
  const KeyRow* row = nullptr;
  std::vector<std::string_view> keys;
  for (const KeyRow* r : KnownKeys(lang.EmbeddedKeys != 0)) {
    keys.push_back(r->Key);
    if (row == nullptr && EqualNoCase(key, r->Key)) row = r;
  }
  const auto offset = [line](std::string_view part) { return static_cast<std::size_t>(part.data() - line.data()); };
  if (row == nullptr) {
    if (st != stUnknownKey) return false;
    std::string hint = PrefixOnlyHint(key, lang.EmbeddedKeys != 0);
    if (hint.empty()) hint = DidYouMean(key, keys);
    fault = {offset(key), key.size(), "unknown key '" + std::string(key) + "' in [Language]", hint};
    return true;
  }
  const std::string quoted = "'" + std::string(value) + "'";
  const std::string of = " for '" + std::string(row->Key) + "'";
  fault = {offset(value), std::max<std::size_t>(value.size(), 1), "", ""};
  const auto* integer = std::get_if<IntegerKey>(&row->Field);
  switch (st) {
    case stYesNoExpected:
      fault.Text = quoted + " is no yes/no value" + of;
      fault.Hint = "write yes or no";
      return true;
    case stIntegerExpected:
      fault.Text = quoted + " is no integer" + of;
      return true;
    case stValueTooHigh:
      fault.Text = quoted + " is too high" + of;
      if (integer != nullptr)
        fault.Hint = "at most " + std::to_string(integer->Upper == kNoUpperBound ? INT32_MAX : integer->Upper);
      return true;
    case stValueTooLow:
      fault.Text = quoted + " is too low" + of;
      if (integer != nullptr) fault.Hint = "at least " + std::to_string(integer->Lower);
      return true;
    case stMissingParameter:
      fault.Text = quoted + " is no pair of texts" + of;
      fault.Hint = "write the opening and the closing text, separated by a blank, such as /* */";
      return true;
    default:
      return false;
  }
}

Status LanguageEnd(LanguagePool& pool, std::int32_t handle) {
  Language* lang = pool.Record(handle);
  if (lang == nullptr) return stBadLanguageHandle;
  if (lang->Lookahead == 0) {
    lang->Lookahead = 1;
    Print("Warning: lookahead set to default (1)\n");
  }
  if (lang->Nonterminals == 0) {
    lang->Nonterminals = 1;
    Print("Warning: maximal # of nonterminals set to default (1)\n");
  }
  if (!lang->CharName.Empty()) {
    lang->UseChars = 1;
    if (lang->CharDelim == '\0') {
      Print("Warning: characters used but no character delimiter specified - therefore set to `'`\n");
      lang->CharDelim = '\'';
    }
  }
  if (!lang->StrName.Empty()) {
    lang->UseStrings = 1;
    if (lang->StrDelim == '\0') {
      Print("Warning: strings used but no string delimiter specified - therefore set to `\"`\n");
      lang->StrDelim = '"';
    }
  }
  return stOk;
}

}  // namespace parvolen
