#include "codegen/parser_module.h"

#include <string>

#include "codegen/code_writer.h"
#include "codegen/framing.h"
#include "codegen/parser_routines.h"

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

// The entry: opens the input (and the output), runs the starting symbol's routine, closes them.
void WriteParse(const Language& lang, CodeWriter& out, bool hasWriter) {
  out.Put("/***************************/\n");
  out.Put("/* Parse: parse given file */\n");
  out.Put("/***************************/\n\n");
  out.Put("ErrCode Parse(char *InName");
  if (hasWriter) out.Put(", char *OutName");
  out.Put(") {\n\tErrCode e;\t/* status */\n\n");
  out.Put("\tif  ( ( e = LexOpen(InName) ) != ecOk )\n\t\treturn\te;\n");
  if (hasWriter) out.Put("\tif  ( ( e = OutOpen(OutName) ) != ecOk )\n\t\treturn\te;\n");
  out.Put("\te = Nont_%s();\t/* call starting symbol subroutine */", MkIdent(lang.StartingSymbol.View()));
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

  out.Put("\n/* forward definition of all nonterminals */\n\n");
  for (std::int32_t n = 1; n <= lang.LastNonterminal && lang.NontTab.Exists(); ++n) {
    out.Put("ErrCode Nont_%s(void);\n", MkIdent(lang.NontTab[n].Name.View()));
  }
  out.Put("\n");
  for (std::int32_t n = 1; n <= lang.LastNonterminal; ++n) {
    if (Status st = ConNont(out, lang, n, options); st != stOk) return st;
  }
  WriteParse(lang, out, hasWriter);
  return out.Close();
}

}  // namespace

Status ConsParser(const Language& lang, std::string_view dir, bool hasWriter, const ConsOptions& options) {
  if (Status st = WriteHeader(lang, dir, hasWriter); st != stOk) return st;
  return WriteSource(lang, dir, hasWriter, options);
}

}  // namespace parvolen
