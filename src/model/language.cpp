#include "model/language.h"

#include <algorithm>

namespace parvolen {

void Language::ReleaseTables() {
  auto drop = [](auto& table, std::int32_t& count) {
    if (table.Exists()) {
      table.Release();
      count = 0;
    }
  };
  std::int32_t noCount = 0;
  drop(TermTab, LastTerminal);
  drop(NontTab, LastNonterminal);
  drop(OutTermTab, LastOutTerm);
  drop(ActionTab, LastAction);
  drop(KwdTab, LastKeyword);
  drop(EdgeTab, LastEdge);
  drop(ProdTab, LastProduction);
  drop(ViewTab, LastView);
  drop(NodeTab, LastNode);
  drop(SymbTab, LastSymbNode);
  drop(FirstMarks, noCount);
  drop(FollowMarks, noCount);
  drop(SemInstTab, LastSemInst);
  ImmStrings.clear();
  EdgeFingers.Clear();
  for (TextIndex* index : {&TermIndex, &NontIndex, &OutTermIndex, &ActionIndex, &ProdIndex, &KwdIndex}) index->Clear();
}

bool EdgePreferred(const Language& lang, std::int32_t edge) {
  return std::binary_search(lang.PreferredEdges.begin(), lang.PreferredEdges.end(), edge);
}

void PreferEdge(Language& lang, std::int32_t edge) {
  auto& edges = lang.PreferredEdges;
  const auto at = std::lower_bound(edges.begin(), edges.end(), edge);
  if (at == edges.end() || *at != edge) edges.insert(at, edge);
}

Status LanguagePool::Create(std::int32_t& handle) {
  for (std::int32_t i = 0; i < kSize; ++i) {
    if (!inUse_[i]) {
      inUse_[i] = true;
      records_[i] = Language{};
      handle = i + 1;
      return stOk;
    }
  }
  return stTooManyLanguages;
}

Status LanguagePool::Check(std::int32_t handle) const {
  if (handle < 1 || handle > kSize || !inUse_[handle - 1]) return stBadLanguageHandle;
  return stOk;
}

Language* LanguagePool::Record(std::int32_t handle) {
  if (Check(handle) != stOk) return nullptr;
  return &records_[handle - 1];
}

std::int32_t LanguagePool::HandleOf(const Language* record) const {
  for (std::int32_t i = 0; i < kSize; ++i)
    if (record == &records_[i]) return i + 1;
  return 0;
}

Status LanguagePool::CheckRecord(const Language* record) const {
  if (record == nullptr) return stNotAllocated;
  return Check(HandleOf(record));
}

Status LanguagePool::Release(std::int32_t handle) {
  if (Check(handle) != stOk) return stBadLanguageHandle;
  records_[handle - 1].ReleaseTables();
  inUse_[handle - 1] = false;
  return stOk;
}

}  // namespace parvolen
