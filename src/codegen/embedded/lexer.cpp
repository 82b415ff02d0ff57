#include "codegen/embedded/lexer.h"

#include <string>
#include <vector>

#include "base/text.h"
#include "codegen/shared/framing.h"

// Note [one automaton]: every keyword, symbol, token pattern and skip pattern is one rule of one
// minimal deterministic automaton (regex/lexicon.h gives the rules in priority order). Scan runs
// it from the first unread byte and remembers the last accepting state passed (the rule and the
// end of its match); when the automaton stops, the longest match wins. The states are written as
// code: a label per state, a tight loop for the bytes that keep a state where it is (identifier
// bodies, white space, string bodies), then a switch over the byte classes of the automaton.
//
// Note [token window]: before a terminal the lexer keeps LOOK_ROOM bytes of unread input in memory
// (more than that in a stream, or the rest of the input), and the automaton looks at most
// LOOK_ROOM bytes ahead, in a stream and in a buffer alike, so that both give the same terminals. A match that would run past the
// window is too long, except white space or a comment that was accepted on the way: it is skipped
// up to that point and the scan goes on from there, so long runs of skipped text cost no memory.
// A terminal's text is a slice of the input; Fill copies the slices of the terminals still held
// before it moves the unread rest of a stream's block (see KeepHeld).

namespace parvolen {
namespace {

// How the automaton's states are written.
class StateWriter {
 public:
  StateWriter(const regex::Lexicon& lexicon, CodeWriter& out) : dfa_(lexicon.Automaton), out_(out) {}

  // The byte classes and the loop sets of the states that keep themselves on some bytes.
  void WriteTables() {
    out_.Put("/* The byte classes of the automaton. */\n");
    out_.Put("static const unsigned char ByteClass[256] = {\n");
    for (int row = 0; row < 256; row += 16) {
      out_.Put("\t");
      for (int c = row; c < row + 16; ++c)
        out_.Put(c + 1 < 256 ? "%d," : "%d", std::to_string(dfa_.ClassOf[static_cast<std::size_t>(c)]));
      out_.Put("\n");
    }
    out_.Put("};\n\n");
    loopIndex_.assign(static_cast<std::size_t>(dfa_.StateCount()), -1);
    std::vector<std::vector<bool>> sets;
    for (std::int32_t s = 0; s < dfa_.StateCount(); ++s) {
      std::vector<bool> set(256, false);
      bool any = false;
      for (int c = 0; c < 256; ++c)
        if (Next(s, c) == s) set[static_cast<std::size_t>(c)] = any = true;
      if (!any) continue;
      loopIndex_[static_cast<std::size_t>(s)] = static_cast<int>(sets.size());
      sets.push_back(std::move(set));
    }
    if (sets.empty()) return;
    out_.Put("/* The bytes on which a state stays where it is: bit i%32 of table i/32 for loop i. */\n");
    for (std::size_t table = 0; table * 32 < sets.size(); ++table) {
      out_.Put("static const unsigned long Loop%d[256] = {\n", std::to_string(table));
      for (int row = 0; row < 256; row += 8) {
        out_.Put("\t");
        for (int c = row; c < row + 8; ++c) {
          unsigned long bits = 0;
          for (std::size_t i = table * 32; i < sets.size() && i < table * 32 + 32; ++i)
            if (sets[i][static_cast<std::size_t>(c)]) bits |= 1ul << (i % 32);
          out_.Put(c + 1 < 256 ? "0x%sul," : "0x%sul", Hex(bits));
        }
        out_.Put("\n");
      }
      out_.Put("};\n");
    }
    out_.Put("\n");
  }

  // The states as labels; each ends at Done with s where the automaton stopped.
  void WriteStates() {
    out_.Put("\t\tgoto\tS%d;\n", std::to_string(dfa_.Start));
    for (std::int32_t s = 0; s < dfa_.StateCount(); ++s) WriteState(s);
  }

 private:
  std::int32_t Next(std::int32_t state, int byte) const {
    const int cls = dfa_.ClassOf[static_cast<std::size_t>(byte)];
    return dfa_.Next[static_cast<std::size_t>(state) * static_cast<std::size_t>(dfa_.ClassCount) +
                     static_cast<std::size_t>(cls)];
  }

  static std::string Hex(unsigned long v) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
      text.insert(text.begin(), digits[v & 15]);
      v >>= 4;
    } while (v != 0);
    return text;
  }

  void WriteState(std::int32_t s) {
    const std::string n = std::to_string(s);
    const std::int32_t accept = dfa_.Accept[static_cast<std::size_t>(s)];
    out_.Put("S%d:\n", n);
    const int loop = loopIndex_[static_cast<std::size_t>(s)];
    if (loop >= 0) {
      out_.Put("\t\twhile  ( s < stop && ( Loop%d[(unsigned char)*s] & 0x%sul ) )\n\t\t\ts++;\n",
               {std::to_string(loop / 32), Hex(1ul << (loop % 32))});
    }
    if (accept >= 0) out_.Put("\t\trule = %d;\n\t\tmark = s;\n", std::to_string(accept));
    // The classes that lead elsewhere, grouped by the state they lead to.
    std::vector<std::pair<std::int32_t, std::vector<int>>> targets;
    for (int cls = 0; cls < dfa_.ClassCount; ++cls) {
      const std::int32_t to = dfa_.Next[static_cast<std::size_t>(s) * static_cast<std::size_t>(dfa_.ClassCount) +
                                        static_cast<std::size_t>(cls)];
      if (to < 0 || to == s) continue;
      auto found = targets.begin();
      while (found != targets.end() && found->first != to) ++found;
      if (found == targets.end()) {
        targets.emplace_back(to, std::vector<int>{cls});
      } else {
        found->second.push_back(cls);
      }
    }
    // Where the automaton dies: in an accepting state the match ends here, with a known rule.
    const std::string dead = accept >= 0 ? "R" + std::to_string(accept) : "Done";
    if (targets.empty()) {
      out_.Put("\t\tgoto\t%s;\n", dead);
      return;
    }
    out_.Put("\t\tif  ( s == stop )\n\t\t\tgoto\tDone;\n");
    out_.Put("\t\tswitch  ( ByteClass[(unsigned char)*s] ) {\n");
    for (const auto& [to, classes] : targets) {
      for (int cls : classes) out_.Put("\t\t\tcase %d:\n", std::to_string(cls));
      out_.Put("\t\t\t\ts++;\n\t\t\t\tgoto\tS%d;\n", std::to_string(to));
    }
    out_.Put("\t\t\tdefault:\n\t\t\t\tgoto\t%s;\n\t\t}\n", dead);
  }

  const regex::Dfa& dfa_;
  CodeWriter& out_;
  std::vector<int> loopIndex_;
};

// Where the lexer stands: offsets in the input, columns, counting line ends, refilling a
// stream's block, the text of a terminal, and the failures of the lexer.
void WriteInputFunctions(CodeWriter& out, bool blockComment) {
  out.Put("/* The offset in the input of a place in memory. */\n");
  out.Put("static size_t Offset(const Parser *p, const char *s) {\n");
  out.Put("\treturn\tp->offset + (size_t)( s - p->base );\n}\n\n");
  out.Put("static int Column(const Parser *p, const char *s) {\n");
  out.Put("\treturn\t(int)( Offset(p, s) - p->lineStart ) + 1;\n}\n\n");
  out.Put("/* Counts the line ends of text that the lexer passes. */\n");
  out.Put("static void CountLines(Parser *p, const char *s, const char *e) {\n");
  out.Put("\tfor  ( ; s < e; s++ )\n");
  out.Put("\t\tif  ( *s == '\\n' ) {\n\t\t\tp->line++;\n\t\t\tp->lineStart = Offset(p, s) + 1;\n\t\t}\n}\n\n");

  out.Put("/* Gives a terminal's text memory of its own, ending with a NUL: NULL when out of memory. */\n");
  out.Put("static const char *OwnText(Token *t) {\n");
  out.Put("\tif  ( t->text != t->own ) {\n");
  out.Put("\t\tif  ( t->length >= t->room ) {\n");
  out.Put("\t\t\tsize_t\troom = t->length < 64 ? 64 : 2 * t->length;\n");
  out.Put("\t\t\tchar\t*own = (char *)realloc(t->own, room);\n\n");
  out.Put("\t\t\tif  ( own == NULL )\n\t\t\t\treturn\tNULL;\n");
  out.Put("\t\t\tt->own = own;\n\t\t\tt->room = room;\n\t\t}\n");
  out.Put("\t\tif  ( t->length > 0 )\n\t\t\tmemmove(t->own, t->text, t->length);\n");
  out.Put("\t\tt->own[t->length] = '\\0';\n\t\tt->text = t->own;\n\t}\n");
  out.Put("\treturn\tt->text;\n}\n\n");

  out.Put("/* The slices of the terminals still held lie in the block that Fill is about to move:\n");
  out.Put("   each gets a copy of its own first. */\n");
  out.Put("static int KeepHeld(Parser *p) {\n\tint\ti, ok = 1;\n\n");
  out.Put("\tif  ( p->last->kind >= 0 )\n\t\tok = OwnText(p->last) != NULL;\n");
  out.Put("\tif  ( p->have && ok )\n\t\tok = OwnText(p->tok) != NULL;\n");
  out.Put("\tfor  ( i = 0; i < p->aheadCount && ok; i++ )\n\t\tok = OwnText(p->ahead[i]) != NULL;\n");
  out.Put("\treturn\tok ? OK : Fail(p, NO_MEMORY, p->line, 1, \"no room for a terminal\");\n}\n\n");

  out.Put("/* Keeps a copy of what is read from a stream that cannot seek back, so that a parse that\n");
  out.Put("   recovers can read it again; with no room for it, it keeps none. */\n");
  out.Put("static int CopyRoom(Parser *p, size_t n) {\n");
  out.Put("\tif  ( p->copying && n > p->copyRoom - p->copyLength ) {\n");
  out.Put("\t\tsize_t\troom = p->copyLength + n > 2 * p->copyRoom ? p->copyLength + n : 2 * p->copyRoom;\n");
  out.Put("\t\tchar\t*more = room < p->copyLength ? NULL : (char *)realloc(p->copy, room);\n\n");
  out.Put("\t\tif  ( more == NULL )\n\t\t\tp->copying = 0;\n");
  out.Put("\t\telse {\n\t\t\tp->copy = more;\n\t\t\tp->copyRoom = room;\n\t\t}\n\t}\n");
  out.Put("\treturn\tp->copying;\n}\n\n");
  out.Put("static void Copy(Parser *p, const char *text, size_t n) {\n");
  out.Put("\tif  ( n > 0 && CopyRoom(p, n) ) {\n");
  out.Put("\t\tmemcpy(p->copy + p->copyLength, text, n);\n\t\tp->copyLength += n;\n\t}\n}\n\n");
  out.Put("/* Reads the next block of a stream behind the unread rest, which moves to the front. */\n");
  out.Put("static int Fill(Parser *p) {\n");
  out.Put("\tsize_t\trest = (size_t)( p->lim - p->cur ), got;\n\n");
  out.Put("\tif  ( p->in == NULL || p->atEnd )\n\t\treturn\t0;\n");
  out.Put("\tif  ( p->block == NULL && ( p->block = (char *)malloc(BLOCK_ROOM) ) == NULL )\n");
  out.Put("\t\treturn\tFail(p, NO_MEMORY, p->line, 1, \"no room for the input block\");\n");
  out.Put("\tif  ( KeepHeld(p) != OK )\n\t\treturn\tNO_MEMORY;\n");
  out.Put("\tmemmove(p->block, p->cur, rest);\n");
  out.Put("\tp->offset += (size_t)( p->cur - p->base );\n");
  out.Put("\tp->base = p->cur = p->block;\n");
  out.Put("\tgot = fread(p->block + rest, 1, BLOCK_ROOM - rest, p->in);\n");
  out.Put("\tp->lim = p->block + rest + got;\n");
  out.Put("\tif  ( p->copying )\n\t\tCopy(p, p->block + rest, got);\n");
  out.Put("\tif  ( got < BLOCK_ROOM - rest ) {\n\t\tp->atEnd = 1;\n");
  out.Put("\t\tif  ( ferror(p->in) )\n\t\t\treturn\tFail(p, READ, p->line, Column(p, p->lim), \"read error\");\n\t}\n");
  out.Put("\treturn\t0;\n}\n\n");

  out.Put("/* A byte that begins no terminal, at begin; a recovering parse goes on at skip. */\n");
  out.Put("static int BadChar(Parser *p, const Token *t, const char *begin, const char *skip) {\n");
  out.Put("\tchar\ttext[64];\n\tunsigned char\tc = (unsigned char)*begin;\n\n");
  out.Put("\tp->skipTo = skip;\n");
  out.Put("\tif  ( c >= 32 && c < 127 )\n");
  out.Put("\t\tsprintf(text, \"character '%c' begins no terminal\", c);\n");
  out.Put("\telse\n\t\tsprintf(text, \"byte 0x%02x begins no terminal\", c);\n");
  out.Put("\treturn\tFail(p, BAD_CHAR, t->line, t->column, text);\n}\n\n");

  out.Put("/* A terminal begun at begin that the byte at s cannot continue: the failure is told at s,\n");
  out.Put("   where a recovering parse goes on. */\n");
  out.Put("static int BadByte(Parser *p, Token *t, const char *begin, const char *s) {\n");
  out.Put("\tchar\ttext[96], first[16];\n\tunsigned char\tb = (unsigned char)*begin, c = (unsigned char)*s;\n\n");
  out.Put("\tCountLines(p, begin, s);\n\tp->cur = p->skipTo = s;\n\tt->line = p->line;\n\tt->column = Column(p, s);\n");
  out.Put("\tif  ( b >= 32 && b < 127 )\n\t\tsprintf(first, \"'%c'\", b);\n");
  out.Put("\telse\n\t\tsprintf(first, \"byte 0x%02x\", b);\n");
  out.Put("\tif  ( c >= 32 && c < 127 )\n");
  out.Put("\t\tsprintf(text, \"character '%c' cannot continue a terminal that begins with %s\", c, first);\n");
  out.Put("\telse\n\t\tsprintf(text, \"byte 0x%02x cannot continue a terminal that begins with %s\", c, first);\n");
  out.Put("\treturn\tFail(p, BAD_CHAR, t->line, t->column, text);\n}\n\n");

  out.Put("/* A terminal longer than MAX_TOKEN; a recovering parse goes on at skip. */\n");
  out.Put("static int TooLong(Parser *p, const Token *t, const char *skip) {\n");
  out.Put("\tp->skipTo = skip;\n\treturn\tFail(p, TOO_LONG, t->line, t->column, \"token too long\");\n}\n\n");

  if (blockComment) {
    out.Put("/* True when the text begins at s, before e. */\n");
    out.Put("static int StartsWith(const char *s, const char *e, const char *text, size_t n) {\n");
    out.Put("\treturn\t(size_t)( e - s ) >= n && memcmp(s, text, n) == 0;\n}\n\n");
  }
}

// The rest of a block comment after its opening text, at s: up to its closing text (nested when
// NestedComments is set), refilling the window on the way; an unclosed one ends the parse.
void WriteBlockComment(const Language& lang, CodeWriter& out) {
  std::string_view open, close;
  if (!SplitPair(lang.BlockComment.View(), open, close)) return;
  const std::string o = CStringBody(open), on = std::to_string(open.size());
  const std::string c = CStringBody(close), cn = std::to_string(close.size());
  const bool nested = lang.NestedComments != 0;
  out.Put("/* The rest of a block comment that opens at begin; s is after its opening text. */\n");
  out.Put("static int SkipComment(Parser *p, const char *begin, const char *s) {\n");
  out.Put("\tconst char\t*e = p->lim;\n");
  out.Put("\tint\tstatus, line = p->line, column = Column(p, begin)%s;\n\n", nested ? ", nest = 1" : "");
  out.Put("\tfor  ( ;; ) {\n");
  out.Put("\t\tif  ( (size_t)( e - s ) < 64 && !p->atEnd ) {\n");
  out.Put("\t\t\tp->cur = s;\n");
  out.Put("\t\t\tif  ( ( status = Fill(p) ) != OK )\n\t\t\t\treturn\tstatus;\n");
  out.Put("\t\t\ts = p->cur;\n\t\t\te = p->lim;\n\t\t}\n");
  out.Put("\t\tif  ( s == e )\n");
  out.Put("\t\t\treturn\tFail(p, UNTERMINATED, line, column, \"comment not closed\");\n");
  out.Put("\t\tif  ( StartsWith(s, e, \"%s\", %s) ) {\n", {c, cn});
  out.Put("\t\t\ts += %s;\n", cn);
  out.Put(nested ? "\t\t\tif  ( --nest == 0 )\n\t\t\t\tbreak;\n" : "\t\t\tbreak;\n");
  if (nested) {
    out.Put("\t\t} else if  ( StartsWith(s, e, \"%s\", %s) ) {\n", {o, on});
    out.Put("\t\t\ts += %s;\n\t\t\tnest++;\n", on);
  }
  out.Put("\t\t} else {\n");
  out.Put("\t\t\tif  ( *s == '\\n' ) {\n\t\t\t\tp->line++;\n");
  out.Put("\t\t\t\tp->lineStart = Offset(p, s) + 1;\n\t\t\t}\n");
  out.Put("\t\t\ts++;\n\t\t}\n\t}\n");
  out.Put("\tp->cur = s;\n\treturn\tOK;\n}\n\n");
}

// What Scan does with the match of each rule: skip it, or make it the terminal.
void WriteActions(const EmbeddedPlan& x, const regex::Lexicon& lexicon, CodeWriter& out) {
  std::vector<std::size_t> rules;  // the rules that some state accepts
  for (std::size_t r = 0; r < lexicon.Rules.size(); ++r)
    if (r >= lexicon.Reports.size() || lexicon.Reports[r].Matched) rules.push_back(r);
  out.Put("\t\tswitch  ( rule ) {\n");
  for (std::size_t r : rules) out.Put("\t\t\tcase %d:\n\t\t\t\tgoto\tR%d;\n", {std::to_string(r), std::to_string(r)});
  out.Put("\t\t}\n");
  out.Put("\t\treturn\tBadChar(p, t, begin, begin + 1);\n");
  for (std::size_t r : rules) {
    const regex::LexRule& rule = lexicon.Rules[r];
    out.Put("R%d:\t/* %s */\n", {std::to_string(r), CommentText(rule.What)});
    switch (rule.Action) {
      case regex::RuleAction::Skip:
        if (rule.Lines) out.Put("\t\tCountLines(p, begin, mark);\n");
        out.Put("\t\tp->cur = mark;\n\t\tcontinue;\n");
        break;
      case regex::RuleAction::BlockComment:
        out.Put("\t\tif  ( ( status = SkipComment(p, begin, mark) ) != OK )\n\t\t\treturn\tstatus;\n");
        out.Put("\t\tcontinue;\n");
        break;
      case regex::RuleAction::Word:
        out.Put("\t\tt->line = p->line;\n\t\tt->column = Column(p, begin);\n");
        out.Put("\t\treturn\tBadChar(p, t, begin, mark);\n");
        break;
      case regex::RuleAction::Token: {
        const std::string trim = std::to_string(rule.Trim);
        out.Put("\t\tt->line = p->line;\n\t\tt->column = Column(p, begin);\n");
        out.Put("\t\tif  ( (size_t)( mark - begin ) > MAX_TOKEN )\n");
        out.Put("\t\t\treturn\tTooLong(p, t, mark);\n");
        out.Put("\t\tt->kind = %s;\n", x.TermConst(rule.Term));
        if (rule.Trim != 0) {
          out.Put("\t\tt->text = begin + %s;\n\t\tt->length = (size_t)( mark - begin ) - 2 * %s;\n", {trim, trim});
        } else {
          out.Put("\t\tt->text = begin;\n\t\tt->length = (size_t)( mark - begin );\n");
        }
        if (rule.Lines) out.Put("\t\tCountLines(p, begin, mark);\n");
        out.Put("\t\tp->cur = mark;\n\t\treturn\tOK;\n");
        break;
      }
    }
  }
}

}  // namespace

std::string CommentText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 32 || c >= 127) {
      out += '?';
    } else if ((text[i] == '*' && i + 1 < text.size() && text[i + 1] == '/') ||
               (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '*')) {
      out += text[i];
      out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

Status WriteEmbeddedLexer(const EmbeddedPlan& x, const regex::Lexicon& lexicon, CodeWriter& out) {
  const Language& lang = x.lang;
  std::string_view open, close;
  const bool blockComment = SplitPair(lang.BlockComment.View(), open, close);
  StateWriter states(lexicon, out);
  states.WriteTables();
  WriteInputFunctions(out, blockComment);
  if (blockComment) WriteBlockComment(lang, out);

  out.Put("/* The rules that skip text (white space, comments), which may run past the window. */\n");
  out.Put("static const unsigned char SkipRule[] = {");
  for (std::size_t r = 0; r < lexicon.Rules.size(); ++r)
    out.Put(r == 0 ? "%d" : ",%d", lexicon.Rules[r].Action == regex::RuleAction::Skip ? "1" : "0");
  out.Put("};\n\n");

  out.Put("/* Scans the coming terminal into t: the longest match of the automaton (notes in the\n");
  out.Put("   generator: one automaton, token window). */\n");
  out.Put("static int Scan(Parser *p, Token *t) {\n");
  out.Put("\tconst char\t*s, *e, *begin, *mark, *stop;\n\tint\tstatus, rule;\n\n");
  out.Put("\tfor  ( ;; ) {\n");
  out.Put("\t\ts = p->cur;\n\t\te = p->lim;\n");
  // Refilled until more than LOOK_ROOM bytes are in memory or the end is known: with exactly
  // LOOK_ROOM left, the stream might end right there (as a buffer would), and a match that runs
  // to the window's end must not be taken for too long then (note [token window]).
  out.Put("\t\tif  ( (size_t)( e - s ) <= LOOK_ROOM && !p->atEnd ) {\n");
  out.Put("\t\t\tif  ( ( status = Fill(p) ) != OK )\n\t\t\t\treturn\tstatus;\n");
  out.Put("\t\t\tcontinue;\n\t\t}\n");
  out.Put("\t\tif  ( s == e ) {\n\t\t\tt->line = p->line;\n\t\t\tt->column = Column(p, s);\n\t\t\tt->kind = %s;\n\t\t\tt->text = s;\n\t\t\tt->length = 0;\n", x.EndConst());
  out.Put("\t\t\treturn\tOK;\n\t\t}\n");
  out.Put("\t\tbegin = mark = s;\n\t\trule = -1;\n");
  out.Put("\t\tstop = (size_t)( e - s ) > LOOK_ROOM ? s + LOOK_ROOM : e;\n");
  states.WriteStates();
  out.Put("Done:\t/* the automaton stopped past the end of the match, or at the window's end */\n");
  out.Put("\t\tt->line = p->line;\n\t\tt->column = Column(p, begin);\n");
  out.Put("\t\tif  ( s == stop && ( stop != e || !p->atEnd ) && ( rule < 0 || !SkipRule[rule] ) )\n");
  out.Put("\t\t\treturn\tTooLong(p, t, s);\n");
  out.Put("\t\tif  ( rule < 0 ) {\n");
  out.Put("\t\t\tif  ( s == e && s > begin )\n");
  out.Put("\t\t\t\treturn\tFail(p, UNTERMINATED, t->line, t->column, \"token not closed at the end of the input\");\n");
  out.Put("\t\t\tif  ( s > begin )\n\t\t\t\treturn\tBadByte(p, t, begin, s);\n");
  out.Put("\t\t\treturn\tBadChar(p, t, begin, begin + 1);\n\t\t}\n");
  WriteActions(x, lexicon, out);
  out.Put("\t}\n}\n\n");
  return stOk;
}

}  // namespace parvolen
