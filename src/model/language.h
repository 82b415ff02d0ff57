// The Language record: every option, name, table and count read from one description,
// and the small pool of records named by handles 1 to 3.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/status.h"
#include "model/fixed_text.h"
#include "model/key_index.h"
#include "model/table.h"
#include "model/text_index.h"

namespace parvolen {

// Edge types (WhoAmI) of the production tries.
enum : std::int32_t {
  kEdgeTerminal = 1,
  kEdgeNonterminal = 2,
  kEdgeAction = 3,
  kEdgeOutput = 4,
  kEdgeEnd = 5,
};

struct AnalysisTrace;

struct TermRec {
  parvolen::Name Name;
};

struct NontRec {
  parvolen::Name Name;
  std::int32_t ProdEdges;  // trie of productions that do not begin with this nonterminal
  std::int32_t RecEdges;   // trie of the tails of its left-recursive productions
  std::int32_t FolEdges;   // follow trie
  std::int32_t ProdNodes;  // decision list of the ProdEdges root list
  std::int32_t RecNodes;   // decision list of the RecEdges root list
  std::int32_t First;
  std::int32_t Follow;
  std::int32_t NLRF;
  std::int32_t DLRF;
  std::int32_t PureDLRF;
};

struct OutTermRec {
  parvolen::Name Name;
  FixedText<51> Shape;  // text written for it, at most 50 characters
};

struct ActionRec {
  parvolen::Name Name;
  std::int32_t FirstInst;  // first semantic instruction; 0 = none
};

struct KeywordRec {
  std::int32_t T;  // terminal produced by this shape
  parvolen::Name Shape;
};

struct SymbNodeRec {
  signed char Ch;     // compared as a signed 8-bit value
  std::int32_t Term;  // terminal recognised when a symbol ends here; 0 = none
  std::int32_t Next;
  std::int32_t Altr;
};

// A line of [Tokens], read only for the embeddable translator: how a terminal is lexed, text to
// skip, or a named fragment that later patterns use as {name}.
enum class TokenDefKind { Token, Skip, Fragment };
struct TokenDef {
  TokenDefKind Kind = TokenDefKind::Token;
  std::int32_t Term = 0;  // the terminal of a Token line
  std::string Name;       // the terminal's or the fragment's name; "skip" for Skip
  std::string Pattern;    // the regular expression as written
  std::int32_t Line = 0;  // 1-based line of the description, for diagnostics
};

// Where a production written out from a line with groups stands in that line, read only for
// the embeddable translator: the span of each symbol of its plain right side (a left-recursive
// one's leading [Owner] included) and of the whole, in bytes of the trimmed line.
struct TextSpan {
  std::uint32_t Offset = 0;
  std::uint32_t Length = 0;
};
struct ProdOrigin {
  std::int32_t Prod = 0;
  std::int32_t Line = 0;          // 1-based line of the description
  TextSpan Whole;                 // the right side, or the group that a fresh nonterminal stands for
  std::vector<TextSpan> Symbols;  // one per symbol of the plain right side
};

struct EdgeRec {
  std::int32_t Next;
  std::int32_t Altr;
  std::int32_t Node;
  std::int32_t Code;
  std::int32_t WhoAmI;
};

struct ProdRec {
  std::int32_t Nont;
  FixedText<152> Text;  // the production line, its first 150 characters are compared
};

struct ViewRec {
  std::int32_t Next;
  std::int32_t Altr;
  std::int32_t Term;  // 0 = lambda view
};

struct NodeRec {
  std::int32_t Next;
  std::int32_t Altr;
  std::int32_t Term;
  std::int32_t Edge;  // member selected; 0 when the next level decides
};

// Work flags of the view construction: one row per nonterminal, one column per remaining lookahead.
struct MarkRow {
  std::uint8_t Depth[6];
};

// Immediate kinds of a semantic instruction.
enum : std::int32_t {
  kImmNone = 0,
  kImmString = 1,
  kImmChar = 2,
  kImmInt = 3,
  kImmIdent = 4,
};

struct SemInst {
  std::int32_t Opcode;
  std::int32_t Dst;
  std::int32_t Src;
  std::int32_t Spare;
  std::int32_t ImmType;
  // The immediate: a character code (kind 2), an integer (kind 3), or for strings and
  // identifiers (kinds 1 and 4) the index of the text in Language::ImmStrings.
  std::int32_t ImmVal;
};

struct Language {
  std::int32_t Extensible = 0;
  std::int32_t Extended = 0;
  std::int32_t Lookahead = 0;
  std::int32_t AllAheads = 0;
  std::int32_t UseChars = 0;
  std::int32_t UseStrings = 0;
  std::int32_t CaseSensitive = 0;
  std::int32_t IgnoreValues = 0;
  std::int32_t StackSize = 0;
  std::int32_t Terminals = 0;
  std::int32_t LastTerminal = 0;
  std::int32_t Nonterminals = 0;
  std::int32_t LastNonterminal = 0;
  std::int32_t Actions = 0;
  std::int32_t LastAction = 0;
  std::int32_t OutTerms = 0;
  std::int32_t LastOutTerm = 0;
  std::int32_t Productions = 0;
  std::int32_t LastProduction = 0;
  std::int32_t Views = 0;
  std::int32_t LastView = 0;
  std::int32_t Keywords = 0;
  std::int32_t LastKeyword = 0;
  std::int32_t Edges = 0;
  std::int32_t LastEdge = 0;
  std::int32_t Nodes = 0;
  std::int32_t LastNode = 0;
  std::int32_t SymbNodes = 0;
  std::int32_t LastSymbNode = 0;
  std::int32_t SemInsts = 0;
  std::int32_t LastSemInst = 0;
  std::int32_t EoiCode = 0;
  std::int32_t IdTerm = 0;
  std::int32_t StrTerm = 0;
  std::int32_t CharTerm = 0;
  std::int32_t NumTerm = 0;
  std::int32_t StartNont = 0;
  std::int32_t SymbRoot = 0;
  Table<TermRec> TermTab;
  Table<NontRec> NontTab;
  Table<OutTermRec> OutTermTab;
  Table<ActionRec> ActionTab;
  Table<KeywordRec> KwdTab;
  Table<EdgeRec> EdgeTab;
  Table<ProdRec> ProdTab;
  Table<ViewRec> ViewTab;
  Table<NodeRec> NodeTab;
  Table<SymbNodeRec> SymbTab;
  Table<MarkRow> FirstMarks;
  Table<MarkRow> FollowMarks;
  Table<SemInst> SemInstTab;
  char CharDelim = 0;
  char StrDelim = 0;
  char OutStrDelim = 0;
  char OutCharDelim = 0;
  parvolen::Name Name{};
  parvolen::Name IdName{};
  parvolen::Name NumName{};
  parvolen::Name CharName{};
  parvolen::Name StrName{};
  parvolen::Name EofName{};
  parvolen::Name EolName{};
  parvolen::Name StartingSymbol{};
  // Lexical keys of the embeddable translator; [Language] knows them only when EmbeddedKeys is set.
  std::int32_t EmbeddedKeys = 0;
  parvolen::Name LineComment{};   // text that starts a comment running to the line end
  parvolen::Name BlockComment{};  // the texts that open and close a comment, separated by blanks
  std::int32_t NestedComments = 0;
  parvolen::Name IdChars{};       // characters allowed in identifiers after the first, besides letters and digits
  std::vector<TokenDef> TokenDefs;  // the lines of [Tokens], in their order
  std::vector<ProdOrigin> ProdOrigins;  // the productions written out from lines with groups, ascending
  std::vector<std::int32_t> PreferredEdges;  // edges that win a conflict at their choice, ascending
  std::int32_t ReadingLine = 0;     // the description line a line handler is given, set by the reader
  // Lookup indexes of the name tables and of the production lines; derived from the tables.
  TextIndex TermIndex;
  TextIndex NontIndex;
  TextIndex OutTermIndex;
  TextIndex ActionIndex;
  TextIndex ProdIndex;
  TextIndex KwdIndex;
  // For each edge list, the edge that EdgeIns found or made there last: productions that come
  // in the order of their symbols then walk a long list only once. Derived, like the indexes.
  // Keyed by the address of the list's slot.
  KeyIndex EdgeFingers;
  // Heap copies of string immediates of the semantic instructions; owned by the record.
  std::vector<std::string> ImmStrings;
  // Filled by the grammar analysis when a tool that explains grammars attaches one; not owned.
  AnalysisTrace* Trace = nullptr;

  // Frees every table and sets its count to 0.
  void ReleaseTables();
};

// True when the edge wins a conflict at its choice (a preference of the embeddable translator).
[[nodiscard]] bool EdgePreferred(const Language& lang, std::int32_t edge);
// Marks the edge as one that wins a conflict at its choice.
void PreferEdge(Language& lang, std::int32_t edge);

// The pool of three records named by the handles 1, 2 and 3.
class LanguagePool {
 public:
  static constexpr std::int32_t kSize = 3;

  // Takes the lowest free handle and zeroes its record; stTooManyLanguages when all are in use.
  [[nodiscard]] Status Create(std::int32_t& handle);
  // stOk for a handle in use, else stBadLanguageHandle.
  [[nodiscard]] Status Check(std::int32_t handle) const;
  // The record of a valid handle, or nullptr.
  [[nodiscard]] Language* Record(std::int32_t handle);
  // The handle of a record of this pool, 0 when it is none.
  [[nodiscard]] std::int32_t HandleOf(const Language* record) const;
  // stNotAllocated without a record, else Check of its handle.
  [[nodiscard]] Status CheckRecord(const Language* record) const;
  // Frees the record's tables and the handle; stBadLanguageHandle for an invalid handle.
  Status Release(std::int32_t handle);

 private:
  std::array<Language, kSize> records_{};
  std::array<bool, kSize> inUse_{};
};

}  // namespace parvolen
