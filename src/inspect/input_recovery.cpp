#include "inspect/input_recovery.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <utility>

#include "codegen/construct.h"
#include "codegen/embedded/header.h"
#include "codegen/embedded/parser.h"
#include "codegen/embedded/plan.h"
#include "codegen/embedded/recovery_tables.h"
#include "codegen/shared/code_writer.h"
#include "inspect/input_messages.h"

namespace parvolen::inspect {
namespace {

// The bounds of the generated runtime (codegen/embedded/recovery.cpp), with the same meaning.
constexpr int kRepairSpan = 8;     // terminals a repair is tried for
constexpr int kRepairMin = 3;      // ... and must let the parse take, unless it ends
constexpr int kResyncSpan = 3;     // terminals a frame must take after skipping
constexpr int kResyncFrames = 48;  // frames dropped at most, but for all of them
constexpr int kTrialRoom = 64;     // frames a trial may push
constexpr long kTrialSteps = 2000;
constexpr int kLoopsNamed = 8;     // tail loops left at a terminal that a message names
constexpr std::size_t kTextKept = 40;
constexpr std::size_t kErrorText = 200;  // bytes of a message kept, before what the recovery did
constexpr std::size_t kErrorRoom = 255;  // ... and with it
constexpr unsigned long kNever = ULONG_MAX;

// A terminal read while recovering: what messages show of it.
struct RecToken {
  std::int32_t Kind = 0;
  int Line = 0;
  int Column = 0;
  std::size_t Length = 0;
  std::string Text;  // at most kTextKept bytes
};

enum Edit { kNone, kDelete, kInsert, kReplace };

// The terminals a run reads: the real ones from From on, with one edit at offset At until the
// run has taken Taken past it.
struct Source {
  unsigned long From = 0;
  int Edit = kNone;
  int At = 0;
  int Term = 0;
  int Taken = 0;
};

enum Where : std::uint8_t { kAtEdge, kAtDecide, kAtLoop, kAtDone, kAtFinish };

// A routine's place. The stamps exist here only: where the generated runtime would go round
// without reading input for ever (a preference can make a grammar do that), this one stops.
struct Frame {
  std::int32_t Nont = 0;
  Where At = kAtEdge;
  int Index = 0;                  // the edge or decision
  unsigned long Since = kNever;   // the progress when the routine (re)started
  unsigned long Looped = kNever;  // ... and when it last took a tail of its loop
};

// The frames of a run: its own, above frames it shares (and copies before changing one).
struct Stack {
  Frame* Frames = nullptr;
  int Top = 0;
  int Room = 0;
  bool Grows = false;
  const Frame* Below = nullptr;
  int BelowTop = 0;
};

enum RunEnd { kRunError, kRunAccept, kRunSpan, kRunStop };

class Recovery {
 public:
  Recovery(const Language& lang, const RecoveryTables& tables, const regex::Lexicon& lexicon, std::string_view input,
           int ahead, int maxDepth, int maxErrors)
      : t_(tables),
        lexer_(lang, lexicon, input),
        words_{TerminalTexts(lang), ValuedTerminals(lang)},
        end_(lang.EoiCode),
        terminals_(lang.LastTerminal),
        start_(lang.StartNont),
        maxDepth_(maxDepth > 0 ? maxDepth : 1),
        maxErrors_(maxErrors),
        ring_(static_cast<std::size_t>(2 * ahead + 32)),
        badChar_(EmbeddedStatusValue("BAD_CHAR")),
        tooLong_(EmbeddedStatusValue("TOO_LONG")) {
    for (const RecTableArc& a : t_.Arcs) arcTerm_.push_back(a.Term == 0 ? end_ : a.Term);
  }

  std::vector<InputFailure> Run(const InputFailure& first) {
    const bool syntax = first.Status == EmbeddedStatusValue("SYNTAX");
    (void)Note(first.Line, first.Column, first.Text);
    frames_.assign(64, Frame{});
    journal_.assign(64, Frame{});
    journal1_.assign(64, Frame{});
    Stack st{frames_.data(), 1, 64, true, nullptr, 0};
    frames_[0].At = kAtFinish;
    Start(frames_[static_cast<std::size_t>(st.Top++)], start_, true);
    pendingBad_ = !syntax;
    mark_ = low_ = st.Top;
    mark1_ = -1;
    Source src;
    bool pending = syntax;
    for (;;) {
      int taken = 0;
      if (Go(st, src, true, 0, taken) != kRunError) break;
      std::string text;
      int line = 0, column = 0;
      Message(src, text, line, column);
      Restore(st);
      int record = -1;
      if (pending) {
        record = 0;
        pending = false;
      } else if (src.From < quiet_) {
        record = -1;
      } else if ((record = Note(line, column, text)) < 0) {
        break;
      }
      if (!Repair(st, src, record)) Resync(st, src, record);
      if (stop_) break;
      mark_ = low_ = st.Top;
      mark1_ = -1;
      ++progress_;
    }
    // The first error as without recovery; the others in the order of the input.
    std::stable_sort(errors_.begin() + 1, errors_.end(), [](const InputFailure& a, const InputFailure& b) {
      return a.Line < b.Line || (a.Line == b.Line && a.Column < b.Column);
    });
    errors_[0].Status = first.Status;
    return std::move(errors_);
  }

 private:
  const RecTableNont& Nont(std::int32_t n) const {
    static const RecTableNont none;
    return n >= 0 && static_cast<std::size_t>(n) < t_.Nonts.size() ? t_.Nonts[static_cast<std::size_t>(n)] : none;
  }
  const RecTableNode& Node(int i) const { return t_.Nodes[static_cast<std::size_t>(i)]; }

  // Keeps an error; its number, or -1 when there are enough already (the parse ends then).
  int Note(int line, int column, std::string_view text) {
    if (static_cast<int>(errors_.size()) >= maxErrors_) {
      stop_ = true;
      return -1;
    }
    errors_.push_back(InputFailure{0, line, column, std::string(text.substr(0, kErrorText))});
    return static_cast<int>(errors_.size()) - 1;
  }

  // Adds what the recovery did to the text of error i: " (what X)".
  void Tell(int i, std::string_view what, std::int32_t kind, const RecToken* t) {
    if (i < 0) return;
    std::string& text = errors_[static_cast<std::size_t>(i)].Text;
    AppendBounded(text, kErrorRoom, " (");
    AppendBounded(text, kErrorRoom, what);
    AppendBounded(text, kErrorRoom, " ");
    AppendBounded(text, kErrorRoom, words_.Text(kind));
    if (t != nullptr && words_.IsValued(kind)) {
      AppendBounded(text, kErrorRoom, " '");
      AppendShown(text, kErrorRoom - 1, std::string_view(t->Text).substr(0, std::min(t->Length, kTextKept)));
      AppendBounded(text, kErrorRoom, "'");
    }
    AppendBounded(text, kErrorRoom, ")");
  }

  void Keep(const InputToken& t) {
    RecToken& k = ring_[scanned_++ % ring_.size()];
    k.Kind = t.Kind;
    k.Line = t.Line;
    k.Column = t.Column;
    k.Length = t.Length;
    if (t.Length > 0) k.Text = std::string(lexer_.Text(t).substr(0, kTextKept));
  }

  // Reads the next terminal. A byte that begins none and an over-long one are reported and
  // skipped (the error at the terminal after them is not reported: it is theirs); any other
  // failure of the input ends the parse, which reads the end of the input from then on.
  void ReadOne() {
    InputToken t;
    InputFailure failure;
    for (;;) {
      if (stop_) {
        t.Kind = end_;
        t.Line = lexer_.Line();
        t.Column = lexer_.Column();
        t.Length = 0;
        break;
      }
      if (lexer_.Scan(t, failure)) break;
      if (pendingBad_) {
        pendingBad_ = false;
      } else {
        (void)Note(failure.Line, failure.Column, failure.Text);
      }
      if (failure.Status != badChar_ && failure.Status != tooLong_) {
        stop_ = true;
        continue;
      }
      lexer_.SkipFailed();
      quiet_ = std::max(quiet_, scanned_ + 1);
    }
    Keep(t);
  }

  const RecToken* TokenAt(unsigned long i) {
    while (scanned_ <= i) ReadOne();
    return &ring_[i % ring_.size()];
  }

  // The terminal at the level (1: the coming one) of the source; virt the code of an edited one
  // in its place, else -1.
  const RecToken* SourceAt(const Source& s, int level, int& virt) {
    long o = s.Taken + level - 1;
    virt = -1;
    if (s.Edit != kNone) {
      if (o == s.At && s.Edit != kDelete) {
        virt = s.Term;
        return TokenAt(s.From + static_cast<unsigned long>(o));
      }
      if (o >= s.At) o += s.Edit == kDelete ? 1 : s.Edit == kInsert ? -1 : 0;
    }
    return TokenAt(s.From + static_cast<unsigned long>(o));
  }

  std::int32_t KindAt(const Source& s, int level) {
    int virt = -1;
    const RecToken* t = SourceAt(s, level, virt);
    return virt >= 0 ? virt : t->Kind;
  }

  // Takes the coming terminal; true when it was a real one.
  static bool Take(Source& s) {
    const bool real = s.Edit == kNone || s.Edit == kDelete || s.Taken != s.At;
    s.Taken++;
    if (s.Edit == kNone) {
      s.From += static_cast<unsigned long>(s.Taken);
      s.Taken = 0;
    } else if (s.Taken > s.At) {
      s.From = s.From + static_cast<unsigned long>(s.Taken) + (s.Edit == kDelete ? 1 : 0) - (s.Edit == kInsert ? 1 : 0);
      s.Taken = 0;
      s.Edit = kNone;
    }
    return real;
  }

  static Frame* Top(Stack& s) {
    if (s.Top == 0) {
      if (s.BelowTop == 0) return nullptr;
      s.Frames[s.Top++] = s.Below[--s.BelowTop];
    }
    return &s.Frames[s.Top - 1];
  }

  // A frame at the start of the nonterminal's routine.
  void Start(Frame& f, std::int32_t nont, bool real) {
    const RecTableNont& n = Nont(nont);
    f.Nont = nont;
    f.Index = 0;
    if (n.Edge >= 0) {
      f.At = kAtEdge;
      f.Index = n.Edge;
    } else if (n.Node >= 0) {
      f.At = kAtDecide;
      f.Index = n.Node;
    } else {
      f.At = kAtLoop;
    }
    if (real) f.Since = progress_;
  }

  // The frame goes on after the edge: the next edge, the decision of the next list, or its loop.
  static void After(Frame& f, const RecTableEdge& e) {
    if (e.Next >= 0) {
      f.At = kAtEdge;
      f.Index = e.Next;
    } else if (e.NextNode >= 0) {
      f.At = kAtDecide;
      f.Index = e.NextNode;
    } else {
      f.At = kAtLoop;
    }
  }

  // The member that the decision from the node selects, kRecLeave (a loop left), or kRecNone
  // with the node and level of the error noted.
  int Decide(const Source& src, int node, bool loop) {
    for (int level = 1;; ++level) {
      const RecTableNode& n = Node(node);
      if (n.Arcs == 0) {
        if (n.Member == kRecNone) {
          errNode_ = node;
          errLevel_ = level;
        }
        return n.Member;
      }
      const std::int32_t kind = KindAt(src, level);
      int i = 0;
      while (i < n.Arcs && arcTerm_[static_cast<std::size_t>(n.Arc + i)] != kind) ++i;
      if (i == n.Arcs) {
        if (loop && level == 1) return kRecLeave;
        errNode_ = node;
        errLevel_ = level;
        return kRecNone;
      }
      node = t_.Arcs[static_cast<std::size_t>(n.Arc + i)].Node;
    }
  }

  // The real run goes round without reading input: the translator's would never end.
  RunEnd Forever(const Source& src) {
    int virt = -1;
    const RecToken* t = SourceAt(src, 1, virt);
    (void)Note(t->Line, t->Column, "the parse would repeat forever here without reading input");
    stop_ = true;
    return kRunStop;
  }

  // Makes room for twice the frames in the real run's stack and its journals.
  void Grow(Stack& s) {
    const auto room = static_cast<std::size_t>(2 * s.Room);
    frames_.resize(room);
    journal_.resize(room);
    journal1_.resize(room);
    s.Frames = frames_.data();
    s.Room *= 2;
  }

  // Runs the frames over the source until an error, the end of the input, or (span > 0) span
  // real terminals taken, counted in taken. A trial (real false) stops after kTrialSteps steps
  // or kTrialRoom frames of its own; the real run keeps the loops it leaves for messages.
  RunEnd Go(Stack& s, Source& src, bool real, int span, int& taken) {
    long steps = 0;
    for (;;) {
      Frame* f = nullptr;
      if (stop_ || (f = Top(s)) == nullptr || (!real && ++steps > kTrialSteps)) return kRunStop;
      if (real && s.Top - 1 < low_) {
        low_ = s.Top - 1;
        journal_[static_cast<std::size_t>(low_)] = *f;
      }
      switch (f->At) {
        case kAtFinish:
          if (KindAt(src, 1) == end_) return kRunAccept;
          errNode_ = -1;
          errTerm_ = end_;
          errLevel_ = 1;
          return kRunError;
        case kAtDone:
          s.Top--;
          break;
        case kAtLoop: {
          const int loop = Nont(f->Nont).Loop;
          const int m = loop < 0 ? kRecLeave : Decide(src, loop, true);
          if (m == kRecNone) return kRunError;
          if (m == kRecLeave) {
            if (real && loop >= 0) {
              if (leftAt_ != shifts_) {
                lefts_ = 0;
                leftAt_ = shifts_;
              }
              if (lefts_ < kLoopsNamed) left_[static_cast<std::size_t>(lefts_++)] = f->Nont;
            }
            f->At = kAtDone;
          } else {
            if (real && f->Looped == progress_) return Forever(src);
            if (real) f->Looped = progress_;
            f->At = kAtEdge;
            f->Index = m;
          }
          break;
        }
        case kAtDecide: {
          const int m = Decide(src, f->Index, false);
          if (m < 0) return kRunError;
          f->At = kAtEdge;
          f->Index = m;
          break;
        }
        default: {
          const RecTableEdge& e = t_.Edges[static_cast<std::size_t>(f->Index)];
          if (e.Kind == RecEdgeKind::Term) {
            if (KindAt(src, 1) != e.Code) {
              errNode_ = -1;
              errTerm_ = e.Code;
              errLevel_ = 1;
              return kRunError;
            }
            if (real) {
              before_ = src;
              std::swap(journal_, journal1_);
              low1_ = low_;
              mark1_ = mark_;
            }
            if (Take(src)) ++taken;
            After(*f, e);
            if (real) {
              ++shifts_;
              ++progress_;
              mark_ = low_ = s.Top;
            }
            if (span > 0 && taken >= span) return kRunSpan;
          } else if (e.Kind == RecEdgeKind::Call) {
            if (s.Top + s.BelowTop > maxDepth_) {
              if (real) {
                int virt = -1;
                const RecToken* t = SourceAt(src, 1, virt);
                (void)Note(t->Line, t->Column, "nesting too deep");
                stop_ = true;
              }
              return kRunStop;
            }
            if (s.Top == s.Room) {
              if (!s.Grows) return kRunStop;
              Grow(s);
              f = &s.Frames[s.Top - 1];
            }
            After(*f, e);
            Frame& callee = s.Frames[s.Top++];
            Start(callee, e.Code, real);
            callee.Looped = kNever;
          } else if (e.Kind == RecEdgeKind::Jump) {
            if (real && f->Since == progress_) return Forever(src);
            Start(*f, f->Nont, real);
          } else {
            After(*f, e);
          }
        }
      }
    }
  }

  static void Expect(std::vector<std::int32_t>& all, std::int32_t term) {
    if (std::find(all.begin(), all.end(), term) == all.end()) all.push_back(term);
  }

  // The message of the error of the last run, as the routines word one.
  void Message(const Source& src, std::string& text, int& line, int& column) {
    std::vector<std::int32_t> all;
    for (int k = 0; k < lefts_ && leftAt_ == shifts_ && errLevel_ == 1; ++k) {
      const RecTableNode& node = Node(Nont(left_[static_cast<std::size_t>(k)]).Loop);
      for (int i = 0; i < node.Arcs; ++i) {
        const RecTableArc& a = t_.Arcs[static_cast<std::size_t>(node.Arc + i)];
        if (Node(a.Node).Arcs > 0 || Node(a.Node).Member != kRecLeave)
          Expect(all, arcTerm_[static_cast<std::size_t>(node.Arc + i)]);
      }
    }
    if (errNode_ >= 0) {
      const RecTableNode& node = Node(errNode_);
      for (int i = 0; i < node.Arcs; ++i) Expect(all, arcTerm_[static_cast<std::size_t>(node.Arc + i)]);
    } else {
      Expect(all, errTerm_);
    }
    int virt = -1;
    const RecToken* t = SourceAt(src, errLevel_, virt);
    text = virt >= 0 ? DescribeUnexpected(words_, all, virt, "")
                     : DescribeUnexpected(words_, all, t->Kind, std::string_view(t->Text).substr(0, t->Length));
    line = t->Line;
    column = t->Column;
  }

  // Back to the frames as they stood after the last terminal taken: the routines that a failed
  // decision has left since (a loop left, an empty member taken) could take a repaired input.
  void Restore(Stack& st) {
    for (int i = low_; i < mark_; ++i) st.Frames[i] = journal_[static_cast<std::size_t>(i)];
    st.Top = mark_;
    low_ = mark_;
  }

  // How far the parse goes from the frames with the source as given: the real terminals taken,
  // kRepairSpan + 1 when it ends.
  int Try(const Frame* below, int belowTop, const Frame* own, int owned, const Source& src, int span) {
    std::copy(own, own + owned, trial_.begin());
    Stack s{trial_.data(), owned, kTrialRoom, false, below, belowTop};
    Source t = src;
    int taken = 0;
    const RunEnd result = Go(s, t, false, span, taken);
    return result == kRunAccept ? kRepairSpan + 1 : result == kRunStop && stop_ ? 0 : taken;
  }

  // The edit of one terminal that lets the parse go furthest: at the terminals up to the level
  // where the decision failed, and at the terminal taken last (from the frames before it, when
  // known); the first of equals, in the order inserting, deleting, replacing. False when none
  // goes kRepairMin terminals.
  bool Repair(Stack& st, Source& src, int record) {
    static constexpr std::array<int, 3> kOrder{kInsert, kDelete, kReplace};
    Source best;
    best.Edit = kNone;
    const int levels = errLevel_;  // the trials below note errors of their own
    int top = kRepairMin - 1;
    bool chosen = false;
    const int owned = mark1_ - low1_;
    for (int back = 0; back < 2; ++back) {
      if (back == 0 ? src.Edit != kNone : mark1_ < 0 || before_.Edit != kNone || owned > kTrialRoom / 2) continue;
      Source s = back == 0 ? src : before_;
      for (s.At = 0; s.At < (back == 0 ? levels : 1); s.At++)
        for (const int edit : kOrder) {
          s.Edit = edit;
          for (int term = 0; term <= (s.Edit == kDelete ? 0 : terminals_); ++term) {
            if (s.Edit != kDelete && (term == 0 || term == end_)) continue;
            s.Term = term;
            const int score = back == 0 ? Try(st.Frames, st.Top, nullptr, 0, s, kRepairSpan)
                                        : Try(st.Frames, low1_, journal1_.data() + low1_, owned, s, kRepairSpan + 1) - 1;
            if (score > top) {
              top = score;
              best = s;
              chosen = back == 1;
            }
          }
        }
    }
    if (best.Edit == kNone) return false;
    const RecToken* t = TokenAt(best.From + static_cast<unsigned long>(best.At));
    if (best.Edit == kInsert) {
      Tell(record, "inserted", best.Term, nullptr);
    } else if (best.Edit == kDelete) {
      Tell(record, "deleted", t->Kind, t);
    } else {
      Tell(record, "replaced by", best.Term, nullptr);
    }
    if (chosen) {
      std::copy(journal1_.begin() + low1_, journal1_.begin() + low1_ + owned, st.Frames + low1_);
      st.Top = mark1_;
    }
    src = best;
    return true;
  }

  // Skips terminals, and drops frames, until the frames left can go on: at the end of the input
  // the bottom frame does.
  void Resync(Stack& st, Source& src, int record) {
    src.Edit = kNone;
    src.Taken = 0;
    for (unsigned long k = 0; !stop_; ++k) {
      const RecToken* at = TokenAt(src.From + k);
      for (int d = k == 0 ? 1 : 0; d < st.Top; ++d) {
        if (d > kResyncFrames && d < st.Top - 1) d = st.Top - 1;
        Source t = src;
        t.From += k;
        if (Try(st.Frames, st.Top - d, nullptr, 0, t, kResyncSpan) >= kResyncSpan) {
          st.Top -= d;
          src.From += k;
          Tell(record, k > 0 ? "skipped to" : "went on at", at->Kind, at);
          quiet_ = std::max(quiet_, src.From + 1);
          return;
        }
      }
    }
  }

  const RecoveryTables& t_;
  InputLexer lexer_;
  TerminalWords words_;
  std::int32_t end_;
  std::int32_t terminals_;
  std::int32_t start_;
  int maxDepth_;
  int maxErrors_;
  std::vector<std::int32_t> arcTerm_;  // by arc: its terminal, the end of the input as end_

  std::vector<RecToken> ring_;  // the terminals read lately
  unsigned long scanned_ = 0;   // terminals read so far
  bool stop_ = false;           // the parse ends: a failure of the input, or enough errors
  unsigned long quiet_ = 0;     // an error at a terminal before this one is not reported
  std::array<std::int32_t, kLoopsNamed> left_{};  // tail loops left at the coming terminal ...
  int lefts_ = 0;
  unsigned long leftAt_ = kNever;  // ... when this many terminals were taken
  unsigned long shifts_ = 0;
  unsigned long progress_ = 0;  // terminals taken and errors met: the stamps of the frames
  int errNode_ = -1;            // the error of the last run: a decision or a terminal
  std::int32_t errTerm_ = 0;
  int errLevel_ = 1;
  bool pendingBad_ = false;  // the first error was the lexer's: it is not noted again
  int badChar_;
  int tooLong_;
  // The real run's frames, and as they stood after the last terminal taken: its frames up to
  // low_, then the journal's up to mark_ (each saved before its first change since) ...
  std::vector<Frame> frames_, journal_;
  int low_ = 0, mark_ = 0;
  // ... and as they stood after the terminal before it (mark1_ -1: unknown), with the source there.
  std::vector<Frame> journal1_;
  int low1_ = 0, mark1_ = -1;
  Source before_;
  std::array<Frame, kTrialRoom> trial_{};
  std::vector<InputFailure> errors_;
};

}  // namespace

std::vector<InputFailure> RecoverErrors(const Language& lang, const EmbeddedDecisions& decisions,
                                        const regex::Lexicon& lexicon, std::string_view input, int maxDepth,
                                        int maxErrors, const InputFailure& first) {
  const int status = first.Status;
  if (maxErrors < 1 || (status != EmbeddedStatusValue("SYNTAX") && status != EmbeddedStatusValue("BAD_CHAR") &&
                        status != EmbeddedStatusValue("TOO_LONG")))
    return {first};
  // The routines the translator would have: the tables hold their tries only.
  const ConsOptions options;
  const EmbeddedPlan plan(lang, options, "p");
  ExpectedLists expected;
  RoutineUse use;
  CodeWriter routines;
  routines.OpenMemory();
  RecoveryTables tables;
  if (WriteEmbeddedRoutines(plan, decisions, routines, expected, use) != stOk ||
      BuildRecoveryTables(lang, decisions, use.Nonterminals, tables) != stOk)
    return {first};
  const int depth = decisions.Depth();
  Recovery recovery(lang, tables, lexicon, input, depth > 1 ? depth - 1 : 1, maxDepth, maxErrors);
  return recovery.Run(first);
}

}  // namespace parvolen::inspect
