#include "findings/references.h"

namespace parvolen {

ProductionRef RefTo(const Grammar& grammar, std::int32_t prod) {
  const auto& prods = grammar.Productions();
  if (prod < 1 || static_cast<std::size_t>(prod) >= prods.size()) return {prod, 0, ""};
  return {prod, prods[prod].Line, prods[prod].Text};
}

MemberRef MemberOf(const Grammar& grammar, std::int32_t edge) {
  MemberRef m{grammar.EdgeText(edge), {}};
  for (std::int32_t p : grammar.ProductionsBelow(edge)) m.Productions.push_back(RefTo(grammar, p));
  return m;
}

Names TermNames(const Grammar& grammar, const std::vector<std::int32_t>& terms) {
  Names names;
  for (std::int32_t t : terms) {
    const std::int32_t term = t == 0 ? grammar.Lang().EoiCode : t;
    names.push_back(term == 0 ? "the end of the input" : grammar.TermName(term));
  }
  return names;
}

}  // namespace parvolen
