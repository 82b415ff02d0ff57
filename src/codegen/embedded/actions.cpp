#include "codegen/embedded/actions.h"

#include <string>

#include "codegen/classic/consact.h"
#include "codegen/shared/consact_instr.h"
#include "codegen/shared/framing.h"
#include "codegen/classic/lexer_module.h"
#include "semantics/instruction_set.h"

namespace parvolen {
namespace {

// The semantic machine holds values: -s, instructions, and terminal values to hold.
bool Machine(const EmbeddedPlan& x, const ConsOptions& options) {
  return x.Semantic() && x.lang.LastSemInst > 0 && options.ValueKinds > 0;
}

bool HasStack(const EmbeddedPlan& x, const ConsOptions& options) {
  return Machine(x, options) && x.lang.StackSize > 0;
}

// FetchValue: the value of the terminal matched last, as the lexer of the classic translator
// keeps it (identifiers in upper case where case does not matter).
void WriteFetchValue(const EmbeddedPlan& x, CodeWriter& out, const ConsOptions& options) {
  const Language& lang = x.lang;
  const bool upper = lang.CaseSensitive == 0;
  out.Put("static int FetchValue(Parser *p, Value *V) {\n");
  out.Put("\tconst char\t*text = OwnText(p->last);\n\n");
  out.Put("\tif  ( text == NULL )\n\t\treturn\tecNoMem;\n");
  if (options.ValueKinds > 1) {
    out.Put("\tswitch  ( p->last->kind ) {\n");
    if (lang.UseStrings != 0 && lang.StrTerm != 0) {
      out.Put("\t\tcase %s:\n", x.TermConst(lang.StrTerm));
      out.Put("\t\t\tV->WhoAmI = vtStr;\n\t\t\tif  ( ( V->Val.s = CopyText(text, 0) ) == NULL )\n");
      out.Put("\t\t\t\treturn\tecNoMem;\n\t\t\tbreak;\n");
    }
    if (lang.UseChars != 0 && lang.CharTerm != 0) {
      out.Put("\t\tcase %s:\n", x.TermConst(lang.CharTerm));
      out.Put("\t\t\tV->WhoAmI = vtChar;\n\t\t\tV->Val.c = text[0];\n\t\t\tbreak;\n");
    }
    if (lang.NumTerm != 0) {
      out.Put("\t\tcase %s:\n", x.TermConst(lang.NumTerm));
      out.Put("\t\t\tV->WhoAmI = vtInt;\n\t\t\tV->Val.i = atoi(text);\n\t\t\tbreak;\n");
    }
    if (lang.IdTerm != 0) {
      out.Put("\t\tcase %s:\n", x.TermConst(lang.IdTerm));
      out.Put("\t\t\tV->WhoAmI = vtId;\n\t\t\tif  ( ( V->Val.id = CopyText(text, %d) ) == NULL )\n",
              upper ? "1" : "0");
      out.Put("\t\t\t\treturn\tecNoMem;\n\t\t\tbreak;\n");
    }
    out.Put("\t\tdefault:\n\t\t\tV->WhoAmI = vtNone;\n\t}\n");
  } else if (lang.UseChars != 0) {
    out.Put("\t*V = text[0];\n");
  } else if (lang.UseStrings != 0 || lang.IdTerm != 0) {
    out.Put("\tif  ( ( *V = CopyText(text, %d) ) == NULL )\n\t\treturn\tecNoMem;\n",
            upper && lang.UseStrings == 0 ? "1" : "0");
  } else {
    out.Put("\t*V = atoi(text);\n");
  }
  out.Put("\treturn\tecOk;\n}\n\n");
}

// The vocabulary of the translated instructions, bound to the parser instance: the registers,
// the stack, the printers into the parser's output and the value of the last terminal.
void WriteMachineWords(const EmbeddedPlan& x, CodeWriter& out) {
  const Language& lang = x.lang;
  const std::string str = MkCharEsc(lang.OutStrDelim);
  const std::string chr = MkCharEsc(lang.OutCharDelim);
  out.Put("#define\tRegister\t(p->reg)\n#define\tGRegister\t(p->greg)\n");
  out.Put("#define\tValStack\t(p->stack)\n#define\tsp\t(p->semTop)\n");
  out.Put("#define\tFetchVal(v)\tFetchValue(p, (v))\n");
  out.Put("#define\tOutStr(s)\t( fprintf(p->out, \"");
  out.Put(str);
  out.Put("%s");
  out.Put(str);
  out.Put("\", (s)) < 0 ? ecWrite : ecOk )\n");
  out.Put("#define\tOutId(s)\t( fprintf(p->out, \"%s\", (s)) < 0 ? ecWrite : ecOk )\n");
  out.Put("#define\tOutNum(i)\t( fprintf(p->out, \"%d\", (i)) < 0 ? ecWrite : ecOk )\n");
  out.Put("#define\tOutChar(c)\t( fprintf(p->out, \"");
  out.Put(chr);
  out.Put("%c");
  out.Put(chr);
  out.Put("\", (c)) < 0 ? ecWrite : ecOk )\n");
  out.Put("#define\tOutSpaces(n)\t( (n) <= 0 ? ecOk : fprintf(p->out, \"%*c\", (n), ' ') < 0 ? ecWrite : ecOk )\n\n");
}

void UndefineMachineWords(CodeWriter& out) {
  out.Put("#undef\tRegister\n#undef\tGRegister\n#undef\tValStack\n#undef\tsp\n#undef\tFetchVal\n");
  out.Put("#undef\tOutStr\n#undef\tOutId\n#undef\tOutNum\n#undef\tOutChar\n#undef\tOutSpaces\n\n");
}

// A copy of a terminal's text, in upper case when asked, in memory of its own.
void WriteCopyText(CodeWriter& out) {
  out.Put("static char *CopyText(const char *s, int upper) {\n");
  out.Put("\tsize_t\tn = strlen(s) + 1;\n\tchar\t*copy = (char *)malloc(n), *c;\n\n");
  out.Put("\tif  ( copy == NULL )\n\t\treturn\tNULL;\n");
  out.Put("\tmemcpy(copy, s, n);\n");
  out.Put("\tfor  ( c = copy; upper && *c != '\\0'; c++ )\n");
  out.Put("\t\tif  ( *c >= 'a' && *c <= 'z' )\n\t\t\t*c = (char)( *c - 'a' + 'A' );\n");
  out.Put("\treturn\tcopy;\n}\n\n");
  out.Put("#undef\tstrdup\n#define\tstrdup(s)\tCopyText((s), 0)\n\n");
}

// Empties the machine: every value it holds is given back.
void WriteSemClear(const EmbeddedPlan& x, CodeWriter& out, ConsOptions& options) {
  const bool releases = ConValueReleases(x.lang, options);
  out.Put("static void SemClear(Parser *p) {\n");
  if (releases) {
    out.Put("\tint\ti;\n\n\tfor  ( i = 0; i < 3; i++ ) {\n\t\tValFree(&p->reg[i]);\n\t\tValFree(&p->greg[i]);\n\t}\n");
    if (HasStack(x, options)) out.Put("\tfor  ( i = 0; i <= SemStackSize; i++ )\n\t\tValFree(&p->stack[i]);\n");
  }
  out.Put("\tmemset(p->reg, 0, sizeof p->reg);\n\tmemset(p->greg, 0, sizeof p->greg);\n");
  if (HasStack(x, options)) out.Put("\tmemset(p->stack, 0, sizeof p->stack);\n\tp->semTop = 0;\n");
  out.Put("}\n\n");
}

Status WriteSemanticActions(const EmbeddedPlan& x, const RoutineUse& use, CodeWriter& out, ConsOptions& options) {
  const Language& lang = x.lang;
  if (Machine(x, options)) {
    if (lang.UseStrings != 0 || lang.IdTerm != 0) WriteCopyText(out);
    ConValueFunctions(lang, out, options, "static ");
    out.Put("\n");
    WriteSemClear(x, out, options);
    if (options.OpcodeCount[kOpFetch] > 0 && lang.IgnoreValues == 0) WriteFetchValue(x, out, options);
  }
  WriteMachineWords(x, out);
  for (std::int32_t a : use.Actions) {
    if (a < 1 || a > lang.LastAction) return stBadActionCode;
    const ActionRec& action = lang.ActionTab[a];
    out.Put("static int Action_%s(Parser *p) {\n", Ident(action.Name));
    out.Put("\tErrCode\te = ecOk;\n\n\t(void)p;\t/* not every instruction needs them */\n\t(void)e;\n");
    for (std::int32_t i = action.FirstInst; i > 0 && i <= lang.LastSemInst; ++i) {
      const Status st = ConsInstr(out, lang, lang.SemInstTab[i], options);
      if (st == stOk || st == stNotFinished) continue;
      if (st == stSemReturn) break;
      return st;
    }
    out.Put("\treturn\tecOk;\n}\n\n");
  }
  UndefineMachineWords(out);
  return stOk;
}

}  // namespace

void WriteEmbeddedSemanticTypes(const EmbeddedPlan& x, CodeWriter& out, ConsOptions& options) {
  if (!Machine(x, options)) return;
  out.Put("/* The values of the semantic machine. */\n");
  ConValueType(x.lang, out, options);
  if (HasStack(x, options)) out.Put("#define\tSemStackSize\t%d\n\n", std::to_string(x.lang.StackSize));
}

void WriteEmbeddedSemanticState(const EmbeddedPlan& x, CodeWriter& out, const ConsOptions& options) {
  if (!Machine(x, options)) return;
  out.Put("\tValue\treg[3], greg[3];\t/* registers of the semantic machine */\n");
  if (HasStack(x, options)) out.Put("\tValue\tstack[SemStackSize+1];\t/* its value stack */\n\tint\tsemTop;\n");
}

bool EmbeddedHasMachine(const EmbeddedPlan& x, const ConsOptions& options) { return Machine(x, options); }

Status WriteEmbeddedActions(const EmbeddedPlan& x, const RoutineUse& use, CodeWriter& out, ConsOptions& options) {
  const Language& lang = x.lang;
  out.Put("/* The statuses of the translated instructions. */\n");
  out.Put("typedef int ErrCode;\n");
  out.Put("#define\tecOk\tOK\n#define\tecNoMem\tNO_MEMORY\n#define\tecNoVal\tNO_VALUE\n#define\tecNotNum\tNOT_NUMBER\n");
  out.Put("#define\tecNoStk\tSTACK_EMPTY\n#define\tecStkOvr\tSTACK_OVERFLOW\n#define\tecFinish\tUNFINISHED\n");
  out.Put("#define\tecWrite\tWRITE\n\n");
  for (std::int32_t n : use.OutTerms) {
    if (n < 1 || n > lang.LastOutTerm) return stBadOutTermCode;
    const OutTermRec& term = lang.OutTermTab[n];
    out.Put("/* output terminal `%s' */\n", CStringBody(term.Name.View()));
    out.Put("static int OutTerm_%s(Parser *p) {\n", Ident(term.Name));
    // The shape is the format of the fprintf, as the description writes it.
    if (term.Shape.Empty()) {
      out.Put("\t(void)p;\n");
    } else {
      out.Put("\tif  ( fprintf(p->out, \"%s\") < 0 )\n\t\treturn\tWRITE;\n", term.Shape.View());
    }
    out.Put("\treturn\tOK;\n}\n\n");
  }
  if (x.Semantic() && x.HasActions()) return WriteSemanticActions(x, use, out, options);
  return stOk;
}

}  // namespace parvolen
