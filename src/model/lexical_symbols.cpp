#include "model/lexical_symbols.h"

#include <string>

#include "base/console.h"
#include "base/text.h"
#include "model/symbol_tables.h"

namespace parvolen {

Status NewKeyword(Language* lang, std::string_view shape, std::int32_t t) {
  if (lang == nullptr) return stNotAllocated;
  Language& l = *lang;
  const TableGrowth grow{l.KwdTab, l.Keywords, l.LastKeyword, stTooManyKeywords};
  if (Status st = grow.Ready(); st != stOk) return st;
  // Record 0 holds the shape as cut to its field, the key the earlier shapes are compared with.
  l.KwdTab[0].Shape.Set(shape);
  const std::int32_t i = l.KwdIndex.Find(l.KwdTab[0].Shape.View(), &l.KwdTab[0], l.LastKeyword,
                                         [&l](std::int32_t k) { return l.KwdTab[k].Shape.View(); });
  if (i != 0) return stKeywordDefined;
  std::int32_t number = 0;
  if (Status st = grow.Take(number); st != stOk) return st;
  KeywordRec& k = l.KwdTab[number];
  k.Shape.Set(shape);
  k.T = t;
  return stOk;
}

Status SymbNew(Language* lang, std::int32_t* link) {
  if (lang == nullptr || link == nullptr) {
    PrintDiagHeader("SymbNew");
    if (lang == nullptr) Print(" Language store\n");
    if (link == nullptr) Print(" Destination space\n");
    return stNotAllocated;
  }
  return TableGrowth{lang->SymbTab, lang->SymbNodes, lang->LastSymbNode, stTooManySymbNodes}.Append(*link);
}

Status SymbIns(Language* lang, std::int32_t* head, char ch, std::int32_t term, std::int32_t** next) {
  if (lang == nullptr || head == nullptr || next == nullptr) {
    PrintDiagHeader("SymbIns");
    if (lang == nullptr) Print(" Language store\n");
    if (head == nullptr) Print(" Destination space\n");
    if (next == nullptr) Print(" Next item handle\n");
    return stNotAllocated;
  }
  Language& l = *lang;
  const signed char key = static_cast<signed char>(ch);
  std::int32_t* link = head;
  while (*link != 0 && l.SymbTab[*link].Ch < key) link = &l.SymbTab[*link].Altr;

  if (*link != 0 && l.SymbTab[*link].Ch == key) {
    SymbNodeRec& node = l.SymbTab[*link];
    if (term != 0) {
      if (node.Term != 0) return stSymbolTwice;
      node.Term = term;
    }
    *next = &node.Next;
    return stOk;
  }

  // The new node takes the link's place in the list, ahead of the greater character (or the end).
  const std::int32_t greater = *link;
  if (Status st = SymbNew(lang, link); st != stOk) return st;
  SymbNodeRec& node = l.SymbTab[*link];
  node.Altr = greater;
  node.Next = 0;
  node.Term = term;
  node.Ch = key;
  *next = &node.Next;
  return stOk;
}

Status SymbNewShape(Language* lang, const char* shape, std::int32_t t) {
  if (lang == nullptr || shape == nullptr) {
    PrintDiagHeader("SymbNewShape");
    if (lang == nullptr) Print(" Language store\n");
    if (shape == nullptr) Print(" Shape store\n");
    return stNotAllocated;
  }
  std::int32_t* link = &lang->SymbRoot;
  // Every character but the last only spells a prefix; the last one carries the terminal.
  // An empty shape makes the single call for the character 0.
  const char* c = shape;
  while (*c != '\0' && c[1] != '\0') {
    if (Status st = SymbIns(lang, link, *c, 0, &link); st != stOk) return st;
    ++c;
  }
  return SymbIns(lang, link, *c, t, &link);
}

Status KeywordsLine(Language& lang, std::string_view line) {
  std::string_view name, shape;
  if (Status st = SplitAtEquals(line, name, shape); st != stOk) return st;
  std::int32_t t = 0;
  if (Status st = FindTerminal(lang, name, t); st != stOk) return st;
  return NewKeyword(&lang, shape, t);
}

Status SymbolsLine(Language& lang, std::string_view line) {
  std::string_view name, shape;
  if (Status st = SplitAtEquals(line, name, shape); st != stOk) return st;
  std::int32_t t = 0;
  if (Status st = FindTerminal(lang, name, t); st != stOk) return st;
  return SymbNewShape(&lang, std::string(shape).c_str(), t);
}

}  // namespace parvolen
