#include "codegen/classic/error_module.h"

#include "codegen/shared/code_writer.h"
#include "codegen/shared/framing.h"

namespace parvolen {
namespace {

constexpr std::string_view kDescription = "Error codes, types and handling";

// Which optional members ErrCode has; both files name exactly the same ones.
struct ErrorMembers {
  bool memory;  // ecNoMem: heap copies of strings or identifiers exist
  bool value;   // ecValLong, ecNoVal: the language has terminal values
  bool number;  // ecNotNum
  bool stack;   // ecStkOvr, ecNoStk: the actions have a value stack
};

ErrorMembers MembersOf(const Language& lang) {
  ErrorMembers m{};
  m.memory = lang.UseStrings != 0 || lang.IdTerm != 0;
  m.value = lang.UseChars != 0 || lang.UseStrings != 0 || lang.NumTerm != 0 || lang.IdTerm != 0;
  m.number = m.value && lang.NumTerm != 0;
  m.stack = m.value && lang.StackSize > 0;
  return m;
}

Status WriteHeader(const ErrorMembers& m, std::string_view dir) {
  CodeWriter out;
  if (Status st = ConOpenFile(out, dir, "_error.h", kDescription); st != stOk) return st;
  out.Put("#ifndef _error_h\n\t#define _error_h\n\n\ttypedef enum {\n");
  out.Put("\t\tecOk,\n");
  if (m.memory) out.Put("\t\tecNoMem,\n");
  out.Put("\t\tecOpen, ecCreate, ecRead, ecWrite, ecClose,\n");
  out.Put("\t\tecBadChar, ecSyntax");
  if (m.value) out.Put(",\n\t\tecValLong, ecNoVal");
  if (m.number) out.Put(", ecNotNum");
  if (m.stack) out.Put(", ecStkOvr, ecNoStk");
  out.Put(",\n\t\tecFinish\n\t} ErrCode;\n");
  out.Put("\n\tchar *ErrMsg(ErrCode e);\n\t/* returns error message");
  out.Put(" for given error code */\n");
  out.Put("\n#endif\n");
  return out.Close();
}

Status WriteSource(const ErrorMembers& m, std::string_view dir) {
  CodeWriter out;
  if (Status st = ConOpenFile(out, dir, "_error.c", kDescription); st != stOk) return st;
  out.Put("#include\t\"%s\"\n\n", "_error.h");
  if (Status st = ConFnHeader(out, "ErrMsg", "returns error message for given error code"); st != stOk) return st;
  out.Put("char *ErrMsg(ErrCode e) {\n\tswitch  ( e ) {\n\t\t");
  out.Put("case ecOk:\treturn\t\"OK\";\n\t\t");
  if (m.memory) out.Put("case ecNoMem:\treturn\t\"Insufficient memory\";\n\t\t");
  out.Put("case ecOpen:\treturn\t\"Cannot open file\";\n\t\t");
  out.Put("case ecCreate:\treturn\t\"Cannot create file\";\n\t\t");
  out.Put("case ecRead:\treturn\t\"Cannot read file\";\n\t\t");
  out.Put("case ecWrite:\treturn\t\"Cannot write file\";\n\t\t");
  out.Put("case ecClose:\treturn\t\"Cannot close file\";\n\t\t");
  out.Put("case ecBadChar:\treturn\t\"Spelling error\";\n\t\t");
  out.Put("case ecSyntax:\treturn\t\"Syntax error\";\n\t\t");
  if (m.value) out.Put("case ecValLong:\treturn\t\"Value too long\";\n\t\t");
  if (m.value) out.Put("case ecNoVal:\treturn\t\"No value\";\n\t\t");
  if (m.number) out.Put("case ecNotNum:\treturn\t\"Numeric value expected\";\n\t\t");
  if (m.stack) out.Put("case ecStkOvr:\treturn\t\"Stack overflow\";\n\t\t");
  if (m.stack) out.Put("case ecNoStk:\treturn\t\"Accessing empty stack\";\n\t\t");
  out.Put("case ecFinish:\treturn\t\"Internal: Application not finished\";\n\t\t");
  out.Put("default:\treturn\t\"Internal: Unknown error code\";\n\t}\n}\n");
  return out.Close();
}

}  // namespace

Status ConsError(const Language& lang, std::string_view dir) {
  const ErrorMembers members = MembersOf(lang);
  if (Status st = WriteHeader(members, dir); st != stOk) return st;
  return WriteSource(members, dir);
}

}  // namespace parvolen
