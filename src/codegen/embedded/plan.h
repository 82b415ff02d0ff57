// What the embeddable translator is built from: the record, the options, the prefix of every
// public name, and the facts derived from them that several parts of "NAME.c" consult.
//
// The embeddable translator is one header NAME.h (the public interface, every name in it
// beginning with NAME_ or its upper-case form) and one source NAME.c (everything else, static).
// All state lives in one struct NAME_parser, so that translators of several languages link into
// one program and several parses run at once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/construct.h"
#include "model/language.h"

namespace parvolen {

struct EmbeddedPlan {
  const Language& lang;
  const ConsOptions& options;
  std::string prefix;  // NAME: functions and types
  std::string upper;   // NAME in upper case: constants and macros

  EmbeddedPlan(const Language& l, const ConsOptions& o, std::string_view name);

  // The constant of terminal t in NAME.h (NAME_T_<terminal>).
  [[nodiscard]] std::string TermConst(std::int32_t t) const;
  // The code of the end of the input: the end-of-input terminal, or NAME_END (0) without one.
  [[nodiscard]] std::string EndConst() const;
  // A status constant of NAME.h, such as Status("SYNTAX") = "NAME_SYNTAX" in upper case.
  [[nodiscard]] std::string Status(std::string_view suffix) const { return upper + "_" + std::string(suffix); }

  [[nodiscard]] bool HasActions() const { return lang.LastAction > 0; }
  [[nodiscard]] bool HasOutput() const { return lang.LastOutTerm > 0; }
  // -s: the semantic instructions are translated into the actions.
  [[nodiscard]] bool Semantic() const { return options.SemanticCode != 0; }
  // The actions are functions of the user's own source, declared by NAME.h.
  [[nodiscard]] bool UserActions() const { return HasActions() && !Semantic(); }
  [[nodiscard]] bool Trace() const { return options.DebugSupport != 0; }
  // Words: identifiers, or keywords that a word of letters spells.
  [[nodiscard]] bool Words() const { return lang.IdTerm != 0 || lang.LastKeyword > 0; }
};

// The identifier characters of a NAME: a letter or underscore, then letters, digits and
// underscores, at most 64 in all.
[[nodiscard]] bool ValidPrefix(std::string_view name);

// The text as it stands inside a C string literal: quote, backslash and bytes outside the
// printable ASCII range escaped (in octal, so that no following character joins the escape).
[[nodiscard]] std::string CStringBody(std::string_view text);

// How a terminal is shown in messages: the first keyword or symbol that spells it, quoted, or
// its name; "end of input" for the end-of-input terminal. Index 0 is the end of the input.
[[nodiscard]] std::vector<std::string> TerminalTexts(const Language& lang);

// The terminals whose text is a value of their own (identifiers, numbers, constants and the
// tokens of [Tokens]), which a syntax error shows with their text: each once, in that order.
[[nodiscard]] std::vector<std::int32_t> ValuedTerminals(const Language& lang);

}  // namespace parvolen
