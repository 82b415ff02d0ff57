#include "findings/places.h"

#include <algorithm>

namespace parvolen {

const ReadProgress::Line* DescriptionPlaces::LineAt(std::int64_t number) const {
  const auto& lines = progress_.Handled;  // in the order read: ascending numbers
  const auto at = std::lower_bound(lines.begin(), lines.end(), number,
                                   [](const ReadProgress::Line& line, std::int64_t n) { return line.Number < n; });
  return at != lines.end() && at->Number == number ? &*at : nullptr;
}

Diagnostic DescriptionPlaces::At(std::int64_t number, std::size_t offset, std::size_t length) const {
  Diagnostic d;
  d.File = file_;
  const ReadProgress::Line* line = LineAt(number);
  if (line == nullptr) return d;
  offset = std::min(offset, line->Text.size());
  d.Line = number;
  d.Column = line->Column + static_cast<std::int32_t>(offset);
  d.Length = static_cast<std::int32_t>(std::max<std::size_t>(std::min(length, line->Text.size() - offset), 1));
  d.Source = line->Source;
  return d;
}

Diagnostic DescriptionPlaces::AtLine(std::int64_t number) const {
  const ReadProgress::Line* line = LineAt(number);
  return At(number, 0, line != nullptr ? line->Text.size() : 0);
}

Diagnostic DescriptionPlaces::AtEdge(const Grammar& grammar, std::int32_t prod, std::int32_t edge) const {
  const auto& prods = grammar.Productions();
  if (prod < 1 || static_cast<std::size_t>(prod) >= prods.size()) return At(0, 0, 0);
  const Production& p = prods[prod];
  const auto at = std::find(p.Path.begin(), p.Path.end(), edge);
  const ReadProgress::Line* line = LineAt(p.Line);
  std::size_t offset = 0, length = 0;
  // A left-recursive production keeps its leading [Owner] out of the path.
  const auto index = static_cast<std::size_t>(at - p.Path.begin()) + (p.LeftRecursive ? 1 : 0);
  if (line == nullptr) return AtLine(p.Line);
  if (!p.Symbols.empty() || p.Whole.Length != 0) {
    // Written out from a line with groups: the symbol where it is written, else the group.
    if (at != p.Path.end() && index < p.Symbols.size()) return At(p.Line, p.Symbols[index].Offset, p.Symbols[index].Length);
    const std::string written = grammar.EdgeText(edge);
    for (std::size_t i = 0; i < p.Symbols.size(); ++i)
      if (line->Text.compare(p.Symbols[i].Offset, p.Symbols[i].Length, written) == 0)
        return At(p.Line, p.Symbols[i].Offset, p.Symbols[i].Length);
    return At(p.Line, p.Whole.Offset, p.Whole.Length);
  }
  if (at != p.Path.end()) {
    if (SymbolSpan(line->Text, index, offset, length)) return At(p.Line, offset, length);
    return AtLine(p.Line);
  }
  // An edge of a follow trie stands for a symbol of the production: the first one written alike.
  const std::string written = grammar.EdgeText(edge);
  for (std::size_t i = 0; SymbolSpan(line->Text, i, offset, length); ++i)
    if (line->Text.compare(offset, length, written) == 0) return At(p.Line, offset, length);
  return AtLine(p.Line);
}

bool SymbolSpan(std::string_view production, std::size_t index, std::size_t& offset, std::size_t& length) {
  const std::size_t defines = production.find("::=");
  if (defines == std::string_view::npos) return false;
  std::size_t pos = production.find_first_not_of(" \t", defines + 3);
  for (std::size_t i = 0; pos != std::string_view::npos && pos < production.size(); ++i) {
    const char open = production[pos];
    const char close = open == '(' ? ')' : open == '[' ? ']' : open == '{' ? '}' : open == '<' ? '>' : '\0';
    if (close == '\0') return false;
    const std::size_t end = production.find(close, pos + 1);
    if (end == std::string_view::npos) return false;
    if (i == index) {
      offset = pos;
      length = end + 1 - pos;
      return true;
    }
    pos = end + 1;
  }
  return false;
}

}  // namespace parvolen
