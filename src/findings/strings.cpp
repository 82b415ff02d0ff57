#include "findings/strings.h"

#include "findings/grammar.h"

namespace parvolen {
namespace {

// Walks a view trie; `budget` bounds the members visited, so a broken link cannot loop.
void CollectViews(const Language& lang, std::int32_t first, TermString& prefix, StringSet& out,
                  std::int64_t& budget) {
  for (std::int32_t v = first; v >= 1 && v <= lang.LastView && budget-- > 0; v = lang.ViewTab[v].Altr) {
    const ViewRec& view = lang.ViewTab[v];
    if (view.Term == 0) {
      out.insert(prefix);
      continue;
    }
    prefix.push_back(view.Term);
    if (view.Next == 0) out.insert(prefix);
    else CollectViews(lang, view.Next, prefix, out, budget);
    prefix.pop_back();
  }
}

void CollectNodes(const Language& lang, std::int32_t first, TermString& prefix, std::vector<Decision>& out,
                  std::int64_t& budget) {
  for (std::int32_t n = first; n >= 1 && n <= lang.LastNode && budget-- > 0; n = lang.NodeTab[n].Altr) {
    const NodeRec& node = lang.NodeTab[n];
    prefix.push_back(node.Term);
    if (node.Edge != 0 || node.Next == 0) out.push_back({prefix, node.Edge});
    else CollectNodes(lang, node.Next, prefix, out, budget);
    prefix.pop_back();
  }
}

}  // namespace

StringSet ViewStrings(const Language& lang, std::int32_t root) {
  StringSet out;
  if (!lang.ViewTab.Exists()) return out;
  TermString prefix;
  std::int64_t budget = lang.LastView;
  CollectViews(lang, root, prefix, out, budget);
  return out;
}

std::set<std::int32_t> ViewTopTerms(const Language& lang, std::int32_t root) {
  std::set<std::int32_t> terms;
  if (!lang.ViewTab.Exists()) return terms;
  std::int64_t budget = lang.LastView;
  for (std::int32_t v = root; v >= 1 && v <= lang.LastView && budget-- > 0; v = lang.ViewTab[v].Altr)
    if (lang.ViewTab[v].Term != 0) terms.insert(lang.ViewTab[v].Term);
  return terms;
}

std::vector<Decision> DecisionStrings(const Language& lang, std::int32_t root) {
  std::vector<Decision> out;
  if (!lang.NodeTab.Exists()) return out;
  TermString prefix;
  std::int64_t budget = lang.LastNode;
  CollectNodes(lang, root, prefix, out, budget);
  return out;
}

std::map<std::int32_t, std::int32_t> LevelOne(const Language& lang, std::int32_t root) {
  std::map<std::int32_t, std::int32_t> level;
  if (!lang.NodeTab.Exists()) return level;
  std::int64_t budget = lang.LastNode;
  for (std::int32_t n = root; n >= 1 && n <= lang.LastNode && budget-- > 0; n = lang.NodeTab[n].Altr)
    level[lang.NodeTab[n].Term] = lang.NodeTab[n].Edge;
  return level;
}

std::vector<std::string> NamesOf(const Grammar& grammar, const TermString& string) {
  std::vector<std::string> names;
  for (std::int32_t t : string) names.push_back(grammar.TermName(t));
  return names;
}

std::string StringText(const std::vector<std::string>& names) {
  if (names.empty()) return "λ";
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : " ") + name;
  return text;
}

std::string SetText(const std::vector<std::vector<std::string>>& strings) {
  std::string text = "{";
  for (std::size_t i = 0; i < strings.size(); ++i) text += (i == 0 ? " " : ", ") + StringText(strings[i]);
  return text + " }";
}

}  // namespace parvolen
