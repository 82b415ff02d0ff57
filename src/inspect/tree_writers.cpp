#include "inspect/tree_writers.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "codegen/embedded/header.h"
#include "inspect/json.h"

namespace parvolen::inspect {
namespace {

// A terminal's text between double quotes: quote and backslash escaped, control bytes and bytes
// that are not UTF-8 as \n, \t, \r or \xHH.
std::string Escaped(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t n = Utf8Length(text, i);
      if (n != 0) {
        out.append(text.substr(i, n));
        i += n;
        continue;
      }
    }
    char hex[8];
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c < 32 || c >= 127) {
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
    ++i;
  }
  return out + "\"";
}

// Two blanks a level; below kDeepest levels (a long right-recursive list nests that deep) the
// indentation stays at its deepest and the line begins with the level, "[137] ", so that the
// text grows with the input rather than with the square of its length.
constexpr std::size_t kDeepest = 40;
std::string Indent(std::size_t depth) {
  if (depth <= kDeepest) return std::string(2 * depth, ' ');
  return std::string(2 * kDeepest, ' ') + "[" + std::to_string(depth) + "] ";
}

std::string Place(const SyntaxNode& n) { return std::to_string(n.Line) + ":" + std::to_string(n.Column); }

std::int64_t LineOf(const Grammar& grammar, const SyntaxNode& n) {
  const auto& prods = grammar.Productions();
  return n.Production > 0 && static_cast<std::size_t>(n.Production) < prods.size()
             ? prods[static_cast<std::size_t>(n.Production)].Line
             : 0;
}

std::string TerminalName(const Grammar& grammar, std::int32_t t) {
  return t == 0 ? std::string("end of input") : grammar.TermName(t);
}

// Visits the tree in input order without recursion (a long right-recursive list nests deep):
// `enter` on every node with its depth, `leave` after a nonterminal's children.
template <typename Enter, typename Leave>
void Walk(const SyntaxTree& tree, Enter enter, Leave leave) {
  if (tree.Root < 0) return;
  std::vector<std::pair<std::int32_t, std::size_t>> stack{{tree.Root, 0}};
  enter(tree.Root, 0);
  while (!stack.empty()) {
    auto& [node, next] = stack.back();
    const SyntaxNode& n = tree.Nodes[static_cast<std::size_t>(node)];
    if (next == n.Children.size()) {
      leave(node, stack.size() - 1);
      stack.pop_back();
      continue;
    }
    const std::int32_t child = n.Children[next++];
    enter(child, stack.size());
    stack.emplace_back(child, 0);
  }
}

}  // namespace

std::string FailureLine(const ParsedInput& input) {
  const auto line = [&input](const InputFailure& f) {
    return input.Name + ":" + std::to_string(f.Line) + ":" + std::to_string(f.Column) + ": " + f.Text + "\n";
  };
  if (!input.Recovering || input.Outcome->Errors.empty()) return line(input.Outcome->Failure);
  std::string out;
  for (const InputFailure& f : input.Outcome->Errors) out += line(f);
  return out;
}

std::string WriteTreeText(const Grammar& grammar, const ParsedInput& input) {
  const ParseOutcome& outcome = *input.Outcome;
  if (!outcome.Accepted) return FailureLine(input);
  std::string out;
  Walk(
      outcome.Tree,
      [&](std::int32_t node, std::size_t depth) {
        const SyntaxNode& n = outcome.Tree.Nodes[static_cast<std::size_t>(node)];
        out += Indent(depth);
        if (n.Nonterminal != 0) {
          const std::int64_t line = LineOf(grammar, n);
          out += grammar.NontName(n.Nonterminal) + "  line " + (line != 0 ? std::to_string(line) : "?") + "\n";
        } else {
          out += "(" + TerminalName(grammar, n.Terminal) + ") " + Escaped(n.Text) + "  " + Place(n) + "\n";
        }
      },
      [](std::int32_t, std::size_t) {});
  return out;
}

std::string WriteTreeJson(const Grammar& grammar, const ParsedInput& input) {
  const ParseOutcome& outcome = *input.Outcome;
  JsonWriter j;
  j.BeginObject().Key("input").String(input.Name).Key("accepted").Bool(outcome.Accepted).Key("tree");
  if (!outcome.Accepted) {
    j.Null();
  } else {
    Walk(
        outcome.Tree,
        [&](std::int32_t node, std::size_t) {
          const SyntaxNode& n = outcome.Tree.Nodes[static_cast<std::size_t>(node)];
          j.BeginObject();
          if (n.Nonterminal != 0) {
            j.Key("nonterminal").String(grammar.NontName(n.Nonterminal));
            j.Key("line").Number(LineOf(grammar, n)).Key("children").BeginArray();
          } else {
            j.Key("terminal").String(TerminalName(grammar, n.Terminal)).Key("text").String(n.Text);
            j.Key("line").Number(n.Line).Key("column").Number(n.Column).EndObject();
          }
        },
        [&](std::int32_t node, std::size_t) {
          if (outcome.Tree.Nodes[static_cast<std::size_t>(node)].Nonterminal != 0) j.EndArray().EndObject();
        });
  }
  j.Key("error");
  if (outcome.Accepted) {
    j.Null();
  } else {
    const InputFailure& f = outcome.Failure;
    j.BeginObject().Key("status").String(EmbeddedStatusName(f.Status)).Key("line").Number(f.Line);
    j.Key("column").Number(f.Column).Key("text").String(f.Text).EndObject();
  }
  if (input.Recovering) {
    j.Key("errors").BeginArray();
    for (const InputFailure& f : outcome.Errors) {
      j.BeginObject().Key("line").Number(f.Line).Key("column").Number(f.Column);
      j.Key("text").String(f.Text).EndObject();
    }
    j.EndArray();
  }
  return j.EndObject().Text() + "\n";
}

std::string WriteTreeDot(const Grammar& grammar, const ParsedInput& input) {
  const ParseOutcome& outcome = *input.Outcome;
  // A Graphviz string of the label: its quotes and backslashes escaped once more.
  const auto quoted = [](const std::string& label) {
    std::string out = "\"";
    for (const char c : label) {
      if (c == '\n') {
        out += "\\n";
        continue;
      }
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    return out + "\"";
  };
  std::string out;
  if (!outcome.Accepted) {
    const std::string failures = FailureLine(input);
    for (std::size_t at = 0; at < failures.size();) {
      const std::size_t end = failures.find('\n', at);
      out += "// " + failures.substr(at, end - at + 1);
      at = end + 1;
    }
  }
  out += "digraph tree {\n  ordering=out;\n  node [fontname=\"Helvetica\"];\n";
  Walk(
      outcome.Accepted ? outcome.Tree : SyntaxTree{},
      [&](std::int32_t node, std::size_t) {
        const SyntaxNode& n = outcome.Tree.Nodes[static_cast<std::size_t>(node)];
        const std::string id = "n" + std::to_string(node);
        if (n.Nonterminal != 0) {
          const std::int64_t line = LineOf(grammar, n);
          out += "  " + id + " [shape=ellipse, label=" +
                 quoted(grammar.NontName(n.Nonterminal) + "\nline " + (line != 0 ? std::to_string(line) : "?")) + "];\n";
        } else {
          out += "  " + id + " [shape=box, label=" +
                 quoted(TerminalName(grammar, n.Terminal) + "\n" + Escaped(n.Text) + "\n" + Place(n)) + "];\n";
        }
        if (n.Parent >= 0) out += "  n" + std::to_string(n.Parent) + " -> " + id + ";\n";
      },
      [](std::int32_t, std::size_t) {});
  return out + "}\n";
}

}  // namespace parvolen::inspect
