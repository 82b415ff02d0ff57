#include "inspect/json.h"
#include "inspect/writers.h"

namespace parvolen::inspect {
namespace {

void StringArray(JsonWriter& j, const Names& names) {
  j.BeginArray();
  for (const std::string& n : names) j.String(n);
  j.EndArray();
}

void StringSetArray(JsonWriter& j, const std::vector<Names>& strings) {
  j.BeginArray();
  for (const Names& s : strings) StringArray(j, s);
  j.EndArray();
}

void Production(JsonWriter& j, const ProductionRef& p) {
  j.BeginObject().Key("number").Number(p.Number).Key("line").Number(p.Line).Key("text").String(p.Text).EndObject();
}

void Member(JsonWriter& j, const MemberRef& m) {
  j.BeginObject().Key("edge").String(m.Edge).Key("productions").BeginArray();
  for (const ProductionRef& p : m.Productions) Production(j, p);
  j.EndArray().EndObject();
}

void NamedSets(JsonWriter& j, const std::vector<NamedSet>& sets) {
  j.BeginObject();
  for (const NamedSet& s : sets) {
    j.Key(s.Name);
    StringSetArray(j, s.Strings);
  }
  j.EndObject();
}

void Summary(JsonWriter& j, const SummaryReport& s) {
  j.BeginObject().Key("language").String(s.Language).Key("tables").BeginArray();
  for (const TableUse& t : s.Tables)
    j.BeginObject().Key("name").String(t.Name).Key("count").Number(t.Count).Key("capacity").Number(t.Capacity).EndObject();
  j.EndArray().Key("specialTerminals").BeginArray();
  for (const SpecialTerminal& t : s.Specials)
    j.BeginObject().Key("key").String(t.Key).Key("name").String(t.Name).Key("terminal").Number(t.Number).EndObject();
  j.EndArray().Key("startingSymbol").String(s.StartingSymbol).Key("lookahead").Number(s.Lookahead);
  j.Key("options").BeginObject();
  for (const auto& [name, value] : s.Options) j.Key(name).Bool(value);
  j.EndObject().EndObject();
}

void Nonterminal(JsonWriter& j, const NonterminalReport& n) {
  j.BeginObject().Key("name").String(n.Name).Key("number").Number(n.Number);
  j.Key("productive").Bool(n.Productive).Key("reachable").Bool(n.Reachable).Key("productions").BeginArray();
  for (const ProductionRef& p : n.Productions) Production(j, p);
  j.EndArray().Key("views");
  if (n.Views.empty()) j.Null();
  else NamedSets(j, n.Views);
  j.Key("textbook");
  if (n.Textbook.empty()) j.Null();
  else NamedSets(j, n.Textbook);
  j.EndObject();
}

void Choice(JsonWriter& j, const ChoiceReport& c) {
  j.BeginObject().Key("nonterminal").String(c.Nonterminal).Key("where").String(c.Where).Key("members").BeginArray();
  for (const MemberRef& m : c.Members) Member(j, m);
  j.EndArray().Key("decisions").BeginArray();
  for (const DecisionRow& d : c.Decisions) {
    j.BeginObject().Key("string");
    StringArray(j, d.String);
    j.Key("member");
    if (d.Member.Edge.empty()) j.Null();
    else Member(j, d.Member);
    j.EndObject();
  }
  j.EndArray().Key("loop").Bool(c.Loop);
  if (c.Loop) {
    j.Key("loopTerminals");
    StringArray(j, c.LoopTerms);
  }
  j.EndObject();
}

void Warning(JsonWriter& j, const WarningReport& w) {
  j.BeginObject().Key("kind").String(w.Kind).Key("nonterminal").String(w.Nonterminal).Key("where").String(w.Where);
  j.Key("member");
  Member(j, w.Member);
  j.Key("terminals");
  StringArray(j, w.Terminals);
  j.Key("example");
  if (!w.HaveExample) {
    j.Null();
  } else {
    j.BeginObject().Key("before");
    StringArray(j, w.Before);
    j.Key("after");
    StringArray(j, w.After);
    j.EndObject();
  }
  j.Key("explanation").String(w.Explanation).Key("suggestion").String(w.Suggestion).EndObject();
}

void Failure(JsonWriter& j, const FailureReport& f) {
  j.BeginObject().Key("status").Number(f.Code).Key("message").String(f.Message);
  j.Key("line").Number(f.Line).Key("text").String(f.Text).Key("atEnd").Bool(f.AtEnd);
  if (f.HaveReentry) {
    j.Key("reentry").BeginObject().Key("view").String(f.View).Key("nonterminal").String(f.Reentered);
    j.Key("depth").Number(f.Depth).Key("chain").BeginArray();
    for (const ChainStep& s : f.Chain) {
      j.BeginObject().Key("role").String(s.Role).Key("edge").String(s.Edge).Key("productions").BeginArray();
      for (const ProductionRef& p : s.Productions) Production(j, p);
      j.EndArray().EndObject();
    }
    j.EndArray().EndObject();
  }
  if (f.HaveConflict) {
    j.Key("conflict").BeginObject().Key("nonterminal").String(f.Nonterminal).Key("where").String(f.Where);
    j.Key("holder");
    Member(j, f.Holder);
    j.Key("claimant");
    Member(j, f.Claimant);
    j.Key("string");
    StringArray(j, f.Claimed);
    j.Key("reach");
    if (f.HaveReach) StringArray(j, f.Reach);
    else j.Null();
    j.EndObject();
  }
  j.EndObject();
}

void Selected(JsonWriter& j, const EmbeddedMember& m) {
  if (m.Leave) j.String("leave the loop");
  else Member(j, m.Member);
}

void Embedded(JsonWriter& j, const EmbeddedReport& e) {
  j.BeginObject().Key("status").Number(e.Code).Key("depth").Number(e.Depth).Key("choices").BeginArray();
  for (const EmbeddedChoice& c : e.Choices) {
    j.BeginObject().Key("nonterminal").String(c.Nonterminal).Key("where").String(c.Where).Key("loop").Bool(c.Loop);
    j.Key("lookahead").Number(c.Lookahead).Key("decisions").BeginArray();
    for (const EmbeddedRow& row : c.Rows) {
      j.BeginObject().Key("string");
      StringArray(j, row.String);
      j.Key("member");
      Selected(j, row.Selects);
      j.EndObject();
    }
    j.EndArray().Key("conflict");
    if (!c.Conflict) {
      j.Null();
    } else {
      const EmbeddedConflict& k = *c.Conflict;
      j.BeginObject().Key("holder");
      Selected(j, k.Holder);
      j.Key("claimant");
      Selected(j, k.Claimant);
      j.Key("string");
      StringArray(j, k.Shared);
      j.Key("reach");
      if (k.HaveReach) StringArray(j, k.Reach);
      else j.Null();
      j.Key("preference");
      if (k.Preference.empty()) j.Null();
      else j.String(k.Preference);
      j.EndObject();
    }
    j.EndObject();
  }
  j.EndArray().EndObject();
}

}  // namespace

std::string WriteJson(const Report& r) {
  JsonWriter j;
  j.BeginObject().Key("file").String(r.File).Key("status").Number(r.Code);
  j.Key("console");
  StringArray(j, r.Console);
  j.Key("summary");
  if (r.HaveRecord) Summary(j, r.Summary);
  else j.Null();
  j.Key("analysed").Bool(r.Analysed).Key("nonterminals").BeginArray();
  for (const NonterminalReport& n : r.Nonterminals) Nonterminal(j, n);
  j.EndArray().Key("choices").BeginArray();
  for (const ChoiceReport& c : r.Choices) Choice(j, c);
  j.EndArray().Key("textbook").BeginObject().Key("k").Number(r.TextbookK).Key("complete").Bool(r.TextbookComplete);
  j.EndObject().Key("warnings").BeginArray();
  for (const WarningReport& w : r.Warnings) Warning(j, w);
  j.EndArray().Key("failure");
  if (r.Failure) Failure(j, *r.Failure);
  else j.Null();
  if (r.Embedded) {
    j.Key("embedded");
    Embedded(j, *r.Embedded);
  }
  j.EndObject();
  return j.Text() + "\n";
}

}  // namespace parvolen::inspect
