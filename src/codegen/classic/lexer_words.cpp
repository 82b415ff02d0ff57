#include "codegen/classic/lexer_words.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "codegen/shared/framing.h"

namespace parvolen {
namespace {

bool ValidTerminal(const Language& lang, std::int32_t t) { return t >= 1 && t <= lang.LastTerminal; }

std::string TermIdent(const Language& lang, std::int32_t t) { return Ident(lang.TermTab[t].Name); }

struct KeywordEntry {
  std::string shape;  // as written into the table
  std::int32_t term;
};

// The keywords in the order of the table: definition order, upper case in a language that is not
// case sensitive; sorted for the binary lookup, which finds a keyword only in a sorted table.
std::vector<KeywordEntry> KeywordEntries(const Language& lang) {
  std::vector<KeywordEntry> entries;
  for (std::int32_t k = 1; k <= lang.LastKeyword; ++k) {
    KeywordEntry entry{std::string(lang.KwdTab[k].Shape.View()), lang.KwdTab[k].T};
    if (lang.CaseSensitive == 0) {
      for (char& ch : entry.shape) {
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
      }
    }
    entries.push_back(std::move(entry));
  }
  if (lang.LastKeyword >= kBinaryKeywordLookup) {
    // std::string compares as unsigned char, the order of strcmp.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const KeywordEntry& a, const KeywordEntry& b) { return a.shape < b.shape; });
  }
  return entries;
}

// The character of a case label: quotes and backslash escaped, control codes by their escape.
std::string CaseLabel(char ch) {
  const auto code = static_cast<unsigned char>(ch);
  if (ch == '\'' || ch == '"' || ch == '\\' || code < 32 || code == 127) return MkCharEsc(ch);
  return std::string(1, ch);
}

// One switch of the nested symbol switch: the rest of its sibling list and how it is written.
struct SwitchFrame {
  std::int32_t node;      // next sibling to write a case for; 0 when the list is done
  int indent;             // tabs before the switch
  std::int32_t fallback;  // terminal answered when the input leaves the tree; 0 = none
  int depth;              // characters looked ahead when this switch runs
};

void OpenSwitch(CodeWriter& out, const SwitchFrame& frame) {
  const std::string p = CodeWriter::Tabs(frame.indent);
  if (frame.depth > 0) {
    out.Put("%sif  ( ( e = CharLook(&c,%d) ) != ecOk )\n", {p, std::to_string(frame.depth)});
    out.Put("%s\treturn\te;\n", p);
  }
  out.Put("%sswitch  ( c ) {\n", p);
}

Status CloseSwitch(const Language& lang, CodeWriter& out, const SwitchFrame& frame) {
  const std::string p = CodeWriter::Tabs(frame.indent);
  out.Put("%s\tdefault:\n", p);
  if (frame.fallback == 0) {
    out.Put("%s\t\t*T = Term_No_Term;\n", p);
    out.Put("%s\t\treturn\tecBadChar;\n", p);
  } else {
    if (!ValidTerminal(lang, frame.fallback)) return stBadTerminalCode;
    out.Put("%s\t\t*T = Term_%s;\n", {p, TermIdent(lang, frame.fallback)});
    out.Put("%s\t\treturn\tecOk;\n", p);
  }
  out.Put("%s}\n", p);
  return stOk;
}

}  // namespace

Status ConKwdTable(const Language& lang, CodeWriter& out) {
  out.Put("#define\tKwdCount\t%d\n", std::to_string(lang.LastKeyword));
  out.Put("\t/* # of different keyword shapes */\n\n");
  out.Put("typedef struct {\n\tchar\t\t*Shape;\n");
  out.Put("\tTermCode\tT;\n} KwdRec;\n\n");
  out.Put("KwdRec\tKeywords[KwdCount] = {\n");
  const std::vector<KeywordEntry> entries = KeywordEntries(lang);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!ValidTerminal(lang, entries[i].term)) return stBadTerminalCode;
    const bool last = i + 1 == entries.size();
    out.Put(last ? "\t{ \"%s\", Term_%s }\n" : "\t{ \"%s\", Term_%s },\n",
            {entries[i].shape, TermIdent(lang, entries[i].term)});
  }
  out.Put("};\n\n");
  return stOk;
}

Status KwdShort(const Language& lang, CodeWriter& out, const ConsOptions& options) {
  if (Status st = ConFnHeader(out, "IsKwd", "checks for keywords"); st != stOk) return st;
  out.Put("ErrCode IsKwd(TermCode *T) {\n");
  if (lang.LastKeyword < kBinaryKeywordLookup) {
    out.Put("\tint\ti;\t/* keyword shape iterator */\n\n");
    out.Put("\tfor  ( i = 0; i < KwdCount; i++ )\n");
    out.Put("\t\tif  ( stricmp(Keywords[i].Shape,ValBuf) == 0 ) {\n");
    out.Put("\t\t\t*T = Keywords[i].T;\n\t\t\treturn\tecOk;\n\t\t}\n");
  } else {
    out.Put("\tint\tresult;\t\t/* comparison result */\n");
    out.Put("\tint\tm;\t\t/* current position */\n");
    out.Put("\tint\tl;\t\t/* lower bound */\n");
    out.Put("\tint\th;\t\t/* upper bound */\n\n");
    out.Put("\tl = 0; h = KwdCount - 1;\t/* setting bounds */\n");
    out.Put("\twhile ( l <= h ) {\n");
    out.Put("\t\tm = ( l + h ) / 2;\t/* get middle position */\n");
    out.Put("\t\tresult = strcmp(ValBuf,Keywords[m].Shape);\n");
    out.Put("\t\tif  ( result < 0 ) {\t/* still too small */\n");
    out.Put("\t\t\th = m - 1;\n");
    out.Put("\t\t} else if  ( result == 0 ) {\t/* keyword found */\n");
    out.Put("\t\t\t*T = Keywords[m].T;\n");
    out.Put("\t\t\treturn\tecOk;\n");
    out.Put("\t\t} else {\t/* current string is higher */\n");
    out.Put("\t\t\tl = m + 1;\n");
    out.Put("\t\t}\n");
    out.Put("\t}\n");
  }
  out.Put("\t/* none found */\n");
  if (options.ValueKinds > 1 && lang.IgnoreValues == 0) out.Put("\tVT = vtId;\n");
  out.Put("\t*T = Term_%s;\n\treturn\tecOk;\n}\n\n", Ident(lang.IdName));
  return stOk;
}

Status ConSymbSwitch(const Language& lang, CodeWriter& out, std::int32_t node, int indent, std::int32_t fallback,
                     int depth) {
  // One frame per open switch, innermost last; a loop rather than recursion, so that a symbol of
  // any length is written without exhausting the generator's own stack.
  std::vector<SwitchFrame> open;
  OpenSwitch(out, SwitchFrame{node, indent, fallback, depth});
  open.push_back(SwitchFrame{node, indent, fallback, depth});
  while (!open.empty()) {
    SwitchFrame& frame = open.back();
    if (frame.node == 0) {
      if (Status st = CloseSwitch(lang, out, frame); st != stOk) return st;
      open.pop_back();
      continue;
    }
    const SymbNodeRec& sym = lang.SymbTab[frame.node];
    frame.node = sym.Altr;
    const std::string p = CodeWriter::Tabs(frame.indent);
    // The switch compares characters as fgetc gives them, 0 to 255; a character constant of a
    // byte above 127 is negative where char is signed, so such a label is cast to unsigned char.
    const char ch = static_cast<char>(sym.Ch);
    out.Put(static_cast<unsigned char>(ch) > 127 ? "%s\tcase (unsigned char)'%c':\n" : "%s\tcase '%c':\n",
            {p, CaseLabel(ch)});
    if (sym.Term != 0 || sym.Next == 0) {
      if (!ValidTerminal(lang, sym.Term)) return stBadTerminalCode;
    }
    if (sym.Term != 0) {
      // Every character looked ahead so far belongs to this symbol: consume them all.
      for (int d = 0; d < frame.depth; ++d) {
        out.Put("%s\t\tif  ( ( e = CharSkip() ) != ecOk )\n", p);
        out.Put("%s\t\t\treturn\te;\n", p);
      }
    }
    if (sym.Next == 0) {
      out.Put("%s\t\t*T = Term_%s;\n", {p, TermIdent(lang, sym.Term)});
      out.Put("%s\t\treturn\tecOk;\n", p);
      continue;
    }
    const SwitchFrame inner = sym.Term == 0
                                  ? SwitchFrame{sym.Next, frame.indent + 2, frame.fallback, frame.depth + 1}
                                  : SwitchFrame{sym.Next, frame.indent + 2, sym.Term, 1};
    OpenSwitch(out, inner);
    open.push_back(inner);
  }
  return stOk;
}

int SymbLookahead(const Language& lang) {
  int deepest = 0;
  std::vector<std::pair<std::int32_t, int>> lists{{lang.SymbRoot, 0}};  // list head, its depth
  while (!lists.empty()) {
    const auto [head, depth] = lists.back();
    lists.pop_back();
    deepest = std::max(deepest, depth);
    for (std::int32_t n = head; n != 0; n = lang.SymbTab[n].Altr) {
      const SymbNodeRec& sym = lang.SymbTab[n];
      if (sym.Next != 0) lists.emplace_back(sym.Next, sym.Term != 0 ? 1 : depth + 1);
    }
  }
  return deepest;
}

}  // namespace parvolen
