#include "codegen/classic/lexer_module.h"

#include <algorithm>
#include <string>

#include "base/console.h"
#include "codegen/shared/code_writer.h"
#include "codegen/shared/framing.h"
#include "codegen/classic/lexer_words.h"

namespace parvolen {
namespace {

constexpr std::string_view kDescription = "Lexical analyzer";
// Size of the generated character buffer unless a symbol needs to look further ahead.
constexpr int kInBufSize = 10;

// What the generated lexer is built from: the record, the options and the facts derived from them.
struct LexerPlan {
  const Language& lang;
  const ConsOptions& options;
  bool valued;        // at least one kind of terminal value
  bool multiValued;   // values carry their kind (ValType, VT)
  bool sharedDelim;   // characters and strings share one delimiter
  bool eoi;           // an end-of-input terminal: EOF is delivered as a character
  bool lines;         // count input lines, offer GetLine
  bool keywords;
  bool linearLookup;  // IsKwd scans the table and compares with stricmp
  bool symbols;

  LexerPlan(const Language& l, const ConsOptions& o)
      : lang(l),
        options(o),
        valued(o.ValueKinds > 0),
        multiValued(o.ValueKinds > 1),
        sharedDelim(l.CharDelim == l.StrDelim),
        eoi(l.EoiCode != 0),
        lines(o.TrackLines != 0),
        keywords(l.LastKeyword > 0),
        linearLookup(l.LastKeyword > 0 && l.LastKeyword < kBinaryKeywordLookup),
        symbols(l.LastSymbNode > 0) {}

  // FetchVal is declared for a valued language that keeps its values ...
  [[nodiscard]] bool DeclaresFetchVal() const { return valued && lang.IgnoreValues == 0; }
  // ... and defined only when semantic code is generated and there is some.
  [[nodiscard]] bool DefinesFetchVal() const {
    return DeclaresFetchVal() && options.SemanticCode != 0 && lang.LastSemInst > 0;
  }
  // Values are tagged with their kind where they are recognised.
  [[nodiscard]] bool SetsKind() const { return multiValued && lang.IgnoreValues == 0; }
};

// ---- "_lexer.h" ----

}  // namespace

void ConValueType(const Language& lang, CodeWriter& out, ConsOptions& options) {
  options.PlainIntValue = 0;
  if (options.ValueKinds > 1) {
    out.Put("\ttypedef enum {vtNone");
    if (lang.UseChars != 0) out.Put(", vtChar");
    if (lang.UseStrings != 0) out.Put(", vtStr");
    if (lang.NumTerm > 0) out.Put(", vtInt");
    if (lang.IdTerm > 0) out.Put(", vtId");
    out.Put("} ValType;\n\n");
    out.Put("typedef union {\n");
    if (lang.NumTerm > 0) out.Put("\tint\ti;\n");
    if (lang.UseChars != 0) out.Put("\tchar\tc;\n");
    if (lang.UseStrings != 0) out.Put("\tchar\t*s;\n");
    if (lang.IdTerm > 0) out.Put("\tchar\t*id;\n");
    out.Put("\t} PureVal;\n\n");
    out.Put("typedef struct {\n");
    out.Put("\tPureVal Val;\n");
    out.Put("\tValType WhoAmI;\n\t} Value;\n\n");
  } else if (lang.UseChars != 0) {
    out.Put("typedef char Value;\n\n");
  } else if (lang.UseStrings != 0 || lang.IdTerm > 0) {
    out.Put("typedef char *Value;\n\n");
  } else if (lang.NumTerm > 0) {
    out.Put("typedef int Value;\n\n");
    options.PlainIntValue = 1;
  }
}

namespace {

Status WriteHeader(const LexerPlan& x, std::string_view dir, ConsOptions& options) {
  const Language& lang = x.lang;
  CodeWriter out;
  if (Status st = ConOpenFile(out, dir, "_lexer.h", kDescription); st != stOk) return st;
  out.Put("#ifndef _lexer_h\n\t#define _lexer_h\n\n");
  out.Put("\t#include\t\"%s\"\n\n", "_error.h");
  out.Put("\ttypedef enum {\n\t\tTerm_No_Term,\n");
  for (std::int32_t t = 1; t <= lang.LastTerminal; ++t) {
    out.Put(t < lang.LastTerminal ? "\t\tTerm_%s,\n" : "\t\tTerm_%s\n", Ident(lang.TermTab[t].Name));
  }
  out.Put("\t} TermCode;\n\n");
  ConValueType(x.lang, out, options);
  out.Put("\tErrCode LookTerm(TermCode *T);\n");
  out.Put("\t/* looks one terminal ahead */\n\n");
  out.Put("\tErrCode SkipTerm(void);\n");
  out.Put("\t/* skips one terminal from the queue */\n\n");
  out.Put("\tErrCode MatchTerm(TermCode T);\n");
  out.Put("\t/* matches input with given terminal */\n\n");
  out.Put("\tErrCode LexOpen(char *InName);\n");
  out.Put("\t/* open input file and resets the module */\n\n");
  out.Put("\tErrCode LexClose(void);\n");
  out.Put("\t/* close input file and cleans up the module */\n\n");
  if (x.lines) {
    out.Put("\tint GetLine(void);\n");
    out.Put("\t/* returns current input line number */\n\n");
  }
  if (x.DeclaresFetchVal()) {
    out.Put("\tErrCode FetchVal(Value *V);\n");
    out.Put("\t/* fetches a value of a special terminal */\n\n");
  }
  out.Put("#endif\n");
  return out.Close();
}

// ---- "_lexer.c" ----

void WritePrologue(const LexerPlan& x, CodeWriter& out) {
  out.Put("#include\t\"%s\"\n", "_lexer.h");
  out.Put("#include\t<stdio.h>\n");
  out.Put("#include\t<string.h>\n");
  out.Put("#include\t<ctype.h>\n");
  if (x.lang.NumTerm > 0) out.Put("#include\t<stdlib.h>\n");
  // The linear keyword lookup calls stricmp, which POSIX offers as strcasecmp.
  if (x.linearLookup) out.Put("#ifndef _WIN32\n#include\t<strings.h>\n#define\tstricmp\tstrcasecmp\n#endif\n");
  if (x.valued) {
    out.Put("\n#define\tMaxValLen\t255\n");
    out.Put("\t/* longest possible value */\n");
  }
  // The symbol switch looks ahead into the buffer: it must hold the deepest lookahead.
  out.Put("#define\tInBufSize\t%d\n", std::to_string(std::max(kInBufSize, SymbLookahead(x.lang))));
  out.Put("\t/* hopefully it is large enough */\n");
}

void WriteGlobals(const LexerPlan& x, CodeWriter& out) {
  out.Put("\n\nTermCode\tTermBuf;\nFILE\t\t*f;\n");
  if (x.valued) out.Put("char\t\tValBuf[MaxValLen+1];\t/* value buffer*/\n");
  if (x.lines) out.Put("int\t\tCurrLine;\t\t/* current input line */\n");
  out.Put("int\t\tInBuf[InBufSize+1];\t/* character buffer space - to store also EOF int is needed */\n");
  out.Put("int\t\tInPos;\t\t\t/* first input buffer free position */\n");
  if (x.multiValued) out.Put("ValType\t\tVT;\t\t\t/* terminal value type */\n\n");
}

Status WriteCharReader(const LexerPlan& x, CodeWriter& out) {
  if (Status st = ConFnHeader(out, "CharRead", "read one character from input"); st != stOk) return st;
  out.Put("ErrCode CharRead(int *ch) {\n");
  out.Put("\tint\ti;\n\n");
  out.Put("\tif  ( InPos > 0 ) {\n");
  out.Put("\t\t*ch = InBuf[1];\n");
  out.Put("\t\tfor  ( i = 1; i < InPos; i++ ) \n");
  out.Put("\t\t\tInBuf[i] = InBuf[i+1];\n\t\tInPos--;\n\t} else");
  if (!x.eoi) {
    out.Put(" {\n\t\tif  ( ( *ch = fgetc(f) ) == EOF )\n");
    out.Put("\t\t\treturn\tecRead;\n\t}\n");
  } else {
    out.Put("\n\t\t*ch = fgetc(f);\n");
  }
  out.Put("\treturn\tecOk;\n");
  out.Put("}\n\n");

  if (Status st = ConFnHeader(out, "CharLook", "input lookahead"); st != stOk) return st;
  out.Put("ErrCode CharLook(int *ch, int Depth) {\n");
  out.Put("\tint\ti, j;\n\n");
  if (x.eoi) {
    out.Put("\tfor  ( i = InPos + 1; i <= Depth; i++ )\n");
    out.Put("\t\tInBuf[i] = fgetc(f);\n");
  } else {
    out.Put("\tfor  ( i = InPos + 1; i <= Depth; i++ ) {\n");
    out.Put("\t\tif  ( ( j = fgetc(f) ) == EOF )\n");
    out.Put("\t\t\treturn\tecRead;\n");
    out.Put("\t\tInBuf[i] = j;\n\t}\n");
  }
  out.Put("\tif  ( InPos < Depth )\n\t\tInPos = Depth;\n");
  out.Put("\t*ch = InBuf[Depth];\n\treturn\tecOk;\n");
  out.Put("}\n\n");

  if (Status st = ConFnHeader(out, "CharSkip", "skips one character from input"); st != stOk) return st;
  out.Put("ErrCode CharSkip(void) {\n");
  out.Put("\tint\ti;\n\n");
  out.Put("\tif  ( InPos > 0 ) {\n");
  out.Put("\t\tfor  ( i = 1; i < InPos; i++ ) \n");
  out.Put("\t\t\tInBuf[i] = InBuf[i+1];\n\t\tInPos--;\n\t} else");
  if (!x.eoi) {
    out.Put(" {\n\t\tif  ( ( i = fgetc(f) ) == EOF )\n");
    out.Put("\t\t\treturn\tecRead;\n\t}\n");
  } else {
    out.Put("\n\t\tfgetc(f);\n");
  }
  out.Put("\treturn\tecOk;\n");
  out.Put("}\n\n");
  return stOk;
}

// FetchTerm up to and including the string constants; the symbol switch follows.
Status WriteFetchTermChecks(const LexerPlan& x, CodeWriter& out) {
  const Language& lang = x.lang;
  if (Status st = ConFnHeader(out, "FetchTerm", "finding one terminal in the text"); st != stOk) return st;
  out.Put("\nErrCode FetchTerm(TermCode *T) {\n");
  out.Put("\tint\tc;\t\t/* current character or EOF */\n");
  out.Put("\tErrCode e;\t\t/* status */\n");
  out.Put("\tint\ti;\t\t/* iterator */\n");
  out.Put("\n\tdo {\n\t\t");
  out.Put("if  ( ( e = CharRead(&c) ) != ecOk )\n\t\t\treturn\te;\n");
  if (x.lines) out.Put("\t\tif  ( c == '\\n' )\n\t\t\t++CurrLine;\n");
  out.Put("\t} while ( isspace(c) );\n");

  if (x.eoi) {
    out.Put("\n\t/* check for EOF */\n");
    out.Put("\tif  ( c == EOF ) {\n");
    out.Put("\t\t*T = Term_%s;\n", Ident(lang.EofName));
    out.Put("\t\treturn ecOk;\n\t}\n");
  }

  if (lang.NumTerm != 0) {
    out.Put("\n\t/* check for numbers */\n");
    out.Put("\tif  ( isdigit(c) ) {\n");
    out.Put("\t\t*T = Term_%s;\n", Ident(lang.NumName));
    out.Put("\t\ti = 1;\n");
    out.Put("\t\tValBuf[0] = c;\n");
    out.Put("\t\tif  ( ( e = CharLook(&c,1) ) != ecOk )\n");
    out.Put("\t\t\treturn\te;\n");
    out.Put("\t\twhile  ( isdigit(c) ) {\n");
    out.Put("\t\t\tif  ( i >= MaxValLen )\n");
    out.Put("\t\t\t\treturn\tecValLong;\n");
    out.Put("\t\t\tValBuf[i++] = c;\n");
    out.Put("\t\t\tif  ( ( e = CharSkip() ) != ecOk )\n");
    out.Put("\t\t\t\treturn\te;\n");
    out.Put("\t\t\tif  ( ( e = CharLook(&c,1) ) != ecOk )\n");
    out.Put("\t\t\t\treturn\te;\n\t\t}\n");
    out.Put("\t\tValBuf[i] = '\\0';\n");
    if (x.SetsKind()) out.Put("\t\tVT = vtInt;\n");
    out.Put("\t\treturn\tecOk;\n\t}\n");
  }

  if (lang.IdTerm != 0) {
    out.Put(x.keywords ? "\n\t/* check for identifiers and keywords */\n" : "\n\t/* check for identifiers */\n");
    out.Put("\tif  ( isalpha(c) ) {\n");
    out.Put("\t\ti = 1;\n");
    out.Put(lang.CaseSensitive != 0 ? "\t\tValBuf[0] = c;\n" : "\t\tValBuf[0] = toupper(c);\n");
    out.Put("\t\tif  ( ( e = CharLook(&c,1) ) != ecOk )\n");
    out.Put("\t\t\treturn\te;\n");
    out.Put("\t\twhile  ( isalnum(c) ) {\n");
    out.Put("\t\t\tif  ( i >= MaxValLen )\n");
    out.Put("\t\t\t\treturn\tecValLong;\n");
    out.Put(lang.CaseSensitive != 0 ? "\t\t\tValBuf[i++] = c;\n" : "\t\t\tValBuf[i++] = toupper(c);\n");
    out.Put("\t\t\tif  ( ( e = CharSkip() ) != ecOk )\n");
    out.Put("\t\t\t\treturn\te;\n");
    out.Put("\t\t\tif  ( ( e = CharLook(&c,1) ) != ecOk )\n");
    out.Put("\t\t\t\treturn\te;\n\t\t}\n");
    out.Put("\t\tValBuf[i] = '\\0';\n");
    if (x.keywords) {
      out.Put("\t\treturn\tIsKwd(T);\n\t}\n");
    } else {
      if (x.SetsKind()) out.Put("\t\tVT = vtId;\n");
      out.Put("\t\t*T = Term_%s;\n", Ident(lang.IdName));
      out.Put("\t\treturn\tecOk;\n\t}\n");
    }
  }

  // Constants stop at MaxValLen like numbers and identifiers: ValBuf must not overflow.
  if (lang.UseChars != 0 && (lang.UseStrings == 0 || !x.sharedDelim)) {
    const std::string delim = MkCharEsc(lang.CharDelim);
    out.Put("\t/* check for character constant */\n");
    out.Put("\tif  ( c == '%s' ) {\n", delim);
    out.Put("\t\t*T = Term_%s;\n", Ident(lang.CharName));
    out.Put("\t\ti = 0;\n");
    out.Put("\t\tdo {\n");
    out.Put("\t\t\tif  ( ( e = CharRead(&c) ) != ecOk )\n");
    out.Put("\t\t\t\treturn\te;\n");
    out.Put("\t\t\tif  ( i >= MaxValLen )\n\t\t\t\treturn\tecValLong;\n");
    out.Put("\t\t\tValBuf[i++] = c;\n");
    out.Put("\t\t} while ( c != '%s' );\n", delim);
    out.Put("\t\tValBuf[i-1] = '\\0';\n");
    if (x.SetsKind()) out.Put("\t\tVT = vtChar;\n");
    out.Put("\t\treturn\tecOk;\n\t}\n");
  }

  if (lang.UseStrings != 0) {
    const std::string delim = MkCharEsc(lang.StrDelim);
    out.Put(x.sharedDelim ? "\t/* resolve string and character constants */\n" : "\t/* check for string constant */\n");
    out.Put("\tif  ( c == '%s' ) {\n", delim);
    out.Put("\t\ti = 0;\n");
    out.Put("\t\tdo {\n");
    out.Put("\t\t\tif  ( ( e = CharRead(&c) ) != ecOk )\n");
    out.Put("\t\t\t\treturn\te;\n");
    out.Put("\t\t\tif  ( i >= MaxValLen )\n\t\t\t\treturn\tecValLong;\n");
    out.Put("\t\t\tValBuf[i++] = c;\n");
    out.Put("\t\t} while ( c != '%s' );\n", delim);
    out.Put("\t\tValBuf[--i] = '\\0';\n");
    if (x.sharedDelim) {
      out.Put("\t\tif  ( i == 1 ) {\n");
      out.Put("\t\t\t*T = Term_%s;\n", Ident(lang.CharName));
      if (x.multiValued) out.Put("\t\t\tVT = vtChar;\n");
      out.Put("\t\t} else {\n");
      out.Put("\t\t\t*T = Term_%s;\n", Ident(lang.StrName));
      out.Put(x.multiValued ? "\t\t\tVT = vtStr;\n}\n" : "\t\t}\n");
    } else {
      out.Put("\t\t*T = Term_%s;\n", Ident(lang.StrName));
      if (x.multiValued) out.Put("\t\tVT = vtStr;\n");
    }
    out.Put("\t\treturn\tecOk;\n\t}\n");
  }
  return stOk;
}

Status WriteFetchTerm(const LexerPlan& x, CodeWriter& out) {
  if (Status st = WriteFetchTermChecks(x, out); st != stOk) return st;
  if (x.symbols) {
    if (Status st = ConSymbSwitch(x.lang, out, x.lang.SymbRoot, 1, 0, 0); st != stOk) return st;
  } else {
    out.Put("\treturn\tecBadChar;\n");
  }
  out.Put("\n\treturn\tecOk;\n}\n");
  return stOk;
}

Status WriteInterface(const LexerPlan& x, CodeWriter& out) {
  if (Status st = ConFnHeader(out, "LookTerm", "look one terminal ahead"); st != stOk) return st;
  out.Put("ErrCode LookTerm(TermCode *T) {\n\tErrCode\te;\t/* status */");
  out.Put("\n\n\tif  ( TermBuf == Term_No_Term )\n\t\t");
  out.Put("if  ( ( e = FetchTerm(&TermBuf) ) != ecOk )\n\t\t\t");
  out.Put("return\te;\n\t*T = TermBuf;\n\treturn\tecOk;\n}\n\n");

  out.Put("\n/*******************************/\n");
  out.Put("/* SkipTerm: skip one terminal */");
  out.Put("\n/*******************************/\n");
  out.Put("\nErrCode SkipTerm(void) {\n\tTermCode\tDummy;\n\n\t");
  out.Put("if  ( TermBuf == Term_No_Term )\n\t\t");
  out.Put("return\tFetchTerm(&Dummy);\n\telse {\n\t\t");
  out.Put("TermBuf = Term_No_Term;\n\t\treturn\tecOk;\n\t}\n}\n\n");

  if (Status st = ConFnHeader(out, "MatchTerm", "match given terminal with input"); st != stOk) return st;
  out.Put("ErrCode MatchTerm(TermCode T) {\n\tErrCode\te;\t");
  out.Put("/* status */\n\n\tif  ( TermBuf == Term_No_Term )\n\t\t");
  out.Put("if  ( ( e = FetchTerm(&TermBuf) ) != ecOk )\n\t\t\t");
  out.Put("return\te;\n\te = ( T == TermBuf ? ecOk : ecSyntax );\n");
  out.Put("\tTermBuf = Term_No_Term;\n\treturn\te;\n}\n\n");

  out.Put("\n/****************************/\n");
  out.Put("/* LexOpen: open input file */");
  out.Put("\n/****************************/\n");
  out.Put("\nErrCode LexOpen(char *InName) {\n\tif  ( ( f = fopen(");
  out.Put("InName,\"r\") ) == NULL )\n\t\treturn\tecOpen;\n\t");
  out.Put("InPos = 0;\n\t");
  // Line numbers count from the start of each input, also when a program translates several.
  if (x.lines) out.Put("CurrLine = 0;\n\t");
  out.Put("TermBuf = Term_No_Term;\n\treturn\tecOk;\n}\n");

  out.Put("\n/******************************/\n");
  out.Put("/* LexClose: close input file */");
  out.Put("\n/******************************/\n");
  out.Put("\nErrCode LexClose(void) {\n\tif  ( fclose(f) != 0 )\n\t\t");
  out.Put("return\tecClose;\n\tf = NULL;\n\treturn\tecOk;\n}\n");

  if (x.lines) {
    out.Put("\n/****************************************/\n");
    out.Put("/* GetLine: get # of current input line */");
    out.Put("\n/****************************************/\n");
    out.Put("\nint GetLine(void) {\n\treturn\tCurrLine;\n}\n\n");
  }
  return stOk;
}

void WriteFetchVal(const LexerPlan& x, CodeWriter& out) {
  const Language& lang = x.lang;
  out.Put("\n/*****************************************************/\n");
  out.Put("/* FetchValue: fetches a value of a special terminal */");
  out.Put("\n/*****************************************************/\n");
  out.Put("\nErrCode FetchVal(Value *V) {\n");
  if (x.multiValued) {
    out.Put("\tswitch  ( V->WhoAmI = VT ) {\n");
    if (lang.UseStrings != 0) {
      out.Put("\t\tcase vtStr:\n\t\t\t");
      out.Put("if  ( ( V->Val.s = strdup(ValBuf) ) == NULL )\n");
      out.Put("\t\t\t\treturn\tecNoMem;\n");
      out.Put("\t\t\tbreak;\n");
    }
    if (lang.UseChars != 0) {
      out.Put("\t\tcase vtChar:\n\t\t\t");
      out.Put("V->Val.c = *ValBuf;\n");
      out.Put("\t\t\tbreak;\n");
    }
    if (lang.NumTerm > 0) {
      out.Put("\t\tcase vtInt:\n\t\t\t");
      out.Put("V->Val.i = atoi(ValBuf);\n");
      out.Put("\t\t\tbreak;\n");
    }
    if (lang.IdTerm > 0) {
      out.Put("\t\tcase vtId:\n\t\t\t");
      out.Put("if  ( ( V->Val.id = strdup(ValBuf) ) == NULL )\n");
      out.Put("\t\t\t\treturn\tecNoMem;\n");
      out.Put("\t\t\tbreak;\n");
    }
    out.Put("\t}\n\tVT = vtNone;\n");
  } else if (lang.UseChars != 0) {
    out.Put("\t*V = *ValBuf;\n");
  } else if (lang.UseStrings != 0 || lang.IdTerm > 0) {
    out.Put("\tif  ( ( *V = strdup(ValBuf) ) == NULL )\n\t\treturn\tecNoMem;\n");
  } else {
    out.Put("\t*V = atoi(ValBuf);\n");
  }
  out.Put("\treturn\tecOk;\n}\n");
}

Status WriteSource(const LexerPlan& x, std::string_view dir) {
  CodeWriter out;
  if (Status st = ConOpenFile(out, dir, "_lexer.c", kDescription); st != stOk) return st;
  WritePrologue(x, out);
  if (x.keywords) {
    if (Status st = ConKwdTable(x.lang, out); st != stOk) return st;
  }
  WriteGlobals(x, out);
  if (Status st = WriteCharReader(x, out); st != stOk) return st;
  if (x.keywords) {
    if (Status st = KwdShort(x.lang, out, x.options); st != stOk) return st;
  }
  if (Status st = WriteFetchTerm(x, out); st != stOk) return st;
  if (Status st = WriteInterface(x, out); st != stOk) return st;
  if (x.DefinesFetchVal()) WriteFetchVal(x, out);
  return out.Close();
}

}  // namespace

Status ConsLex(const Language& lang, std::string_view dir, ConsOptions& options) {
  if (dir.data() == nullptr) {
    PrintDiagHeader("ConsLex");
    Print(" Directory\n");
    return stNotAllocated;
  }
  const LexerPlan plan(lang, options);
  if (Status st = WriteHeader(plan, dir, options); st != stOk) return st;
  return WriteSource(plan, dir);
}

}  // namespace parvolen
