#include "codegen/classic/parser_module.h"

#include <string>

#include "codegen/shared/code_writer.h"
#include "codegen/shared/framing.h"
#include "codegen/classic/parser_routines.h"

namespace parvolen {
namespace {

constexpr std::string_view kDescription = "Syntactic analyzer (parser)";

Status WriteHeader(const Language& lang, std::string_view dir, bool hasWriter) {
  CodeWriter out;
  if (Status st = ConOpenFile(out, dir, "_parser.h", kDescription); st != stOk) return st;
  out.Put("#ifndef _parser_h\n\t#define _parser_h\n\n");
  out.Put("\t#include\t\"%s\"\n\n", "_error.h");
  out.Put("ErrCode Parse(char *InName");
  if (hasWriter) out.Put(", char *OutName");
  out.Put(");\n");
  out.Put("\t/* parse file `InName' using language `%s' */\n\n", lang.Name.View());
  out.Put("#endif\n");
  return out.Close();
}

// The stack room of the parsing subroutines. A recursive-descent parser nests as deep as its
// input: each routine first checks that its frame lies above StackLow and answers ecSyntax
// otherwise, so that deeply nested input is rejected instead of overflowing the stack.
// StackFloor sets the limit from the stack size the system grants, keeping a quarter of it for
// the callers of Parse and for what the routines call.
Status WriteStackFloor(CodeWriter& out) {
  if (Status st = ConFnHeader(out, "StackFloor", "lowest stack address for parsing subroutines"); st != stOk)
    return st;
  out.Put("static uintptr_t StackFloor(uintptr_t Base) {\n");
  out.Put("\tuintptr_t\tRoom = (uintptr_t)1 << 20;\t/* where the system tells no stack size */\n");
  out.Put("#ifndef _WIN32\n\tstruct rlimit\tLimit;\n\n");
  out.Put("\tif  ( getrlimit(RLIMIT_STACK, &Limit) == 0 )\n");
  out.Put("\t\tRoom = Limit.rlim_cur == RLIM_INFINITY || Limit.rlim_cur > ((uintptr_t)1 << 30) ?\n");
  out.Put("\t\t\t(uintptr_t)1 << 30 : (uintptr_t)Limit.rlim_cur;\n#endif\n");
  out.Put("\tRoom -= Room / 4;\n");
  out.Put("\treturn\tBase > Room ? Base - Room : 0;\n}\n\n");
  return stOk;
}

// The entry: opens the input (and the output), runs the starting symbol's routine, closes them.
void WriteParse(const Language& lang, CodeWriter& out, bool hasWriter) {
  out.Put("/***************************/\n");
  out.Put("/* Parse: parse given file */\n");
  out.Put("/***************************/\n\n");
  out.Put("ErrCode Parse(char *InName");
  if (hasWriter) out.Put(", char *OutName");
  out.Put(") {\n\tErrCode e;\t/* status */\n\n");
  out.Put("\tStackLow = StackFloor((uintptr_t)&e);\n");
  out.Put("\tif  ( ( e = LexOpen(InName) ) != ecOk )\n\t\treturn\te;\n");
  // The input is closed again when the output cannot be created, so that a caller that goes on
  // after the failure keeps no stray open file.
  if (hasWriter) out.Put("\tif  ( ( e = OutOpen(OutName) ) != ecOk ) {\n\t\tLexClose();\n\t\treturn\te;\n\t}\n");
  out.Put("\te = Nont_%s();\t/* call starting symbol subroutine */", Ident(lang.StartingSymbol));
  out.Put("\n\tLexClose();\n");
  if (hasWriter) out.Put("\tOutClose();\n");
  out.Put("\treturn\te;\n}\n");
}

Status WriteSource(const Language& lang, std::string_view dir, bool hasWriter, const ConsOptions& options) {
  CodeWriter out;
  if (Status st = ConOpenFile(out, dir, "_parser.c", kDescription); st != stOk) return st;
  out.Put("#include\t\"%s\"\n", "_parser.h");
  out.Put("#include\t\"%s\"\n", "_lexer.h");
  if (lang.LastAction > 0) out.Put("#include\t\"%s\"\n", "_actions.h");
  if (lang.LastOutTerm > 0) out.Put("#include\t\"%s\"\n", "_writer.h");
  if (options.DebugSupport != 0) out.Put("#include\t<stdio.h>\n");
  out.Put("#include\t<stdint.h>\n#ifndef _WIN32\n#include\t<sys/resource.h>\n#endif\n");

  out.Put("\n/* forward definition of all nonterminals */\n\n");
  for (std::int32_t n = 1; n <= lang.LastNonterminal && lang.NontTab.Exists(); ++n) {
    out.Put("ErrCode Nont_%s(void);\n", Ident(lang.NontTab[n].Name));
  }
  out.Put("\nstatic uintptr_t\tStackLow;\t/* lowest stack address for parsing subroutines */\n\n");
  ParserRoutines routines(out, lang, options);
  for (std::int32_t n = 1; n <= lang.LastNonterminal; ++n) {
    if (Status st = routines.ConNont(n); st != stOk) return st;
  }
  if (Status st = WriteStackFloor(out); st != stOk) return st;
  WriteParse(lang, out, hasWriter);
  return out.Close();
}

}  // namespace

Status ConsParser(const Language& lang, std::string_view dir, bool hasWriter, const ConsOptions& options) {
  if (Status st = WriteHeader(lang, dir, hasWriter); st != stOk) return st;
  return WriteSource(lang, dir, hasWriter, options);
}

}  // namespace parvolen
