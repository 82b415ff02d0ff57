#include "codegen/embedded/header.h"

#include <string>

#include "codegen/shared/framing.h"

namespace parvolen {
namespace {

// The statuses every embeddable translator shares: name, value and the message of
// NAME_error_message. Actions of the user's own may return any other non-zero value.
struct StatusRow {
  std::string_view name;
  std::string_view message;
};
constexpr StatusRow kStatuses[] = {
    {"OK", "no error"},
    {"SYNTAX", "syntax error"},
    {"BAD_CHAR", "character that begins no terminal"},
    {"TOO_LONG", "terminal longer than the limit"},
    {"UNTERMINATED", "string, character or comment not closed before the end of the input"},
    {"TOO_DEEP", "nesting too deep"},
    {"OPEN", "cannot open the input"},
    {"READ", "cannot read the input"},
    {"WRITE", "cannot write the output"},
    {"NO_MEMORY", "out of memory"},
    {"NO_VALUE", "no value"},
    {"NOT_NUMBER", "numeric value expected"},
    {"STACK_OVERFLOW", "value stack overflow"},
    {"STACK_EMPTY", "accessing an empty value stack"},
    {"UNFINISHED", "internal: action not finished"},
};

}  // namespace

void WriteEmbeddedStatusNames(const EmbeddedPlan& x, CodeWriter& out) {
  out.Put("/* The statuses by their short names. */\nenum {\n");
  for (const StatusRow& row : kStatuses) out.Put("\t%s = %s,\n", {row.name, x.Status(row.name)});
  out.Put("\tLAST_STATUS\n};\n\n");
}

void WriteEmbeddedStatusMessages(const EmbeddedPlan& x, CodeWriter& out) {
  out.Put("const char *%s_error_message(int status) {\n", x.prefix);
  out.Put("\tswitch  ( status ) {\n");
  for (const StatusRow& row : kStatuses) out.Put("\t\tcase %s:\treturn\t\"%s\";\n", {x.Status(row.name), row.message});
  out.Put("\t\tdefault:\treturn\t\"failed in an action\";\n\t}\n}\n\n");
}

Status WriteEmbeddedHeader(const EmbeddedPlan& x, std::string_view dir) {
  const Language& lang = x.lang;
  const std::string& name = x.prefix;
  CodeWriter out;
  if (Status st = ConOpenFile(out, dir, name + ".h", "Embeddable translator: interface"); st != stOk) return st;
  out.Put("#ifndef %s_H\n#define %s_H\n\n", {x.upper, x.upper});
  out.Put("#include <stddef.h>\n#include <stdio.h>\n\n");
  out.Put("#ifdef __cplusplus\nextern \"C\" {\n#endif\n\n");

  out.Put("/* Statuses: 0 when the whole input is one sentence of `%s'. */\n", lang.Name.View());
  int value = 0;
  for (const StatusRow& row : kStatuses) out.Put("#define %s %d\n", {x.Status(row.name), std::to_string(value++)});
  out.Put("\n/* The longest terminal, in bytes. */\n");
  out.Put("#define %s_MAX_TOKEN 65536\n", x.upper);
  out.Put("/* How deep the parsing routines nest unless %s_set_max_depth says otherwise. */\n", name);
  out.Put("#define %s_DEFAULT_MAX_DEPTH 2000\n\n", x.upper);

  out.Put("/* Terminal codes, as %s_token_kind gives them. */\n", name);
  if (lang.EoiCode == 0) out.Put("#define %s_END 0\t/* the end of the input */\n", x.upper);
  for (std::int32_t t = 1; t <= lang.LastTerminal; ++t)
    out.Put("#define %s %d\n", {x.TermConst(t), std::to_string(t)});

  out.Put("\n/* All state of one translator instance. */\n");
  out.Put("typedef struct %s_parser %s_parser;\n\n", {name, name});
  out.Put("%s_parser *%s_create(void);\t/* NULL when out of memory */\n", {name, name});
  out.Put("void %s_destroy(%s_parser *p);\n\n", {name, name});
  out.Put("/* Parse a file, a stream or text in memory; 0 or a status. A parser can parse again. */\n");
  out.Put("int %s_parse_file(%s_parser *p, const char *path);\n", {name, name});
  out.Put("int %s_parse_stream(%s_parser *p, FILE *in, const char *name);\n", {name, name});
  out.Put("int %s_parse_buffer(%s_parser *p, const char *text, size_t length, const char *name);\n\n", {name, name});
  out.Put("/* The last failure: its message, 1-based line and byte column, and what was expected. */\n");
  out.Put("const char *%s_error_message(int status);\n", name);
  out.Put("int %s_error_line(const %s_parser *p);\n", {name, name});
  out.Put("int %s_error_column(const %s_parser *p);\n", {name, name});
  out.Put("const char *%s_error_text(const %s_parser *p);\n\n", {name, name});
  out.Put("/* Recovery. With n > 0 a parse goes on after a syntax error, a byte that begins no terminal\n");
  out.Put("   or an over-long terminal: it repairs the input (deletes, inserts or replaces a terminal) or\n");
  out.Put("   skips to a terminal that can go on, and reports up to n errors in all; 0 (the default)\n");
  out.Put("   stops at the first error. The parse returns the first error's status, and\n");
  out.Put("   %s_error_line, _column and _text keep naming the first error, with its text as\n", name);
  out.Put("   without recovery. After the first error no action and no output terminal runs any more\n");
  out.Put("   (what they would see is a guessed parse); what they wrote before stays. To go on, the\n");
  out.Put("   input is parsed again from its start: a stream that cannot seek back is kept in memory\n");
  out.Put("   while it is read. An unclosed comment or terminal, nesting too deep and the failures of\n");
  out.Put("   input, output and memory end the parse. */\n");
  out.Put("void %s_set_max_errors(%s_parser *p, int n);\n", {name, name});
  out.Put("/* The errors of the last parse: how many (0 after a success, 1 without recovery), and for\n");
  out.Put("   i from 0 to count - 1 each one's line, column and text. A text tells what the recovery did,\n");
  out.Put("   as \"expected ';', found 'x' (inserted ';')\", \"(deleted 'x')\", \"(replaced by ';')\" or\n");
  out.Put("   \"(skipped to 'end')\"; without recovery the text at 0 is that of %s_error_text. */\n", name);
  out.Put("int %s_error_count(const %s_parser *p);\n", {name, name});
  out.Put("int %s_error_line_at(const %s_parser *p, int i);\n", {name, name});
  out.Put("int %s_error_column_at(const %s_parser *p, int i);\n", {name, name});
  out.Put("const char *%s_error_text_at(const %s_parser *p, int i);\n\n", {name, name});
  out.Put("/* The terminal matched last, for actions: code, text, length, 1-based line and column. */\n");
  out.Put("int %s_token_kind(const %s_parser *p);\n", {name, name});
  out.Put("const char *%s_token_text(const %s_parser *p);\n", {name, name});
  out.Put("size_t %s_token_length(const %s_parser *p);\n", {name, name});
  out.Put("int %s_token_line(const %s_parser *p);\n", {name, name});
  out.Put("int %s_token_column(const %s_parser *p);\n", {name, name});
  out.Put("/* How a terminal code is shown in messages. */\n");
  out.Put("const char *%s_terminal_text(int kind);\n\n", name);
  out.Put("/* Settings: output of the output terminals (stdout), trace of the parsing routines when\n");
  out.Put("   generated with -T (none), deepest nesting, and a pointer for the user's actions. */\n");
  out.Put("void %s_set_output(%s_parser *p, FILE *out);\n", {name, name});
  out.Put("void %s_set_trace(%s_parser *p, FILE *trace);\n", {name, name});
  out.Put("void %s_set_max_depth(%s_parser *p, int depth);\n", {name, name});
  out.Put("void %s_set_user(%s_parser *p, void *user);\n", {name, name});
  out.Put("void *%s_user(const %s_parser *p);\n", {name, name});

  if (x.UserActions()) {
    out.Put("\n/* The semantic actions, defined by the user: 0 to go on, any other value ends the parse\n");
    out.Put("   with that status. */\n");
    for (std::int32_t a = 1; a <= lang.LastAction; ++a)
      out.Put("int %s_action_%s(%s_parser *p);\n", {name, Ident(lang.ActionTab[a].Name), name});
  }
  out.Put("\n#ifdef __cplusplus\n}\n#endif\n\n#endif\n");
  return out.Close();
}

}  // namespace parvolen
