#include "inspect/input_lexer.h"

#include <cstdio>

#include "base/text.h"
#include "codegen/embedded/header.h"

namespace parvolen::inspect {
namespace {

// Bytes the automaton may look at from the start of a terminal (LOOK_ROOM of the generated lexer).
constexpr std::size_t kLookRoom = kEmbeddedMaxToken + 2;

// A byte as a failure's text names it: "character 'c'" or "byte 0xhh" (with `quoted` alone).
std::string Shown(unsigned char c, bool quoted) {
  char text[32];
  if (c >= 32 && c < 127) {
    std::snprintf(text, sizeof text, quoted ? "'%c'" : "character '%c'", c);
  } else {
    std::snprintf(text, sizeof text, "byte 0x%02x", c);
  }
  return text;
}

}  // namespace

InputLexer::InputLexer(const Language& lang, const regex::Lexicon& lexicon, std::string_view input)
    : lang_(lang), lexicon_(lexicon), input_(input), end_(lang.EoiCode) {
  const regex::Dfa& dfa = lexicon.Automaton;
  leads_.assign(static_cast<std::size_t>(dfa.StateCount()), false);
  for (std::int32_t state = 0; state < dfa.StateCount(); ++state)
    for (int cls = 0; cls < dfa.ClassCount; ++cls) {
      const std::int32_t to =
          dfa.Next[static_cast<std::size_t>(state) * static_cast<std::size_t>(dfa.ClassCount) + static_cast<std::size_t>(cls)];
      if (to >= 0 && to != state) leads_[static_cast<std::size_t>(state)] = true;
    }
}

void InputLexer::CountLines(std::size_t from, std::size_t to) {
  for (; from < to; ++from)
    if (input_[from] == '\n') {
      ++line_;
      lineStart_ = from + 1;
    }
}

bool InputLexer::Fail(InputFailure& failure, const char* status, int line, int column, std::string text) const {
  failure = {EmbeddedStatusValue(status), line, column, std::move(text)};
  return false;
}

void InputLexer::SkipFailed() {
  CountLines(cur_, skipTo_);
  cur_ = skipTo_;
}

bool InputLexer::BadByte(std::size_t begin, std::size_t s, InputFailure& failure) {
  CountLines(begin, s);
  cur_ = skipTo_ = s;
  const auto b = static_cast<unsigned char>(input_[begin]);
  const auto c = static_cast<unsigned char>(input_[s]);
  return Fail(failure, "BAD_CHAR", line_, ColumnAt(s),
              Shown(c, false) + " cannot continue a terminal that begins with " + Shown(b, true));
}

bool InputLexer::SkipComment(std::size_t begin, std::size_t s, InputFailure& failure) {
  std::string_view open, close;
  (void)SplitPair(lang_.BlockComment.View(), open, close);
  const bool nested = lang_.NestedComments != 0;
  const int line = line_, column = ColumnAt(begin);
  int nest = 1;
  for (;;) {
    if (s == input_.size()) return Fail(failure, "UNTERMINATED", line, column, "comment not closed");
    if (input_.substr(s).starts_with(close)) {
      s += close.size();
      if (!nested || --nest == 0) break;
    } else if (nested && input_.substr(s).starts_with(open)) {
      s += open.size();
      ++nest;
    } else {
      if (input_[s] == '\n') {
        ++line_;
        lineStart_ = s + 1;
      }
      ++s;
    }
  }
  cur_ = s;
  return true;
}

bool InputLexer::Scan(InputToken& t, InputFailure& failure) {
  const regex::Dfa& dfa = lexicon_.Automaton;
  const std::size_t e = input_.size();
  const auto next = [&dfa](std::int32_t state, unsigned char byte) {
    return dfa.Next[static_cast<std::size_t>(state) * static_cast<std::size_t>(dfa.ClassCount) + dfa.ClassOf[byte]];
  };
  for (;;) {
    std::size_t s = cur_;
    if (s == e) {
      t = {end_, line_, ColumnAt(s), s, 0};
      return true;
    }
    const std::size_t begin = s;
    std::size_t mark = s;
    std::int32_t rule = -1;
    const std::size_t stop = e - s > kLookRoom ? s + kLookRoom : e;
    // The automaton, as the generated states run it: a state first stays where it is on its own
    // bytes, notes a match, then moves on or stops. `direct` tells a stop in an accepting state
    // past the end of the input window's checks (the generated code jumps to the rule at once).
    bool direct = false;
    for (std::int32_t state = dfa.StateCount() > 0 ? dfa.Start : -1; state >= 0;) {
      while (s < stop && next(state, static_cast<unsigned char>(input_[s])) == state) ++s;
      const std::int32_t accept = dfa.Accept[static_cast<std::size_t>(state)];
      if (accept >= 0) {
        rule = accept;
        mark = s;
      }
      if (!leads_[static_cast<std::size_t>(state)]) {
        direct = accept >= 0;
        break;
      }
      if (s == stop) break;
      const std::int32_t to = next(state, static_cast<unsigned char>(input_[s]));
      if (to < 0 || to == state) {
        direct = accept >= 0;
        break;
      }
      ++s;
      state = to;
    }
    const auto ruleAt = [this](std::int32_t r) -> const regex::LexRule* {
      return r >= 0 && static_cast<std::size_t>(r) < lexicon_.Rules.size() ? &lexicon_.Rules[static_cast<std::size_t>(r)]
                                                                            : nullptr;
    };
    t.Line = line_;
    t.Column = ColumnAt(begin);
    if (!direct) {
      const regex::LexRule* matched = ruleAt(rule);
      if (s == stop && stop != e && (matched == nullptr || matched->Action != regex::RuleAction::Skip)) {
        skipTo_ = s;
        return Fail(failure, "TOO_LONG", t.Line, t.Column, "token too long");
      }
      if (rule < 0) {
        if (s == e && s > begin)
          return Fail(failure, "UNTERMINATED", t.Line, t.Column, "token not closed at the end of the input");
        if (s > begin) return BadByte(begin, s, failure);
        skipTo_ = begin + 1;
        return Fail(failure, "BAD_CHAR", t.Line, t.Column,
                    Shown(static_cast<unsigned char>(input_[begin]), false) + " begins no terminal");
      }
    }
    const regex::LexRule* matched = ruleAt(rule);
    const bool written = matched != nullptr && (static_cast<std::size_t>(rule) >= lexicon_.Reports.size() ||
                                                lexicon_.Reports[static_cast<std::size_t>(rule)].Matched);
    if (!written || matched->Action == regex::RuleAction::Word) {
      skipTo_ = written ? mark : begin + 1;
      return Fail(failure, "BAD_CHAR", t.Line, t.Column,
                  Shown(static_cast<unsigned char>(input_[begin]), false) + " begins no terminal");
    }
    switch (matched->Action) {
      case regex::RuleAction::Skip:
        if (matched->Lines) CountLines(begin, mark);
        cur_ = mark;
        continue;
      case regex::RuleAction::BlockComment:
        if (!SkipComment(begin, mark, failure)) return false;
        continue;
      default:
        break;
    }
    if (mark - begin > static_cast<std::size_t>(kEmbeddedMaxToken)) {
      skipTo_ = mark;
      return Fail(failure, "TOO_LONG", t.Line, t.Column, "token too long");
    }
    t.Kind = matched->Term;
    t.Offset = begin + matched->Trim;
    t.Length = mark - begin - 2 * matched->Trim;
    if (matched->Lines) CountLines(begin, mark);
    cur_ = mark;
    return true;
  }
}

}  // namespace parvolen::inspect
