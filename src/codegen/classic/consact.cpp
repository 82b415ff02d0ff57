#include "codegen/classic/consact.h"

#include <string>

#include "base/console.h"
#include "codegen/shared/code_writer.h"
#include "codegen/shared/consact_instr.h"
#include "codegen/shared/framing.h"
#include "semantics/instruction_set.h"

namespace parvolen {
namespace {

constexpr std::string_view kDescription = "Semantic actions (and user code)";

// What the actions module is built from: the record, the options and the facts derived from them.
struct ActionsPlan {
  const Language& lang;
  ConsOptions& options;
  bool semantic;  // -s: translate the instruction runs
  bool machine;   // the semantic data is declared: -s, some instructions, and a Value to hold
  bool multi;     // values carry their kind: ValCopy and ValMove do the copying

  ActionsPlan(const Language& l, ConsOptions& o)
      : lang(l),
        options(o),
        semantic(o.SemanticCode != 0),
        machine(o.SemanticCode != 0 && l.LastSemInst > 0 && o.ValueKinds > 0),
        multi(o.ValueKinds > 1) {}

  [[nodiscard]] bool Has(std::int32_t opcode) const { return options.OpcodeCount[opcode] > 0; }
  // Some instruction that prints is used: it calls the writer module's printers.
  [[nodiscard]] bool Prints() const {
    for (const Instruction& i : kInstructionSet)
      if (i.prints && Has(i.opcode)) return true;
    return false;
  }
  [[nodiscard]] bool HeapValues() const { return lang.UseStrings != 0 || lang.IdTerm > 0; }
  // ValFree is written: the machine holds tagged values, or plain string or identifier values.
  [[nodiscard]] bool Releases() const { return machine && (multi || HeapValues()); }
};

bool AnyGRegister(const Language& lang) {
  for (std::int32_t i = 1; i <= lang.LastSemInst; ++i) {
    if (UsesGRegister(lang.SemInstTab[i])) return true;
  }
  return false;
}

// ---- "_actions.h" ----

Status WriteHeader(const Language& lang, std::string_view dir) {
  CodeWriter out;
  if (Status st = ConOpenFile(out, dir, "_actions.h", kDescription); st != stOk) return st;
  out.Put("#ifndef _actions_h\n\t#define _actions_h\n\n");
  out.Put("\t#include\t\"%s\"\n", "_error.h");
  out.Put("\n\t/* semantic action list */\n\n");
  for (std::int32_t a = 1; a <= lang.LastAction; ++a) {
    out.Put("\tErrCode Action_%s(void);\n", Ident(lang.ActionTab[a].Name));
  }
  out.Put("\n#endif\n");
  return out.Close();
}

// ---- "_actions.c" ----

void WriteIncludes(const ActionsPlan& x, CodeWriter& out) {
  const Language& lang = x.lang;
  out.Put("#include\t\"%s\"\n", "_actions.h");
  // The writer module exists only with output terminals; printing without them is refused
  // when the instruction is translated.
  if (x.semantic && x.Prints() && lang.LastOutTerm > 0) out.Put("#include\t\"%s\"\n", "_writer.h");
  // "_lexer.h" declares Value (and FetchVal) for every valued language.
  if (x.machine) out.Put("#include\t\"%s\"\n", "_lexer.h");
  if (x.semantic && x.HeapValues()) out.Put("#include\t<string.h>\n");
  if (x.Releases() && x.HeapValues()) out.Put("#include\t<stdlib.h>\n");
}

void WriteSemanticData(const ActionsPlan& x, CodeWriter& out) {
  const Language& lang = x.lang;
  if (!x.machine) return;
  const bool stack = lang.StackSize > 0;
  if (stack) out.Put("\n#define SemStackSize\t%d\n\n", std::to_string(lang.StackSize));
  out.Put("Value\tRegister[3]");
  if (AnyGRegister(lang)) out.Put(", GRegister[3]");
  if (stack) out.Put(", ValStack[SemStackSize+1]");
  out.Put(";\n");
  if (stack) out.Put("int\tsp;\n");
}

void WriteValCopy(const Language& lang, CodeWriter& out, std::string_view storage) {
  out.Put(storage);
  out.Put("ErrCode ValCopy(Value *dst, Value *src) {\n");
  out.Put("\tswitch  ( dst->WhoAmI = src->WhoAmI ) {\n");
  out.Put("\t\tcase vtNone:\n\t\t\treturn\tecNoVal;");
  if (lang.UseChars != 0) {
    out.Put("\t\tcase vtChar:\n");
    out.Put("\t\t\tdst->Val.c = src->Val.c;\n");
    out.Put("\t\t\treturn\tecOk;\n");
  }
  if (lang.UseStrings != 0) {
    out.Put("\t\tcase vtStr:\n");
    out.Put("\t\t\tif  ( ( dst->Val.s = strdup(src->Val.s) ) == NULL )\n");
    out.Put("\t\t\t\treturn\tecNoMem;\n");
    out.Put("\t\t\treturn\tecOk;\n");
  }
  if (lang.NumTerm > 0) {
    out.Put("\t\tcase vtInt:\n");
    out.Put("\t\t\tdst->Val.i = src->Val.i;\n");
    out.Put("\t\t\treturn\tecOk;\n");
  }
  if (lang.IdTerm > 0) {
    out.Put("\t\tcase vtId:\n");
    out.Put("\t\t\tif  ( ( dst->Val.id = strdup(src->Val.id) ) == NULL )\n");
    out.Put("\t\t\t\treturn\tecNoMem;\n");
    out.Put("\t\t\treturn\tecOk;\n");
  }
  out.Put("\t\tdefault:\n\t\t\treturn\tecFinish;\n\t}\n");
  out.Put("\treturn\tecOk;\n}\n\n");
}

void WriteValMove(const Language& lang, CodeWriter& out, std::string_view storage) {
  out.Put(storage);
  out.Put("ErrCode ValMove(Value *dst, Value *src) {\n");
  out.Put("\tswitch  ( dst->WhoAmI = src->WhoAmI ) {\n");
  out.Put("\t\tcase vtNone:\n\t\t\treturn\tecNoVal;");
  if (lang.UseChars != 0) {
    out.Put("\t\tcase vtChar:\n");
    out.Put("\t\t\tdst->Val.c = src->Val.c;\n");
    out.Put("\t\t\tbreak;\n");
  }
  if (lang.NumTerm > 0) {
    out.Put("\t\tcase vtInt:\n");
    out.Put("\t\t\tdst->Val.i = src->Val.i;\n");
    out.Put("\t\t\tbreak;\n");
  }
  if (lang.UseStrings != 0) {
    out.Put("\t\tcase vtStr:\n");
    out.Put("\t\t\tdst->Val.s = src->Val.s;\n");
    out.Put("\t\t\tbreak;\n");
  }
  if (lang.IdTerm > 0) {
    out.Put("\t\tcase vtId:\n");
    out.Put("\t\t\tdst->Val.id = src->Val.id;\n");
    out.Put("\t\t\tbreak;\n");
  }
  out.Put("\t\tdefault:\n\t\t\treturn\tecFinish;\n\t}\n");
  out.Put("\tsrc->WhoAmI = vtNone;\n");
  out.Put("\treturn\tecOk;\n}\n\n");
}

// ValFree empties a value before it is overwritten, freeing the text of a string or identifier:
// every instruction that stores into a register or stack entry calls it first.
void WriteValFree(const ActionsPlan& x, CodeWriter& out, std::string_view storage) {
  const Language& lang = x.lang;
  out.Put(storage);
  out.Put("void ValFree(Value *v) {\n");
  if (!x.multi) {
    out.Put("\tfree(*v);\n\t*v = NULL;\n}\n\n");
    return;
  }
  if (lang.UseStrings != 0) out.Put("\tif  ( v->WhoAmI == vtStr )\n\t\tfree(v->Val.s);\n");
  if (lang.IdTerm > 0) out.Put("\tif  ( v->WhoAmI == vtId )\n\t\tfree(v->Val.id);\n");
  out.Put("\tv->WhoAmI = vtNone;\n}\n\n");
}

// ValCopy and ValMove serve the tagged values of a language with several kinds; a single-kind
// Value is a plain C value that the translation assigns (and duplicates) directly.
void WriteValueFunctions(const ActionsPlan& x, CodeWriter& out, std::string_view storage = "") {
  if (!x.semantic) return;
  out.Put("\n");
  if (x.Releases()) WriteValFree(x, out, storage);
  if (!x.multi) return;
  if (x.Has(kOpCopy) || x.Has(kOpPush)) WriteValCopy(x.lang, out, storage);
  if (x.Has(kOpMove) || x.Has(kOpPop)) WriteValMove(x.lang, out, storage);
}

// The run of an action goes from its first instruction up to and including the first return,
// or to the end of the table.
Status WriteBody(const ActionsPlan& x, CodeWriter& out, const ActionRec& action) {
  const Language& lang = x.lang;
  if (!x.semantic || action.FirstInst <= 0) {
    out.Put("\t/* no instructions defined; add here your own code */\n");
    return stOk;
  }
  out.Put("\tErrCode e;\t/* status */\n\n");
  for (std::int32_t i = action.FirstInst; i <= lang.LastSemInst; ++i) {
    const Status st = ConsInstr(out, lang, lang.SemInstTab[i], x.options);
    if (st == stOk || st == stNotFinished) continue;
    if (st == stSemReturn) break;
    return st;
  }
  return stOk;
}

Status WriteSource(const ActionsPlan& x, std::string_view dir) {
  const Language& lang = x.lang;
  CodeWriter out;
  if (Status st = ConOpenFile(out, dir, "_actions.c", kDescription); st != stOk) return st;
  WriteIncludes(x, out);
  WriteSemanticData(x, out);
  WriteValueFunctions(x, out);
  for (std::int32_t a = 1; a <= lang.LastAction; ++a) {
    const ActionRec& action = lang.ActionTab[a];
    out.Put("\nErrCode Action_%s(void) {\n", Ident(action.Name));
    if (Status st = WriteBody(x, out, action); st != stOk) return st;
    out.Put("\treturn\tecOk;\n}\n");
  }
  return out.Close();
}

}  // namespace

void ConValueFunctions(const Language& lang, CodeWriter& out, ConsOptions& options, std::string_view storage) {
  WriteValueFunctions(ActionsPlan(lang, options), out, storage);
}

bool ConValueReleases(const Language& lang, ConsOptions& options) { return ActionsPlan(lang, options).Releases(); }

Status ConsAct(const Language& lang, std::string_view dir, ConsOptions& options) {
  if (dir.data() == nullptr) {
    PrintDiagHeader("ConsAct");
    Print(" Directory\n");
    return stNotAllocated;
  }
  const ActionsPlan plan(lang, options);
  if (Status st = WriteHeader(lang, dir); st != stOk) return st;
  return WriteSource(plan, dir);
}

}  // namespace parvolen
