#include "codegen/embedded/lexer.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/stack_room.h"
#include "base/text.h"
#include "codegen/shared/framing.h"

namespace parvolen {
namespace {

// Bits of the character classes of the generated lexer.
constexpr int kSpace = 1;
constexpr int kDigit = 2;
constexpr int kLetter = 4;
constexpr int kIdChar = 8;

// The class bits of every byte: white space as isspace knows it in the C locale, ASCII digits
// and letters, and the identifier characters (letters, digits and IdChars).
std::vector<int> CharClasses(const Language& lang) {
  std::vector<int> classes(256, 0);
  for (int c : {' ', '\t', '\n', '\v', '\f', '\r'}) classes[c] |= kSpace;
  for (int c = '0'; c <= '9'; ++c) classes[c] |= kDigit | kIdChar;
  for (int c = 'A'; c <= 'Z'; ++c) classes[c] |= kLetter | kIdChar;
  for (int c = 'a'; c <= 'z'; ++c) classes[c] |= kLetter | kIdChar;
  for (char c : lang.IdChars.View()) classes[static_cast<unsigned char>(c)] |= kIdChar;
  return classes;
}

// A case label for a byte: the character constant where it is plain, else its number.
std::string ByteLabel(unsigned char c) {
  if (c == '\'' || c == '\\') return std::string("'\\") + static_cast<char>(c) + "'";
  if (c >= 32 && c < 127) return std::string("'") + static_cast<char>(c) + "'";
  return std::to_string(c);
}

void WriteCharClasses(const EmbeddedPlan& x, CodeWriter& out) {
  out.Put("/* Character classes: white space, digits, letters, identifier characters. */\n");
  out.Put("enum { C_SPACE = 1, C_DIGIT = 2, C_LETTER = 4, C_ID = 8 };\n\n");
  out.Put("static const unsigned char CharClass[256] = {\n");
  const std::vector<int> classes = CharClasses(x.lang);
  for (int row = 0; row < 256; row += 16) {
    out.Put("\t");
    for (int c = row; c < row + 16; ++c) out.Put(c + 1 < 256 ? "%d," : "%d", std::to_string(classes[c]));
    out.Put("\n");
  }
  out.Put("};\n\n");
}

// Where the lexer stands: offsets in the input, columns, refilling a stream's block, keeping a
// terminal's text, and the failures of the lexer.
void WriteInputFunctions(CodeWriter& out, bool constants, bool comments) {
  out.Put("/* The offset in the input of a place in memory. */\n");
  out.Put("static size_t Offset(const Parser *p, const char *s) {\n");
  out.Put("\treturn\tp->offset + (size_t)( s - p->base );\n}\n\n");
  out.Put("static int Column(const Parser *p, const char *s) {\n");
  out.Put("\treturn\t(int)( Offset(p, s) - p->lineStart ) + 1;\n}\n\n");
  if (constants) {
    out.Put("/* Counts the line ends of a constant that spans lines. */\n");
    out.Put("static void CountLines(Parser *p, const char *s, const char *e) {\n");
    out.Put("\tfor  ( ; s < e; s++ )\n");
    out.Put("\t\tif  ( *s == '\\n' ) {\n\t\t\tp->line++;\n\t\t\tp->lineStart = Offset(p, s) + 1;\n\t\t}\n}\n\n");
  }

  out.Put("/* Reads the next block of a stream behind the unread rest, which moves to the front. */\n");
  out.Put("static int Fill(Parser *p) {\n");
  out.Put("\tsize_t\trest = (size_t)( p->lim - p->cur ), got;\n\n");
  out.Put("\tif  ( p->in == NULL || p->atEnd )\n\t\treturn\t0;\n");
  out.Put("\tif  ( p->block == NULL && ( p->block = (char *)malloc(BLOCK_ROOM) ) == NULL )\n");
  out.Put("\t\treturn\tFail(p, NO_MEMORY, p->line, 1, \"no room for the input block\");\n");
  out.Put("\tmemmove(p->block, p->cur, rest);\n");
  out.Put("\tp->offset += (size_t)( p->cur - p->base );\n");
  out.Put("\tp->base = p->cur = p->block;\n");
  out.Put("\tgot = fread(p->block + rest, 1, BLOCK_ROOM - rest, p->in);\n");
  out.Put("\tp->lim = p->block + rest + got;\n");
  out.Put("\tif  ( got < BLOCK_ROOM - rest ) {\n\t\tp->atEnd = 1;\n");
  out.Put("\t\tif  ( ferror(p->in) )\n\t\t\treturn\tFail(p, READ, p->line, Column(p, p->lim), \"read error\");\n\t}\n");
  out.Put("\treturn\t0;\n}\n\n");

  out.Put("/* Keeps the text of a terminal with the terminal. */\n");
  out.Put("static int Keep(Parser *p, Token *t, const char *s, size_t n) {\n");
  out.Put("\tif  ( n >= t->room ) {\n");
  out.Put("\t\tsize_t\troom = n < 64 ? 64 : 2 * n;\n");
  out.Put("\t\tchar\t*text = (char *)realloc(t->text, room);\n\n");
  out.Put("\t\tif  ( text == NULL )\n");
  out.Put("\t\t\treturn\tFail(p, NO_MEMORY, t->line, t->column, \"no room for a terminal\");\n");
  out.Put("\t\tt->text = text;\n\t\tt->room = room;\n\t}\n");
  out.Put("\tif  ( n > 0 )\n\t\tmemcpy(t->text, s, n);\n");
  out.Put("\tt->text[n] = '\\0';\n\tt->length = n;\n\treturn\t0;\n}\n\n");

  out.Put("/* A byte that begins no terminal. */\n");
  out.Put("static int BadChar(Parser *p, const Token *t, unsigned char c) {\n");
  out.Put("\tchar\ttext[64];\n\n");
  out.Put("\tif  ( c >= 32 && c < 127 )\n");
  out.Put("\t\tsprintf(text, \"character '%c' begins no terminal\", c);\n");
  out.Put("\telse\n\t\tsprintf(text, \"byte 0x%02x begins no terminal\", c);\n");
  out.Put("\treturn\tFail(p, BAD_CHAR, t->line, t->column, text);\n}\n\n");

  if (comments) {
    out.Put("/* True when the text begins at s, before e. */\n");
    out.Put("static int StartsWith(const char *s, const char *e, const char *text, size_t n) {\n");
    out.Put("\treturn\t(size_t)( e - s ) >= n && memcmp(s, text, n) == 0;\n}\n\n");
  }
}

// The keyword lookup: by length, then by the first letter, then the rest compared at once; a
// word that spells no keyword is an identifier (or, without identifiers, no terminal: -1).
Status WriteKeywords(const EmbeddedPlan& x, CodeWriter& out) {
  const Language& lang = x.lang;
  const bool fold = lang.CaseSensitive == 0;
  // length -> first byte -> shapes, in definition order (the first of equal shapes wins).
  std::map<std::size_t, std::map<unsigned char, std::vector<std::pair<std::string, std::int32_t>>>> groups;
  for (std::int32_t k = 1; k <= lang.LastKeyword; ++k) {
    std::string shape(lang.KwdTab[k].Shape.View());
    if (shape.empty()) continue;
    if (fold) std::transform(shape.begin(), shape.end(), shape.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
      });
    if (lang.KwdTab[k].T < 1 || lang.KwdTab[k].T > lang.LastTerminal) return stBadTerminalCode;
    groups[shape.size()][static_cast<unsigned char>(shape.front())].emplace_back(shape, lang.KwdTab[k].T);
  }
  if (!groups.empty()) {
    if (fold) {
      out.Put("#define\tFOLD(c)\t( (c) >= 'a' && (c) <= 'z' ? (c) - 'a' + 'A' : (c) )\n\n");
      out.Put("/* Compares a word with a keyword in upper case, ignoring the case of the word. */\n");
      out.Put("static int SameWord(const char *w, const char *k, size_t n) {\n");
      out.Put("\tsize_t\ti;\n\n\tfor  ( i = 0; i < n; i++ )\n");
      out.Put("\t\tif  ( FOLD((unsigned char)w[i]) != (unsigned char)k[i] )\n\t\t\treturn\t0;\n");
      out.Put("\treturn\t1;\n}\n\n");
    } else {
      out.Put("#define\tSameWord(w, k, n)\t( memcmp((w), (k), (n)) == 0 )\n\n");
    }
  }
  const std::string word = lang.IdTerm != 0 ? x.TermConst(lang.IdTerm) : "-1";
  out.Put("/* The terminal a word spells: a keyword, else %s. */\n", lang.IdTerm != 0 ? "an identifier" : "none (-1)");
  out.Put("static int Keyword(const char *w, size_t n) {\n");
  if (!groups.empty()) {
    out.Put("\tswitch  ( n ) {\n");
    for (const auto& [length, byFirst] : groups) {
      out.Put("\t\tcase %d:\n", std::to_string(length));
      out.Put(fold ? "\t\t\tswitch  ( FOLD((unsigned char)w[0]) ) {\n" : "\t\t\tswitch  ( (unsigned char)w[0] ) {\n");
      for (const auto& [first, shapes] : byFirst) {
        out.Put("\t\t\t\tcase %s:\n", ByteLabel(first));
        for (const auto& [shape, term] : shapes)
          out.Put("\t\t\t\t\tif  ( SameWord(w + 1, \"%s\", %d) )\n\t\t\t\t\t\treturn\t%s;\n",
                  {CStringBody(shape.substr(1)), std::to_string(length - 1), x.TermConst(term)});
        out.Put("\t\t\t\t\tbreak;\n");
      }
      out.Put("\t\t\t}\n\t\t\tbreak;\n");
    }
    out.Put("\t}\n");
  } else {
    out.Put("\t(void)w;\n\t(void)n;\n");
  }
  out.Put("\treturn\t%s;\n}\n\n", word);
  return stOk;
}

// The nested switch over the symbol tree: the longest symbol that the input spells wins, as a
// path of the tree; leaving the tree falls back to the last symbol passed, or to no terminal.
class SymbolSwitch {
 public:
  SymbolSwitch(const EmbeddedPlan& x, CodeWriter& out) : x_(x), out_(out) {}

  Status Write(std::int32_t list, int depth, std::int32_t fallback, int fallbackLength) {
    if (StackNearlyFull()) return stNoMem;
    const Language& lang = x_.lang;
    const std::string tabs = CodeWriter::Tabs(depth + 2);
    if (depth == 0) {
      out_.Put("%sswitch  ( (unsigned char)*s ) {\n", tabs);
    } else {
      const std::string d = std::to_string(depth);
      out_.Put("%sswitch  ( s + %d < e ? (unsigned char)s[%d] : 256 ) {\n", {tabs, d, d});
    }
    for (std::int32_t n = list; n != 0;) {
      if (n < 1 || n > lang.LastSymbNode) return stBadTerminalCode;
      const SymbNodeRec& sym = lang.SymbTab[n];
      if (sym.Term < 0 || sym.Term > lang.LastTerminal || (sym.Term == 0 && sym.Next == 0)) return stBadTerminalCode;
      out_.Put("%s\tcase %s:\n", {tabs, ByteLabel(static_cast<unsigned char>(sym.Ch))});
      const std::int32_t term = sym.Term != 0 ? sym.Term : fallback;
      const int length = sym.Term != 0 ? depth + 1 : fallbackLength;
      if (sym.Next == 0) {
        WriteFound(tabs + "\t\t", term, length);
      } else {
        if (Status st = Write(sym.Next, depth + 1, term, length); st != stOk) return st;
        out_.Put("%s\t\tbreak;\n", tabs);
      }
      n = sym.Altr;
    }
    out_.Put("%s\tdefault:\n", tabs);
    if (fallback != 0) {
      WriteFound(tabs + "\t\t", fallback, fallbackLength);
    } else {
      out_.Put("%s\t\treturn\tBadChar(p, t, (unsigned char)*s);\n", tabs);
    }
    out_.Put("%s}\n", tabs);
    return stOk;
  }

 private:
  void WriteFound(const std::string& tabs, std::int32_t term, int length) {
    out_.Put("%skind = %s;\n", {tabs, x_.TermConst(term)});
    out_.Put("%ss += %d;\n%sbreak;\n", {tabs, std::to_string(length), tabs});
  }

  const EmbeddedPlan& x_;
  CodeWriter& out_;
};

// Skipping white space and comments; the window of unread input is refilled on the way, so that
// a terminal of up to MAX_TOKEN bytes lies in memory when the skipping ends.
void WriteSkip(const EmbeddedPlan& x, CodeWriter& out) {
  const Language& lang = x.lang;
  out.Put("\tfor  ( ;; ) {\n");
  out.Put("\t\ts = p->cur;\n\t\te = p->lim;\n");
  out.Put("\t\twhile  ( s < e && ( CharClass[(unsigned char)*s] & C_SPACE ) ) {\n");
  out.Put("\t\t\tif  ( *s == '\\n' ) {\n\t\t\t\tp->line++;\n\t\t\t\tp->lineStart = Offset(p, s) + 1;\n\t\t\t}\n");
  out.Put("\t\t\ts++;\n\t\t}\n");
  out.Put("\t\tp->cur = s;\n");
  out.Put("\t\tif  ( (size_t)( e - s ) < LOOK_ROOM && !p->atEnd ) {\n");
  out.Put("\t\t\tif  ( ( status = Fill(p) ) != OK )\n\t\t\t\treturn\tstatus;\n");
  out.Put("\t\t\tcontinue;\n\t\t}\n");
  const std::string_view line = lang.LineComment.View();
  if (!line.empty()) {
    out.Put("\t\tif  ( StartsWith(s, e, \"%s\", %d) ) {\t/* a comment up to the line end */\n",
            {CStringBody(line), std::to_string(line.size())});
    out.Put("\t\t\tfor  ( ;; ) {\n");
    out.Put("\t\t\t\tconst char\t*end = (const char *)memchr(s, '\\n', (size_t)( e - s ));\n\n");
    out.Put("\t\t\t\tif  ( end != NULL || p->atEnd ) {\n");
    out.Put("\t\t\t\t\ts = end != NULL ? end : e;\n\t\t\t\t\tbreak;\n\t\t\t\t}\n");
    out.Put("\t\t\t\tp->cur = e;\n");
    out.Put("\t\t\t\tif  ( ( status = Fill(p) ) != OK )\n\t\t\t\t\treturn\tstatus;\n");
    out.Put("\t\t\t\ts = p->cur;\n\t\t\t\te = p->lim;\n\t\t\t}\n");
    out.Put("\t\t\tp->cur = s;\n\t\t\tcontinue;\n\t\t}\n");
  }
  std::string_view open, close;
  if (SplitPair(lang.BlockComment.View(), open, close)) {
    const std::string o = CStringBody(open), on = std::to_string(open.size());
    const std::string c = CStringBody(close), cn = std::to_string(close.size());
    const bool nested = lang.NestedComments != 0;
    out.Put("\t\tif  ( StartsWith(s, e, \"%s\", %s) ) {\t/* a block comment */\n", {o, on});
    out.Put("\t\t\tint\tline = p->line, column = Column(p, s)%s;\n\n", nested ? ", nest = 1" : "");
    out.Put("\t\t\ts += %s;\n", on);
    out.Put("\t\t\tfor  ( ;; ) {\n");
    out.Put("\t\t\t\tif  ( (size_t)( e - s ) < 64 && !p->atEnd ) {\n");
    out.Put("\t\t\t\t\tp->cur = s;\n");
    out.Put("\t\t\t\t\tif  ( ( status = Fill(p) ) != OK )\n\t\t\t\t\t\treturn\tstatus;\n");
    out.Put("\t\t\t\t\ts = p->cur;\n\t\t\t\t\te = p->lim;\n\t\t\t\t}\n");
    out.Put("\t\t\t\tif  ( s == e )\n");
    out.Put("\t\t\t\t\treturn\tFail(p, UNTERMINATED, line, column, \"comment not closed\");\n");
    out.Put("\t\t\t\tif  ( StartsWith(s, e, \"%s\", %s) ) {\n", {c, cn});
    out.Put("\t\t\t\t\ts += %s;\n", cn);
    out.Put(nested ? "\t\t\t\t\tif  ( --nest == 0 )\n\t\t\t\t\t\tbreak;\n" : "\t\t\t\t\tbreak;\n");
    if (nested) {
      out.Put("\t\t\t\t} else if  ( StartsWith(s, e, \"%s\", %s) ) {\n", {o, on});
      out.Put("\t\t\t\t\ts += %s;\n\t\t\t\t\tnest++;\n", on);
    }
    out.Put("\t\t\t\t} else {\n");
    out.Put("\t\t\t\t\tif  ( *s == '\\n' ) {\n\t\t\t\t\t\tp->line++;\n");
    out.Put("\t\t\t\t\t\tp->lineStart = Offset(p, s) + 1;\n\t\t\t\t\t}\n");
    out.Put("\t\t\t\t\ts++;\n\t\t\t\t}\n\t\t\t}\n");
    out.Put("\t\t\tp->cur = s;\n\t\t\tcontinue;\n\t\t}\n");
  }
  out.Put("\t\tbreak;\n\t}\n");
}

// A constant between delimiters: its text is what lies between them.
void WriteConstant(const EmbeddedPlan& x, CodeWriter& out, char delim, bool shared) {
  const Language& lang = x.lang;
  const std::string d = std::string("'") + MkCharEsc(delim) + "'";
  out.Put("\tif  ( *s == %s ) {\n", d);
  out.Put("\t\tconst char\t*end = (const char *)memchr(s + 1, %s, (size_t)( e - s - 1 ));\n\n", d);
  out.Put("\t\tif  ( end == NULL )\n");
  out.Put("\t\t\treturn\tp->atEnd ? Fail(p, UNTERMINATED, t->line, t->column, \"constant not closed\")\n");
  out.Put("\t\t\t\t: Fail(p, TOO_LONG, t->line, t->column, \"constant too long\");\n");
  out.Put("\t\tif  ( (size_t)( end - s - 1 ) > MAX_TOKEN )\n");
  out.Put("\t\t\treturn\tFail(p, TOO_LONG, t->line, t->column, \"constant too long\");\n");
  out.Put("\t\tCountLines(p, s + 1, end);\n");
  if (shared) {
    out.Put("\t\tt->kind = end - s == 2 ? %s : %s;\n", {x.TermConst(lang.CharTerm), x.TermConst(lang.StrTerm)});
  } else {
    out.Put("\t\tt->kind = %s;\n", x.TermConst(delim == lang.StrDelim && lang.StrTerm != 0 ? lang.StrTerm : lang.CharTerm));
  }
  out.Put("\t\tp->cur = end + 1;\n");
  out.Put("\t\treturn\tKeep(p, t, s + 1, (size_t)( end - s - 1 ));\n\t}\n");
}

}  // namespace

Status WriteEmbeddedLexer(const EmbeddedPlan& x, CodeWriter& out) {
  const Language& lang = x.lang;
  const bool chars = lang.CharTerm != 0 && lang.CharDelim != '\0';
  const bool strings = lang.StrTerm != 0 && lang.StrDelim != '\0';
  const bool shared = chars && strings && lang.CharDelim == lang.StrDelim;
  std::string_view open, close;
  const bool comments = !lang.LineComment.Empty() || SplitPair(lang.BlockComment.View(), open, close);
  WriteCharClasses(x, out);
  WriteInputFunctions(out, chars || strings, comments);
  if (x.Words()) {
    if (Status st = WriteKeywords(x, out); st != stOk) return st;
  }
  out.Put("/* Scans the coming terminal into t. */\n");
  out.Put("static int Scan(Parser *p, Token *t) {\n");
  out.Put("\tconst char\t*s, *e, *begin;\n\tint\tstatus, kind;\n\n");
  WriteSkip(x, out);
  out.Put("\tt->line = p->line;\n\tt->column = Column(p, s);\n");
  out.Put("\tif  ( s == e ) {\n\t\tt->kind = %s;\n\t\treturn\tKeep(p, t, s, 0);\n\t}\n", x.EndConst());
  out.Put("\tbegin = s;\n");
  if (lang.NumTerm != 0) {
    out.Put("\tif  ( CharClass[(unsigned char)*s] & C_DIGIT ) {\n");
    out.Put("\t\twhile  ( ++s < e && ( CharClass[(unsigned char)*s] & C_DIGIT ) )\n\t\t\t;\n");
    out.Put("\t\tkind = %s;\n\t} else", x.TermConst(lang.NumTerm));
  }
  if (x.Words()) {
    out.Put("\tif  ( CharClass[(unsigned char)*s] & C_LETTER ) {\n");
    out.Put("\t\twhile  ( ++s < e && ( CharClass[(unsigned char)*s] & C_ID ) )\n\t\t\t;\n");
    out.Put("\t\tif  ( (size_t)( s - begin ) > MAX_TOKEN )\n");
    out.Put("\t\t\treturn\tFail(p, TOO_LONG, t->line, t->column, \"word too long\");\n");
    out.Put("\t\tkind = Keyword(begin, (size_t)( s - begin ));\n");
    if (lang.IdTerm == 0) out.Put("\t\tif  ( kind < 0 )\n\t\t\treturn\tBadChar(p, t, (unsigned char)*begin);\n");
    out.Put("\t} else");
  }
  out.Put(" {\n");
  if (strings) WriteConstant(x, out, lang.StrDelim, shared);
  if (chars && !shared) WriteConstant(x, out, lang.CharDelim, false);
  if (lang.SymbRoot != 0) {
    SymbolSwitch symbols(x, out);
    if (Status st = symbols.Write(lang.SymbRoot, 0, 0, 0); st != stOk) return st;
  } else {
    out.Put("\t\treturn\tBadChar(p, t, (unsigned char)*s);\n");
  }
  out.Put("\t}\n");
  out.Put("\tif  ( (size_t)( s - begin ) > MAX_TOKEN )\n");
  out.Put("\t\treturn\tFail(p, TOO_LONG, t->line, t->column, \"number too long\");\n");
  out.Put("\tt->kind = kind;\n\tp->cur = s;\n");
  out.Put("\treturn\tKeep(p, t, begin, (size_t)( s - begin ));\n}\n\n");
  return stOk;
}

}  // namespace parvolen
