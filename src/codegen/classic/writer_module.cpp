#include "codegen/classic/writer_module.h"

#include <string>

#include "base/console.h"
#include "codegen/shared/framing.h"
#include "semantics/instruction_set.h"

namespace parvolen {
namespace {

constexpr std::string_view kDescription = "Output terminal and output handling";

// The printers exist when a translated action calls one; OutSpaces only with a spaces instruction.
bool HasPrinters(const ConsOptions& options) { return options.OutputUsed != 0; }
bool HasSpaces(const ConsOptions& options) { return HasPrinters(options) && options.OpcodeCount[kOpSpaces] > 0; }

Status WriteHeader(const Language& lang, std::string_view dir, const ConsOptions& options) {
  CodeWriter out;
  if (Status st = ConOpenFile(out, dir, "_writer.h", kDescription); st != stOk) return st;
  out.Put("#ifndef _writer_h\n\t#define _writer_h\n\n");
  out.Put("\t#include\t\"%s\"\n\n", "_error.h");
  out.Put("\t/* initialization & cleanup */\n\n");
  out.Put("\tErrCode OutOpen(char *OutName);\n");
  out.Put("\t/* opens output file */\n\n");
  out.Put("\tErrCode OutClose(void);\n");
  out.Put("\t/* closes output file */\n\n");
  out.Put("\t/* output terminal list */\n\n");
  for (std::int32_t n = 1; n <= lang.LastOutTerm; ++n) {
    out.Put("\tErrCode OutTerm_%s(void);\n", Ident(lang.OutTermTab[n].Name));
  }
  if (HasPrinters(options)) {
    out.Put("\n\tErrCode OutStr(char *s);\n");
    out.Put("\t/* writes given string into output file */\n\n");
    out.Put("\n\tErrCode OutId(char *s);\n");
    out.Put("\t/* writes given identifier into output file */\n\n");
    out.Put("\tErrCode OutNum(int i);\n");
    out.Put("\t/* writes given number into output file */\n\n");
    out.Put("\n\tErrCode OutChar(char c);\n");
    out.Put("\t/* writes given character into output file */\n\n");
    if (HasSpaces(options)) {
      out.Put("\tErrCode OutSpaces(int Count);\n");
      out.Put("\t/* writes given number of spaces */\n\n");
    }
  }
  out.Put("\n#endif\n");
  return out.Close();
}

void WriteFileFunctions(CodeWriter& out) {
  out.Put("#include\t\"%s\"\n", "_writer.h");
  out.Put("#include\t<stdio.h>\n\n");
  out.Put("FILE\t*outf = NULL;\t/* output file */\n\n");
  out.Put("/* OutOpen: safely opens output file */\n\n");
  out.Put("ErrCode OutOpen(char *OutName) {\n");
  out.Put("\tif  ( ( outf = fopen(OutName,\"w\") ) == NULL )\n");
  out.Put("\t\treturn\tecCreate;\n");
  out.Put("\treturn\tecOk;\n}\n\n");
  out.Put("/* OutClose: safely closes output file */\n\n");
  out.Put("ErrCode OutClose(void) {\n");
  out.Put("\tif  ( fclose(outf) != 0 )\n");
  out.Put("\t\treturn\tecClose;\n");
  out.Put("\toutf = NULL;\n\treturn\tecOk;\n}\n\n");
}

// The "%s", "%d", "%c" and "%*c" below are conversions of the generated fprintf calls.
void WritePrinters(const Language& lang, CodeWriter& out, const ConsOptions& options) {
  const std::string strDelim = MkCharEsc(lang.OutStrDelim);
  const std::string charDelim = MkCharEsc(lang.OutCharDelim);

  out.Put("/* OutStr: string data writing */\n");
  out.Put("ErrCode OutStr(char *s) {\n");
  out.Put("\tif  ( fprintf(outf,\"");
  out.Put(strDelim);
  out.Put("%s");
  out.Put(strDelim);
  out.Put("\",s) < 0 )\n");
  out.Put("\t\treturn\tecWrite;\n");
  out.Put("\treturn\tecOk;\n}\n\n");

  out.Put("/* OutId: identifier writing */\n");
  out.Put("ErrCode OutId(char *s) {\n");
  out.Put("\tif  ( fprintf(outf,\"%s\",s) < 0 )\n");
  out.Put("\t\treturn\tecWrite;\n");
  out.Put("\treturn\tecOk;\n}\n\n");

  out.Put("/* OutNum: numeric data writing */\n");
  out.Put("ErrCode OutNum(int i) {\n");
  out.Put("\tif  ( fprintf(outf,\"%d\",i) < 0 )\n");
  out.Put("\t\treturn\tecWrite;\n");
  out.Put("\treturn\tecOk;\n}\n\n");

  out.Put("/* OutChar: writing of one character */\n");
  out.Put("ErrCode OutChar(char c) {\n");
  out.Put("\tif  ( fprintf(outf,\"");
  out.Put(charDelim);
  out.Put("%c");
  out.Put(charDelim);
  out.Put("\",c) < 0 )\n");
  out.Put("\t\treturn\tecWrite;\n");
  out.Put("\treturn\tecOk;\n}\n\n");

  if (HasSpaces(options)) {
    out.Put("ErrCode OutSpaces(int Count) {\n");
    out.Put("\tif  ( Count == 0 )\n\t\treturn\tecOk;\n");
    out.Put("\tfprintf(outf,\"%*c\",Count,' ');\n");
    out.Put("\treturn\tecOk;\n}\n\n");
  }
}

Status WriteSource(const Language& lang, std::string_view dir, const ConsOptions& options) {
  CodeWriter out;
  if (Status st = ConOpenFile(out, dir, "_writer.c", kDescription); st != stOk) return st;
  WriteFileFunctions(out);
  for (std::int32_t n = 1; n <= lang.LastOutTerm; ++n) {
    if (Status st = ConOutFn(out, &lang, n); st != stOk) return st;
  }
  if (HasPrinters(options)) WritePrinters(lang, out, options);
  return out.Close();
}

}  // namespace

Status ConOutFn(CodeWriter& out, const Language* lang, std::int32_t n) {
  if (lang == nullptr || !out.IsOpen()) {
    Print("\n *** ConOutFn ***\n");
    return lang == nullptr ? stNotAllocated : stNotOpen;
  }
  if (n < 1 || n > lang->LastOutTerm) return stBadOutTermCode;
  const OutTermRec& term = lang->OutTermTab[n];
  const std::string ident = Ident(term.Name);
  out.Put("/* OutTerm_%s: output terminal `%s' handling function */\n\n", {ident, term.Name.View()});
  out.Put("ErrCode OutTerm_%s(void) {\n", ident);
  // The shape is the format of the generated fprintf, inserted as it stands.
  if (!term.Shape.Empty()) out.Put("\tif  ( fprintf(outf,\"%s\") < 0 )\n\t\treturn\tecWrite;\n", term.Shape.View());
  out.Put("\treturn\tecOk;\n}\n\n");
  return stOk;
}

Status ConsWriter(const Language& lang, std::string_view dir, const ConsOptions& options) {
  if (dir.data() == nullptr) {
    PrintDiagHeader("ConsWriter");
    Print(" Directory\n");
    return stNotAllocated;
  }
  if (Status st = WriteHeader(lang, dir, options); st != stOk) return st;
  return WriteSource(lang, dir, options);
}

}  // namespace parvolen
