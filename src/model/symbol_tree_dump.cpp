#include "model/symbol_tree_dump.h"

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

namespace parvolen {
namespace {

std::string CharText(signed char ch) {
  const unsigned char code = static_cast<unsigned char>(ch);
  if (code >= 0x20 && code < 0x7f) return std::string(1, static_cast<char>(code));
  char hex[8];
  std::snprintf(hex, sizeof hex, "\\x%02X", code);
  return hex;
}

}  // namespace

std::string DumpSymbolTree(const Language& lang) {
  std::string out;
  if (!lang.SymbTab.Exists()) return out;
  // Depth-first without recursion, so a long shape cannot exhaust the stack.
  std::vector<std::pair<std::int32_t, std::size_t>> pending;  // node, depth
  if (lang.SymbRoot != 0) pending.emplace_back(lang.SymbRoot, 0);
  while (!pending.empty()) {
    const auto [node, depth] = pending.back();
    pending.pop_back();
    const SymbNodeRec& rec = lang.SymbTab[node];
    out.append(2 * depth, ' ');
    out += '\'' + CharText(rec.Ch) + '\'';
    if (rec.Term != 0) out += ' ' + std::to_string(rec.Term);
    out += '\n';
    if (rec.Altr != 0) pending.emplace_back(rec.Altr, depth);
    if (rec.Next != 0) pending.emplace_back(rec.Next, depth + 1);
  }
  return out;
}

}  // namespace parvolen
