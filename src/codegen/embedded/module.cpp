#include "codegen/embedded/module.h"

#include <string>
#include <vector>

#include "codegen/embedded/actions.h"
#include "codegen/embedded/decisions.h"
#include "codegen/embedded/header.h"
#include "codegen/embedded/lexer.h"
#include "codegen/embedded/lexicon_check.h"
#include "codegen/embedded/parser.h"
#include "codegen/embedded/recovery.h"
#include "codegen/shared/framing.h"

namespace parvolen {
namespace {

void WritePrologue(const EmbeddedPlan& x, CodeWriter& out, ConsOptions& options, std::int32_t depth) {
  out.Put("#include \"%s.h\"\n\n#include <stdlib.h>\n#include <string.h>\n\n", x.prefix);
  out.Put("typedef %s_parser Parser;\n\n", x.prefix);
  WriteEmbeddedStatusNames(x, out);
  out.Put("#define\tMAX_TOKEN\t%s_MAX_TOKEN\n", x.upper);
  out.Put("/* A stream is read in blocks. Before each terminal the lexer keeps LOOK_ROOM bytes of\n");
  out.Put("   unread input in memory (unless the input ends first), so that a terminal of up to\n");
  out.Put("   MAX_TOKEN bytes lies in memory as a whole. */\n");
  out.Put("#define\tLOOK_ROOM\t( MAX_TOKEN + 2 )\n#define\tBLOCK_ROOM\t( 65536 + LOOK_ROOM )\n");
  out.Put("/* Room for the terminals after the coming one that the deepest decision looks at. */\n");
  out.Put("#define\tAHEAD\t%d\n\n", std::to_string(depth > 1 ? depth - 1 : 1));
  out.Put("/* A terminal read by the lexer. */\n");
  out.Put("typedef struct {\n\tint\tkind;\t\t/* terminal code */\n");
  out.Put("\tint\tline, column;\t/* where it begins, 1-based */\n");
  out.Put("\tconst char\t*text;\t/* its text: a slice of the input, or own */\n");
  out.Put("\tsize_t\tlength;\n");
  out.Put("\tchar\t*own;\t\t/* memory of its own, once the input moves or a NUL is asked for */\n");
  out.Put("\tsize_t\troom;\n} Token;\n\n");
  out.Put("/* One error of a parse that recovers. */\n");
  out.Put("typedef struct {\n\tint\tline, column;\n\tchar\ttext[256];\n} ErrorRec;\n\n");
  WriteEmbeddedSemanticTypes(x, out, options);
  out.Put("struct %s_parser {\n", x.prefix);
  out.Put("\tconst char\t*cur, *lim;\t/* the unread input in memory */\n");
  out.Put("\tconst char\t*base;\t\t/* where the input in memory begins ... */\n");
  out.Put("\tsize_t\toffset;\t\t\t/* ... and its offset in the input */\n");
  out.Put("\tsize_t\tlineStart;\t\t/* offset where the current line begins */\n");
  out.Put("\tint\tline;\t\t\t/* current line, 1-based */\n");
  out.Put("\tFILE\t*in;\t\t\t/* the stream read, NULL for text in memory */\n");
  out.Put("\tchar\t*block;\t\t\t/* the stream's input in memory */\n");
  out.Put("\tint\tatEnd;\t\t\t/* nothing more to read */\n");
  out.Put("\tToken\t*tok, *last;\t/* the coming terminal (when have is set), the last one matched */\n");
  out.Put("\tint\thave;\n");
  out.Put("\tToken\t*ahead[AHEAD];\t/* the terminals after the coming one that decisions looked at */\n");
  out.Put("\tToken\tslots[AHEAD + 2];\t/* what tok, last and ahead point at: matching moves pointers */\n");
  out.Put("\tint\taheadCount;\n");
  out.Put("\tunsigned long\tshifted;\t/* terminals matched so far */\n");
  out.Put("\tconst short\t*loopExpect[8];\t/* the terminals of the tail loops left ... */\n");
  out.Put("\tint\tloops;\n");
  out.Put("\tunsigned long\tloopAt;\t\t/* ... when this many terminals were matched */\n");
  out.Put("\tint\tdepth, maxDepth;\t/* nesting of the parsing routines */\n");
  out.Put("\tint\terrLine, errColumn;\t/* the last failure */\n");
  out.Put("\tchar\terrText[256];\n");
  out.Put("\tint\tmaxErrors;\t\t/* 0: stop at the first error; n: recover, report up to n */\n");
  out.Put("\tint\terrCount;\t\t/* the errors of the last parse ... */\n");
  out.Put("\tErrorRec\t*errs;\t\t/* ... kept here when recovering (the first one is errLine ... too) */\n");
  out.Put("\tint\terrKept, errRoom;\n");
  out.Put("\tconst char\t*skipTo;\t\t/* where the lexer goes on after the byte it failed at */\n");
  out.Put("\tconst char\t*text;\t\t/* the text parsed in memory ... */\n\tsize_t\ttextLength;\n");
  out.Put("\tlong\tstart;\t\t\t/* ... or where the stream began (-1: unknown), to read again */\n");
  out.Put("\tchar\t*copy;\t\t\t/* ... or a copy of what was read of it, while copying */\n");
  out.Put("\tsize_t\tcopyLength, copyRoom;\n\tint\tcopying;\n");
  out.Put("\tFILE\t*out, *trace;\n\tvoid\t*user;\n");
  WriteEmbeddedSemanticState(x, out, options);
  out.Put("};\n\n");
  out.Put("/* Calls a function and passes its failure on. */\n");
  out.Put("#define\tTRY(call)\tdo { int status_ = (call); if  ( status_ != OK ) return status_; } while ( 0 )\n\n");
  out.Put("/* Records where and why the parse failed; the status. */\n");
  out.Put("static int Fail(Parser *p, int status, int line, int column, const char *text) {\n");
  out.Put("\tp->errLine = line;\n\tp->errColumn = column;\n");
  out.Put("\tsprintf(p->errText, \"%.200s\", text);\n\treturn\tstatus;\n}\n\n");
}

// How terminals are shown, and the message of a failed decision.
void WriteTerminalTexts(const EmbeddedPlan& x, CodeWriter& out) {
  const Language& lang = x.lang;
  const std::vector<std::string> texts = TerminalTexts(lang);
  out.Put("static const char *const TermText[] = {\n");
  for (const std::string& text : texts) out.Put("\t\"%s\",\n", CStringBody(text));
  out.Put("};\n\n");
  out.Put("/* The terminals whose text is a value of their own, shown with it. */\n");
  out.Put("static int Valued(int kind) {\n\treturn\t");
  bool any = false;
  for (std::int32_t t : ValuedTerminals(lang)) {
    out.Put(any ? " || kind == %s" : "kind == %s", x.TermConst(t));
    any = true;
  }
  out.Put(any ? ";\n}\n\n" : "kind < 0;\t/* none has a value */\n}\n\n");
  out.Put("/* Appends to a message, keeping at most room bytes and the NUL. */\n");
  out.Put("static void Append(char *buf, size_t room, size_t *used, const char *text, size_t n) {\n");
  out.Put("\tif  ( *used >= room )\n\t\treturn;\n");
  out.Put("\tif  ( n > room - *used )\n\t\tn = room - *used;\n");
  out.Put("\tmemcpy(buf + *used, text, n);\n\t*used += n;\n\tbuf[*used] = '\\0';\n}\n\n");
  out.Put("/* A terminal's text in a message: control bytes escaped, as \\n or \\xHH. */\n");
  out.Put("static void AppendShown(char *buf, size_t room, size_t *used, const char *text, size_t n) {\n");
  out.Put("\tsize_t\ti;\n\tchar\tescaped[8];\n\n");
  out.Put("\tfor  ( i = 0; i < n; i++ ) {\n");
  out.Put("\t\tunsigned char\tc = (unsigned char)text[i];\n\n");
  out.Put("\t\tif  ( c >= 32 && c != 127 )\n\t\t\tAppend(buf, room, used, text + i, 1);\n");
  out.Put("\t\telse if  ( c == '\\n' )\n\t\t\tAppend(buf, room, used, \"\\\\n\", 2);\n");
  out.Put("\t\telse if  ( c == '\\t' )\n\t\t\tAppend(buf, room, used, \"\\\\t\", 2);\n");
  out.Put("\t\telse {\n\t\t\tsprintf(escaped, \"\\\\x%02x\", c);\n\t\t\tAppend(buf, room, used, escaped, 4);\n\t\t}\n\t}\n}\n\n");
  out.Put("/* A syntax error at the coming terminal: \"expected A, B or C, found D\". A tail loop left\n");
  out.Put("   at this terminal could have taken its own terminals too: they are expected as well. The\n");
  out.Put("   message keeps to MESSAGE_ROOM bytes: a long list of expected terminals ends with \", ...\"\n");
  out.Put("   so that what was found is always told. */\n");
  out.Put("#define\tMESSAGE_ROOM\t200\n\n");
  out.Put("/* The message into buf (256 bytes): the n terminals expected and the one found. */\n");
  out.Put("static void Describe(char *buf, const short *all, int n, int kind, const char *text, size_t textLength) {\n");
  out.Put("\tchar\ttail[128];\n\tsize_t\tused = 0, tailUsed = 0, room, length;\n\tint\ti;\n\tconst char\t*found;\n\n");
  out.Put("\ttail[0] = buf[0] = '\\0';\n");
  out.Put("\tAppend(tail, sizeof tail - 1, &tailUsed, n > 0 ? \", found \" : \"found \", n > 0 ? 8 : 6);\n");
  out.Put("\tfound = TermText[kind];\n");
  out.Put("\tAppend(tail, sizeof tail - 1, &tailUsed, found, strlen(found));\n");
  out.Put("\tif  ( Valued(kind) ) {\n");
  out.Put("\t\tAppend(tail, sizeof tail - 1, &tailUsed, \" '\", 2);\n");
  out.Put("\t\tAppendShown(tail, sizeof tail - 2, &tailUsed, text, textLength < 40 ? textLength : 40);\n");
  out.Put("\t\tAppend(tail, sizeof tail - 1, &tailUsed, \"'\", 1);\n\t}\n");
  out.Put("\troom = MESSAGE_ROOM - tailUsed;\n");
  out.Put("\tif  ( n > 0 )\n\t\tAppend(buf, room, &used, \"expected \", 9);\n");
  out.Put("\tfor  ( i = 0; i < n; i++ ) {\n");
  out.Put("\t\tlength = strlen(TermText[all[i]]);\n");
  out.Put("\t\tif  ( i > 0 && used + 4 + length + ( i < n - 1 ? 5 : 0 ) > room ) {\n");
  out.Put("\t\t\tAppend(buf, room, &used, \", ...\", 5);\n\t\t\tbreak;\n\t\t}\n");
  out.Put("\t\tif  ( i > 0 )\n\t\t\tAppend(buf, room, &used, i == n - 1 ? \" or \" : \", \", i == n - 1 ? 4 : 2);\n");
  out.Put("\t\tAppend(buf, room, &used, TermText[all[i]], length);\n\t}\n");
  out.Put("\tAppend(buf, 255, &used, tail, tailUsed);\n}\n\n");
  out.Put("static int Unexpected(Parser *p, const short *expected, int level) {\n");
  out.Put("\tchar\tbuf[256];\n\tint\ti, j, k, n = 0;\n\tshort\tall[%d];\n\tconst Token\t*t = level > 1 ? p->ahead[level - 2] : p->tok;\n\n",
          std::to_string(lang.LastTerminal + 2));
  out.Put("\tfor  ( k = 0; k <= p->loops; k++ ) {\n");
  out.Put("\t\tconst short\t*list = k < p->loops ? p->loopExpect[k] : expected;\n\n");
  out.Put("\t\tif  ( k < p->loops && ( p->loopAt != p->shifted || level > 1 ) )\n\t\t\tcontinue;\n");
  out.Put("\t\tfor  ( i = 0; list[i] >= 0; i++ ) {\n");
  out.Put("\t\t\tfor  ( j = 0; j < n && all[j] != list[i]; j++ )\n\t\t\t\t;\n");
  out.Put("\t\t\tif  ( j == n )\n\t\t\t\tall[n++] = list[i];\n\t\t}\n\t}\n");
  out.Put("\tDescribe(buf, all, n, t->kind, t->text, t->length);\n");
  out.Put("\treturn\tFail(p, SYNTAX, t->line, t->column, buf);\n}\n\n");
}

// Looking at, matching and taking the coming terminal.
void WriteShift(CodeWriter& out, std::int32_t depth) {
  out.Put("/* The coming terminal becomes the last one matched. */\n");
  out.Put("static void Shift(Parser *p) {\n\tToken\t*t = p->last;\n");
  // With one terminal ahead there is nothing to move up, and no loop for an optimising
  // compiler to find out of bounds.
  if (depth > 2) out.Put("\tint\ti;\n");
  out.Put("\n\tp->last = p->tok;\n");
  if (depth > 1) {
    // The terminals looked at move up; the buffer of the one matched before goes to the end.
    out.Put("\tif  ( p->aheadCount > 0 ) {\n\t\tp->tok = p->ahead[0];\n");
    if (depth > 2) out.Put("\t\tfor  ( i = 1; i < p->aheadCount; i++ )\n\t\t\tp->ahead[i - 1] = p->ahead[i];\n");
    out.Put("\t\tp->ahead[--p->aheadCount] = t;\n\t} else {\n\t\tp->tok = t;\n\t\tp->have = 0;\n\t}\n");
  } else {
    out.Put("\tp->tok = t;\n\tp->have = 0;\n");
  }
  out.Put("\tp->shifted++;\n}\n\n");
}

void WriteMatch(CodeWriter& out) {
  out.Put("static int Match(Parser *p, int kind) {\n");
  out.Put("\tshort\texpected[2];\n\n");
  out.Put("\tTRY(Look(p));\n");
  out.Put("\tif  ( p->tok->kind != kind ) {\n");
  out.Put("\t\texpected[0] = (short)kind;\n\t\texpected[1] = -1;\n\t\treturn\tUnexpected(p, expected, 1);\n\t}\n");
  out.Put("\tShift(p);\n\treturn\tOK;\n}\n\n");
}

void WriteLoopsAndDepth(CodeWriter& out, bool loops) {
  if (loops) {
    out.Put("/* A tail loop was left at the coming terminal: a syntax error there names its terminals. */\n");
    out.Put("static void LeftLoop(Parser *p, const short *terms) {\n");
    out.Put("\tif  ( p->loopAt != p->shifted ) {\n\t\tp->loops = 0;\n\t\tp->loopAt = p->shifted;\n\t}\n");
    out.Put("\tif  ( p->loops < 8 )\n\t\tp->loopExpect[p->loops++] = terms;\n}\n\n");
  }
  out.Put("static int TooDeep(Parser *p) {\n");
  out.Put("\treturn\tFail(p, TOO_DEEP, p->line, Column(p, p->cur), \"nesting too deep\");\n}\n\n");
}

void WriteTokenFunctions(const EmbeddedPlan& x, CodeWriter& out, std::int32_t depth, const RoutineUse& use) {
  out.Put("static int Look(Parser *p) {\n\tint\tstatus;\n\n");
  out.Put("\tif  ( p->have )\n\t\treturn\tOK;\n");
  out.Put("\tif  ( ( status = Scan(p, p->tok) ) != OK )\n\t\treturn\tstatus;\n");
  out.Put("\tp->have = 1;\n\treturn\tOK;\n}\n\n");
  if (use.Shift) WriteShift(out, depth);
  if (depth > 1) {
    out.Put("/* Reads ahead until the terminal at the level (1: the coming one) is known. */\n");
    out.Put("static int Peek(Parser *p, int level) {\n");
    out.Put("\tTRY(Look(p));\n");
    out.Put("\twhile  ( p->aheadCount < level - 1 ) {\n");
    out.Put("\t\tTRY(Scan(p, p->ahead[p->aheadCount]));\n\t\tp->aheadCount++;\n\t}\n");
    out.Put("\treturn\tOK;\n}\n\n");
  }
  if (use.Match) WriteMatch(out);
  WriteLoopsAndDepth(out, use.Loops);
  out.Put("static const short ExpectEnd[] = {%s, -1};\n\n", x.EndConst());
}

// The public functions of NAME.h.
void WriteInterface(const EmbeddedPlan& x, CodeWriter& out, bool machine) {
  const std::string& n = x.prefix;
  const std::string start = Ident(x.lang.NontTab[x.lang.StartNont].Name);
  out.Put("%s_parser *%s_create(void) {\n", {n, n});
  out.Put("\tParser\t*p = (Parser *)calloc(1, sizeof *p);\n\tint\ti;\n\n");
  out.Put("\tif  ( p != NULL ) {\n\t\tp->out = stdout;\n\t\tp->maxDepth = %s_DEFAULT_MAX_DEPTH;\n", x.upper);
  out.Put("\t\tp->tok = &p->slots[0];\n\t\tp->last = &p->slots[1];\n");
  out.Put("\t\tfor  ( i = 0; i < AHEAD; i++ )\n\t\t\tp->ahead[i] = &p->slots[i + 2];\n");
  out.Put("\t\tp->last->kind = -1;\n\t}\n\treturn\tp;\n}\n\n");
  out.Put("void %s_destroy(%s_parser *p) {\n\tint\ti;\n\n", {n, n});
  out.Put("\tif  ( p == NULL )\n\t\treturn;\n");
  if (machine) out.Put("\tSemClear(p);\n");
  out.Put("\tfree(p->block);\n\tfree(p->errs);\n\tfree(p->copy);\n");
  out.Put("\tfor  ( i = 0; i < AHEAD + 2; i++ )\n\t\tfree(p->slots[i].own);\n\tfree(p);\n}\n\n");

  out.Put("/* One parse of the input set up by the caller: the starting symbol, then the end. */\n");
  out.Put("static int Run(Parser *p) {\n\tint\tstatus;\n\n");
  out.Put("\tp->offset = p->lineStart = 0;\n\tp->line = 1;\n\tp->have = 0;\n\tp->aheadCount = 0;\n\tp->depth = 0;\n");
  out.Put("\tp->last->kind = -1;\n\tp->last->length = 0;\n\tp->shifted = 0;\n\tp->loops = 0;\n");
  out.Put("\tp->errLine = p->errColumn = 0;\n\tp->errText[0] = '\\0';\n\tp->errCount = p->errKept = 0;\n");

  if (machine) out.Put("\tSemClear(p);\n");
  out.Put("\tstatus = Nont_%s(p);\n", start);
  out.Put("\tif  ( status == OK && ( status = Look(p) ) == OK && p->tok->kind != %s )\n", x.EndConst());
  out.Put("\t\tstatus = Unexpected(p, ExpectEnd, 1);\n");
  out.Put("\tif  ( p->maxErrors > 0 && ( status == SYNTAX || status == BAD_CHAR || status == TOO_LONG ) )\n");
  out.Put("\t\tstatus = Recover(p, status);\n");
  if (x.HasOutput() || (x.Semantic() && x.HasActions())) {
    // Whatever the buffering, what the parse wrote reaches the stream now or the parse fails.
    out.Put("\tif  ( ( fflush(p->out) != 0 || ferror(p->out) ) && status == OK )\t/* the output is complete */\n");
    out.Put("\t\tstatus = WRITE;\n");
  }
  out.Put("\tif  ( status != OK && p->errLine == 0 ) {\t/* an action's own status */\n");
  out.Put("\t\tp->errLine = p->last->kind >= 0 ? p->last->line : 1;\n");
  out.Put("\t\tp->errColumn = p->last->kind >= 0 ? p->last->column : 1;\n");
  out.Put("\t\tsprintf(p->errText, \"%.200s\", %s_error_message(status));\n\t}\n", n);
  out.Put("\tp->errCount = status == OK ? 0 : p->errKept > 0 ? p->errKept : 1;\n");
  out.Put("\treturn\tstatus;\n}\n\n");

  out.Put("int %s_parse_buffer(%s_parser *p, const char *text, size_t length, const char *name) {\n", {n, n});
  out.Put("\t(void)name;\n");
  out.Put("\tif  ( text == NULL ) {\n\t\ttext = \"\";\n\t\tlength = 0;\n\t}\n");
  out.Put("\tp->in = NULL;\n\tp->base = p->cur = p->text = text;\n\tp->lim = text + length;\n\tp->textLength = length;\n\tp->atEnd = 1;\n");
  out.Put("\treturn\tRun(p);\n}\n\n");

  out.Put("int %s_parse_stream(%s_parser *p, FILE *in, const char *name) {\n\tint\tstatus;\n\n", {n, n});
  out.Put("\t(void)name;\n");
  out.Put("\tp->errLine = p->errColumn = 0;\n\tp->errCount = 1;\t/* until Run counts */\n\tp->errKept = 0;\n");
  out.Put("\tif  ( in == NULL )\n\t\treturn\tFail(p, OPEN, 0, 0, \"no input stream\");\n");
  out.Put("\tif  ( p->block == NULL && ( p->block = (char *)malloc(BLOCK_ROOM) ) == NULL )\n");
  out.Put("\t\treturn\tFail(p, NO_MEMORY, 0, 0, \"no room for the input block\");\n");
  out.Put("\tp->in = in;\n\tp->base = p->cur = p->lim = p->block;\n\tp->atEnd = 0;\n");
  out.Put("\tp->start = p->maxErrors > 0 ? ftell(in) : -1;\n");
  out.Put("\tp->copying = p->maxErrors > 0 && p->start < 0;\n\tp->copyLength = 0;\n");
  out.Put("\tstatus = Run(p);\n\tp->in = NULL;\n\treturn\tstatus;\n}\n\n");

  out.Put("int %s_parse_file(%s_parser *p, const char *path) {\n\tFILE\t*in;\n\tint\tstatus;\n\n", {n, n});
  out.Put("\tif  ( path == NULL || ( in = fopen(path, \"rb\") ) == NULL ) {\n");
  out.Put("\t\tp->errCount = 1;\n\t\tp->errKept = 0;\n");
  out.Put("\t\treturn\tFail(p, OPEN, 0, 0, \"cannot open the input\");\n\t}\n");
  out.Put("\tstatus = %s_parse_stream(p, in, path);\n", n);
  out.Put("\tif  ( fclose(in) != 0 && status == OK ) {\n");
  out.Put("\t\tp->errCount = 1;\n");
  out.Put("\t\tstatus = Fail(p, READ, 0, 0, \"cannot close the input\");\n\t}\n");
  out.Put("\treturn\tstatus;\n}\n\n");

  WriteEmbeddedStatusMessages(x, out);
  out.Put("int %s_error_line(const %s_parser *p) {\n\treturn\tp->errLine;\n}\n\n", {n, n});
  out.Put("int %s_error_column(const %s_parser *p) {\n\treturn\tp->errColumn;\n}\n\n", {n, n});
  out.Put("const char *%s_error_text(const %s_parser *p) {\n\treturn\tp->errText;\n}\n\n", {n, n});
  out.Put("void %s_set_max_errors(%s_parser *p, int n) {\n\tp->maxErrors = n > 0 ? n : 0;\n}\n\n", {n, n});
  out.Put("int %s_error_count(const %s_parser *p) {\n\treturn\tp->errCount;\n}\n\n", {n, n});
  out.Put("/* The i-th error, kept when the parse recovered; else the first one is all there is. */\n");
  out.Put("static const ErrorRec *ErrorAt(const Parser *p, int i) {\n");
  out.Put("\treturn\ti >= 0 && i < p->errKept ? &p->errs[i] : NULL;\n}\n\n");
  out.Put("int %s_error_line_at(const %s_parser *p, int i) {\n", {n, n});
  out.Put("\tif  ( ErrorAt(p, i) != NULL )\n\t\treturn\tp->errs[i].line;\n");
  out.Put("\treturn\ti == 0 && p->errCount > 0 ? p->errLine : 0;\n}\n\n");
  out.Put("int %s_error_column_at(const %s_parser *p, int i) {\n", {n, n});
  out.Put("\tif  ( ErrorAt(p, i) != NULL )\n\t\treturn\tp->errs[i].column;\n");
  out.Put("\treturn\ti == 0 && p->errCount > 0 ? p->errColumn : 0;\n}\n\n");
  out.Put("const char *%s_error_text_at(const %s_parser *p, int i) {\n", {n, n});
  out.Put("\tif  ( ErrorAt(p, i) != NULL )\n\t\treturn\tp->errs[i].text;\n");
  out.Put("\treturn\ti == 0 && p->errCount > 0 ? p->errText : \"\";\n}\n\n");
  out.Put("int %s_token_kind(const %s_parser *p) {\n\treturn\tp->last->kind;\n}\n\n", {n, n});
  out.Put("const char *%s_token_text(const %s_parser *p) {\n", {n, n});
  out.Put("\tconst char\t*text;\n\n");
  out.Put("\t/* The parser was made by %s_create, so its terminal may take memory of its own. */\n", n);
  out.Put("\treturn\tp->last->kind >= 0 && ( text = OwnText(p->last) ) != NULL ? text : \"\";\n}\n\n");
  out.Put("size_t %s_token_length(const %s_parser *p) {\n", {n, n});
  out.Put("\treturn\tp->last->kind >= 0 ? p->last->length : 0;\n}\n\n");
  out.Put("int %s_token_line(const %s_parser *p) {\n", {n, n});
  out.Put("\treturn\tp->last->kind >= 0 ? p->last->line : 0;\n}\n\n");
  out.Put("int %s_token_column(const %s_parser *p) {\n", {n, n});
  out.Put("\treturn\tp->last->kind >= 0 ? p->last->column : 0;\n}\n\n");
  out.Put("const char *%s_terminal_text(int kind) {\n", n);
  out.Put("\treturn\tkind >= 0 && kind < (int)( sizeof TermText / sizeof TermText[0] ) ? TermText[kind] : \"\";\n");
  out.Put("}\n\n");
  out.Put("void %s_set_output(%s_parser *p, FILE *out) {\n\tp->out = out != NULL ? out : stdout;\n}\n\n", {n, n});
  out.Put("void %s_set_trace(%s_parser *p, FILE *trace) {\n\tp->trace = trace;\n}\n\n", {n, n});
  out.Put("void %s_set_max_depth(%s_parser *p, int depth) {\n", {n, n});
  out.Put("\tp->maxDepth = depth > 0 ? depth : 1;\n}\n\n");
  out.Put("void %s_set_user(%s_parser *p, void *user) {\n\tp->user = user;\n}\n\n", {n, n});
  out.Put("void *%s_user(const %s_parser *p) {\n\treturn\tp->user;\n}\n", {n, n});
}

Status WriteSource(const EmbeddedPlan& x, const EmbeddedDecisions& decisions, const regex::Lexicon& lexicon,
                   std::string_view dir, ConsOptions& options) {
  // The routines come first, in memory: they tell which lists of expected terminals, token
  // functions, actions and output terminals the file needs, which C wants defined before them.
  ExpectedLists expected;
  RoutineUse use;
  CodeWriter routines;
  routines.OpenMemory();
  if (Status st = WriteEmbeddedRoutines(x, decisions, routines, expected, use); st != stOk) return st;

  CodeWriter out;
  if (Status st = ConOpenFile(out, dir, x.prefix + ".c", "Embeddable translator"); st != stOk) return st;
  WritePrologue(x, out, options, decisions.Depth());
  if (Status st = WriteEmbeddedLexer(x, lexicon, out); st != stOk) return st;
  WriteTerminalTexts(x, out);
  WriteTokenFunctions(x, out, decisions.Depth(), use);
  if (Status st = WriteEmbeddedActions(x, use, out, options); st != stOk) return st;
  WriteEmbeddedDeclarations(x, use, out);
  expected.Write(out);
  out.Put(routines.TakeText());
  if (Status st = WriteRecovery(x, decisions, use, out); st != stOk) return st;
  WriteInterface(x, out, EmbeddedHasMachine(x, options));
  return out.Close();
}

}  // namespace

Status ConsEmbedded(const Language& lang, std::string_view dir, std::string_view prefix, const ConsOptions& options,
                    const ReadProgress* progress, std::string_view file) {
  if (!ValidPrefix(prefix)) return stNotAllocated;
  if (lang.StartNont < 1 || lang.StartNont > lang.LastNonterminal) return stBadNonterminalCode;
  // Every choice is decided before anything is written: a grammar that cannot be gets no files.
  EmbeddedDecisions decisions;
  if (Status st = decisions.Compute(lang, progress, file); st != stOk) return st;
  ConsOptions completed = options;
  if (Status st = ConsPrepare(lang, completed); st != stOk) return st;
  regex::Lexicon lexicon;
  if (Status st = BuildCheckedLexicon(lang, progress, file, lexicon); st != stOk) return st;
  const EmbeddedPlan plan(lang, completed, prefix);
  if (Status st = WriteEmbeddedHeader(plan, dir); st != stOk) return st;
  return WriteSource(plan, decisions, lexicon, dir, completed);
}

}  // namespace parvolen
