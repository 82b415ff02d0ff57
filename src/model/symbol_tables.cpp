#include "model/symbol_tables.h"

namespace parvolen {
namespace {

// What distinguishes one name table from another: its block, capacity, count and statuses.
template <class Record>
struct NameTable {
  Table<Record>& tab;
  std::int32_t capacity;
  std::int32_t& last;
  Status tooMany;
  Status defined;
  Status unknown;
  TextIndex& index;
};

template <class Record>
std::int32_t Search(NameTable<Record>& t, std::string_view name) {
  // Record 0 holds the name as cut to its field, the key the entries are compared with.
  t.tab[0].Name.Set(name);
  return t.index.Find(Name::Cut(name), &t.tab[0], t.last, [&t](std::int32_t i) { return t.tab[i].Name.View(); });
}

template <class Record>
Status Find(NameTable<Record> t, std::string_view name, std::int32_t& number) {
  if (!t.tab.Exists()) return stNotAllocated;
  const std::int32_t i = Search(t, name);
  if (i == 0) return t.unknown;
  number = i;
  return stOk;
}

template <class Record>
Status New(NameTable<Record> t, std::string_view name, std::int32_t& number) {
  const TableGrowth grow{t.tab, t.capacity, t.last, t.tooMany};
  if (Status st = grow.Ready(); st != stOk) return st;
  if (const std::int32_t i = Search(t, name); i != 0) {
    number = i;
    return t.defined;
  }
  if (Status st = grow.Take(number); st != stOk) return st;
  t.tab[number].Name.Set(name);
  return stOk;
}

NameTable<TermRec> Terms(Language& l) {
  return {l.TermTab, l.Terminals, l.LastTerminal, stTooManyTerminals, stTerminalDefined, stUnknownTerminal,
          l.TermIndex};
}
NameTable<NontRec> Nonts(Language& l) {
  return {l.NontTab, l.Nonterminals, l.LastNonterminal, stTooManyNonterminals, stNonterminalDefined,
          stUnknownNonterminal, l.NontIndex};
}
NameTable<OutTermRec> OutTerms(Language& l) {
  return {l.OutTermTab, l.OutTerms, l.LastOutTerm, stTooManyOutTerms, stOutTermDefined, stUnknownOutTerm,
          l.OutTermIndex};
}
NameTable<ActionRec> Actions(Language& l) {
  return {l.ActionTab, l.Actions, l.LastAction, stTooManyActions, stActionDefined, stUnknownAction,
          l.ActionIndex};
}

}  // namespace

Status FindTerminal(Language& lang, std::string_view name, std::int32_t& number) { return Find(Terms(lang), name, number); }
Status FindNonterminal(Language& lang, std::string_view name, std::int32_t& number) { return Find(Nonts(lang), name, number); }
Status FindOutTerm(Language& lang, std::string_view name, std::int32_t& number) { return Find(OutTerms(lang), name, number); }
Status FindAction(Language& lang, std::string_view name, std::int32_t& number) { return Find(Actions(lang), name, number); }

Status NewTerminal(Language& lang, std::string_view name, std::int32_t& number) { return New(Terms(lang), name, number); }
Status NewNonterminal(Language& lang, std::string_view name, std::int32_t& number) { return New(Nonts(lang), name, number); }
Status NewOutTerm(Language& lang, std::string_view name, std::int32_t& number) { return New(OutTerms(lang), name, number); }
Status NewAction(Language& lang, std::string_view name, std::int32_t& number) { return New(Actions(lang), name, number); }

Status TerminalsLine(Language& l, std::string_view line) {
  std::int32_t no = 0;
  return NewTerminal(l, line, no);
}
Status NonterminalsLine(Language& l, std::string_view line) {
  std::int32_t no = 0;
  return NewNonterminal(l, line, no);
}
Status OutTermsLine(Language& l, std::string_view line) {
  std::int32_t no = 0;
  return NewOutTerm(l, line, no);
}
Status ActionsLine(Language& l, std::string_view line) {
  std::int32_t no = 0;
  return NewAction(l, line, no);
}

Status TerminalsEnd(LanguagePool& pool, std::int32_t handle) {
  Language* l = pool.Record(handle);
  if (l == nullptr) return stBadLanguageHandle;
  struct Special {
    const Name& name;
    std::int32_t& number;
  };
  const Special specials[] = {{l->IdName, l->IdTerm},
                              {l->NumName, l->NumTerm},
                              {l->CharName, l->CharTerm},
                              {l->StrName, l->StrTerm},
                              {l->EofName, l->EoiCode}};
  for (const Special& s : specials) {
    if (s.name.Empty()) continue;
    Status st = FindTerminal(*l, s.name.View(), s.number);
    if (st == stUnknownTerminal) return stSpecialTerminalUnknown;
    if (st != stOk) return st;
  }
  return stOk;
}

Status NonterminalsEnd(LanguagePool& pool, std::int32_t handle) {
  Language* l = pool.Record(handle);
  if (l == nullptr) return stBadLanguageHandle;
  if (!l->NontTab.Exists()) return stNotAllocated;
  // An empty name selects nothing, even if some line declared an empty nonterminal name.
  if (l->StartingSymbol.Empty()) return stUnknownNonterminal;
  return FindNonterminal(*l, l->StartingSymbol.View(), l->StartNont);
}

}  // namespace parvolen
