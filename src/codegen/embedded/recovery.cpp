#include "codegen/embedded/recovery.h"

#include <algorithm>
#include <string>
#include <vector>

#include "codegen/embedded/recovery_tables.h"

namespace parvolen {
namespace {

// Note [recovery]: the routines stay as they are until the first error, so a parse without
// errors, and the first error, are those of a parse that does not recover, at the same cost.
// At the first error Recover reads the input again from its start (text in memory, a stream
// that seeks back, or the copy kept of another stream) and parses it with an interpreter that
// walks the same tries with the same decisions, as tables, and calls nothing; it meets the same
// first error. A tail call (note [tail calls]) restarts the frame's production, as the
// routine's jump does. The interpreter keeps the frames as they stood after the last two
// terminals taken (journals of the frames changed since): a decision that fails may have left
// tail loops or taken empty members first, and those routines could take a repaired input.
//
// At an error it tries every edit of one terminal on a copy of those frames: at the terminals
// up to where the decision failed, and at the terminal taken last (delete it, insert a terminal
// before it, replace it), and takes the first that lets the parse take the most terminals, up
// to REPAIR_SPAN, or end; REPAIR_MIN at least. Without one it resynchronises: it skips
// terminals, and drops frames, until a frame can go on for RESYNC_SPAN terminals (the bottom
// frame takes the end of the input). Either way the parse takes a terminal, or has dropped a
// routine, before it can fail again, and a trial costs a bounded number of steps, so the whole
// parse stays linear in its input.

const char* const kRuntime = R"C(/* Recovery (notes in the generator: recovery). */
#define	REPAIR_SPAN	8	/* terminals a repair is tried for */
#define	REPAIR_MIN	3	/* ... and must let the parse take, unless it ends */
#define	RESYNC_SPAN	3	/* terminals a frame must take after skipping */
#define	RESYNC_FRAMES	48	/* frames dropped at most, but for all of them */
#define	TRIAL_ROOM	64	/* frames a trial may push */
#define	TRIAL_STEPS	2000	/* steps of a trial */
#define	RING	( 2 * AHEAD + 32 )	/* terminals kept: a trial reads at most 2 * AHEAD + REPAIR_SPAN + 3 on */

/* A terminal read while recovering: what messages show of it. */
typedef struct {
	int	kind, line, column;
	size_t	length;
	char	text[40];
} RecToken;

enum { EDIT_NONE, EDIT_DELETE, EDIT_INSERT, EDIT_REPLACE };

/* The terminals a run reads: the real ones from `from` on, with one edit at offset `at` until
   the run has taken `taken` past it. */
typedef struct {
	unsigned long	from;
	int	edit, at, term, taken;
} Source;

/* The frames of a run: its own, above frames it shares (and copies before changing one). */
typedef struct {
	RecFrame	*frames;
	int	top, room, grows;
	const RecFrame	*below;
	int	belowTop;
} Stack;

typedef struct {
	Parser	*p;
	RecToken	ring[RING];
	unsigned long	scanned;	/* terminals read so far */
	int	stop;			/* the parse ends: a failure of the input, or enough errors */
	unsigned long	quiet;		/* an error at a terminal before this one is not reported */
	int	left[8], lefts;		/* tail loops left at the coming terminal ... */
	unsigned long	leftAt, shifts;	/* ... when this many terminals were taken */
	int	errNode, errTerm, errLevel;	/* the error of the last run: a decision or a terminal */
	int	pendingBad;		/* the first error was the lexer's: it is not noted again */
	/* The real run's frames as they stood after the last terminal taken: its frames up to low,
	   then the journal's up to mark (each saved before its first change since). */
	RecFrame	*journal;
	int	low, mark;
	/* ... and as they stood after the terminal before it (mark1 -1: unknown), with the source
	   there. */
	RecFrame	*journal1;
	int	low1, mark1;
	Source	before;
} Recovery;

enum { RUN_ERROR, RUN_ACCEPT, RUN_SPAN, RUN_STOP };

/* Keeps an error; its number, or -1 when there are enough already (the parse ends then). */
static int Note(Recovery *r, int line, int column, const char *text) {
	Parser	*p = r->p;
	ErrorRec	*e;

	if  ( p->errKept >= p->maxErrors ) {
		r->stop = 1;
		return	-1;
	}
	if  ( p->errKept == p->errRoom ) {
		int	room = p->errRoom < 8 ? 8 : 2 * p->errRoom;

		if  ( room > p->maxErrors )
			room = p->maxErrors;
		if  ( ( e = (ErrorRec *)realloc(p->errs, (size_t)room * sizeof *e) ) == NULL ) {
			r->stop = 1;
			return	-1;
		}
		p->errs = e;
		p->errRoom = room;
	}
	e = &p->errs[p->errKept];
	e->line = line;
	e->column = column;
	sprintf(e->text, "%.200s", text);
	return	p->errKept++;
}

/* Adds what the recovery did to the text of error i: " (what X)". */
static void Tell(Recovery *r, int i, const char *what, int kind, const RecToken *t) {
	char	*text;
	size_t	used;

	if  ( i < 0 )
		return;
	text = r->p->errs[i].text;
	used = strlen(text);
	Append(text, 255, &used, " (", 2);
	Append(text, 255, &used, what, strlen(what));
	Append(text, 255, &used, " ", 1);
	Append(text, 255, &used, TermText[kind], strlen(TermText[kind]));
	if  ( t != NULL && Valued(kind) ) {
		Append(text, 255, &used, " '", 2);
		AppendShown(text, 254, &used, t->text, t->length < sizeof t->text ? t->length : sizeof t->text);
		Append(text, 255, &used, "'", 1);
	}
	Append(text, 255, &used, ")", 1);
}

static void Keep(Recovery *r, const Token *t) {
	RecToken	*k = &r->ring[r->scanned++ % RING];

	k->kind = t->kind;
	k->line = t->line;
	k->column = t->column;
	k->length = t->length;
	if  ( t->length > 0 )
		memcpy(k->text, t->text, t->length < sizeof k->text ? t->length : sizeof k->text);
}

/* Reads the next terminal. A byte that begins none and an over-long one are reported and
   skipped (the error at the terminal after them is not reported: it is theirs); any other
   failure of the input ends the parse, which reads the end of the input from then on. */
static void ReadOne(Recovery *r) {
	Parser	*p = r->p;
	Token	*t = p->tok;
	int	status;

	for  ( ;; ) {
		if  ( r->stop ) {
			t->kind = REC_END;
			t->line = p->line;
			t->column = Column(p, p->cur);
			t->length = 0;
			break;
		}
		if  ( ( status = Scan(p, t) ) == OK )
			break;
		if  ( r->pendingBad )
			r->pendingBad = 0;
		else
			(void)Note(r, p->errLine, p->errColumn, p->errText);
		if  ( status != BAD_CHAR && status != TOO_LONG ) {
			r->stop = 1;
			continue;
		}
		CountLines(p, p->cur, p->skipTo);
		p->cur = p->skipTo;
		if  ( r->quiet < r->scanned + 1 )
			r->quiet = r->scanned + 1;
	}
	Keep(r, t);
}

static const RecToken *TokenAt(Recovery *r, unsigned long i) {
	while  ( r->scanned <= i )
		ReadOne(r);
	return	&r->ring[i % RING];
}

/* The terminal at the level (1: the coming one) of the source; *virt the code of an edited one
   in its place, else -1. */
static const RecToken *SourceAt(Recovery *r, const Source *s, int level, int *virt) {
	long	o = s->taken + level - 1;

	*virt = -1;
	if  ( s->edit != EDIT_NONE ) {
		if  ( o == s->at && s->edit != EDIT_DELETE ) {
			*virt = s->term;
			return	TokenAt(r, s->from + (unsigned long)o);
		}
		if  ( o >= s->at )
			o += s->edit == EDIT_DELETE ? 1 : s->edit == EDIT_INSERT ? -1 : 0;
	}
	return	TokenAt(r, s->from + (unsigned long)o);
}

static int KindAt(Recovery *r, const Source *s, int level) {
	int	virt;
	const RecToken	*t = SourceAt(r, s, level, &virt);

	return	virt >= 0 ? virt : t->kind;
}

/* Takes the coming terminal; 1 when it was a real one. */
static int Take(Source *s) {
	int	real = s->edit == EDIT_NONE || s->edit == EDIT_DELETE || s->taken != s->at;

	s->taken++;
	if  ( s->edit == EDIT_NONE ) {
		s->from += (unsigned long)s->taken;
		s->taken = 0;
	} else if  ( s->taken > s->at ) {
		s->from = s->from + (unsigned long)s->taken + ( s->edit == EDIT_DELETE ? 1 : 0 ) - ( s->edit == EDIT_INSERT ? 1 : 0 );
		s->taken = 0;
		s->edit = EDIT_NONE;
	}
	return	real;
}

static RecFrame *Top(Stack *s) {
	if  ( s->top == 0 ) {
		if  ( s->belowTop == 0 )
			return	NULL;
		s->frames[s->top++] = s->below[--s->belowTop];
	}
	return	&s->frames[s->top - 1];
}

/* A frame at the start of the nonterminal's routine. */
static void Start(RecFrame *f, int nont) {
	f->nont = (short)nont;
	f->at = 0;
	if  ( Nonts[nont].edge >= 0 ) {
		f->mode = AT_EDGE;
		f->at = Nonts[nont].edge;
	} else if  ( Nonts[nont].node >= 0 ) {
		f->mode = AT_DECIDE;
		f->at = Nonts[nont].node;
	} else
		f->mode = AT_LOOP;
}

/* The frame goes on after the edge: the next edge, the decision of the next list, or its loop. */
static void After(RecFrame *f, const RecEdge *e) {
	if  ( e->next >= 0 ) {
		f->mode = AT_EDGE;
		f->at = e->next;
	} else if  ( e->nextNode >= 0 ) {
		f->mode = AT_DECIDE;
		f->at = e->nextNode;
	} else
		f->mode = AT_LOOP;
}

/* The member that the decision from the node selects, REC_LEAVE (a loop left), or REC_NONE with
   the node and level of the error noted. */
static int Decide(Recovery *r, const Source *src, int node, int loop) {
	int	level = 1, kind, i;

	for  ( ;; ) {
		const RecNode	*n = &Nodes[node];

		if  ( n->arcs == 0 ) {
			if  ( n->member == REC_NONE ) {
				r->errNode = node;
				r->errLevel = level;
			}
			return	n->member;
		}
		kind = KindAt(r, src, level);
		for  ( i = 0; i < n->arcs && Arcs[n->arc + i].term != kind; i++ )
			;
		if  ( i == n->arcs ) {
			if  ( loop && level == 1 )
				return	REC_LEAVE;
			r->errNode = node;
			r->errLevel = level;
			return	REC_NONE;
		}
		node = Arcs[n->arc + i].node;
		level++;
	}
}

/* Runs the frames over the source until an error, the end of the input, or (span > 0) span real
   terminals taken, counted in *taken. A trial (real 0) stops after TRIAL_STEPS steps or
   TRIAL_ROOM frames of its own; the real run keeps the loops it leaves for messages. */
static int Go(Recovery *r, Stack *s, Source *src, int real, int span, int *taken) {
	long	steps = 0;
	RecFrame	*f;
	const RecEdge	*e;
	int	m;

	for  ( ;; ) {
		if  ( r->stop || ( f = Top(s) ) == NULL || ( !real && ++steps > TRIAL_STEPS ) )
			return	RUN_STOP;
		if  ( real && s->top - 1 < r->low ) {
			r->low = s->top - 1;
			r->journal[r->low] = *f;
		}
		switch  ( f->mode ) {
			case AT_FINISH:
				if  ( KindAt(r, src, 1) == REC_END )
					return	RUN_ACCEPT;
				r->errNode = -1;
				r->errTerm = REC_END;
				r->errLevel = 1;
				return	RUN_ERROR;
			case AT_DONE:
				s->top--;
				break;
			case AT_LOOP:
				m = Nonts[f->nont].loop < 0 ? REC_LEAVE : Decide(r, src, Nonts[f->nont].loop, 1);
				if  ( m == REC_NONE )
					return	RUN_ERROR;
				if  ( m == REC_LEAVE ) {
					if  ( real && Nonts[f->nont].loop >= 0 ) {
						if  ( r->leftAt != r->shifts ) {
							r->lefts = 0;
							r->leftAt = r->shifts;
						}
						if  ( r->lefts < 8 )
							r->left[r->lefts++] = f->nont;
					}
					f->mode = AT_DONE;
				} else {
					f->mode = AT_EDGE;
					f->at = m;
				}
				break;
			case AT_DECIDE:
				if  ( ( m = Decide(r, src, f->at, 0) ) < 0 )
					return	RUN_ERROR;
				f->mode = AT_EDGE;
				f->at = m;
				break;
			default:
				e = &Edges[f->at];
				if  ( e->kind == E_TERM ) {
					if  ( KindAt(r, src, 1) != e->code ) {
						r->errNode = -1;
						r->errTerm = e->code;
						r->errLevel = 1;
						return	RUN_ERROR;
					}
					if  ( real ) {
						RecFrame	*j = r->journal1;

						r->before = *src;
						r->journal1 = r->journal;
						r->journal = j;
						r->low1 = r->low;
						r->mark1 = r->mark;
					}
					if  ( Take(src) )
						(*taken)++;
					After(f, e);
					if  ( real ) {
						r->shifts++;
						r->mark = r->low = s->top;
					}
					if  ( span > 0 && *taken >= span )
						return	RUN_SPAN;
				} else if  ( e->kind == E_CALL ) {
					if  ( s->top + s->belowTop > r->p->maxDepth ) {
						if  ( real ) {
							const RecToken	*t;
							int	virt;

							t = SourceAt(r, src, 1, &virt);
							(void)Note(r, t->line, t->column, "nesting too deep");
							r->stop = 1;
						}
						return	RUN_STOP;
					}
					if  ( s->top == s->room ) {
						RecFrame	*more;

						if  ( !s->grows || ( more = (RecFrame *)realloc(s->frames, 2 * (size_t)s->room * sizeof *more) ) == NULL ) {
							r->stop |= s->grows;
							return	RUN_STOP;
						}
						s->frames = more;
						if  ( ( more = (RecFrame *)realloc(r->journal, 2 * (size_t)s->room * sizeof *more) ) == NULL ) {
							r->stop = 1;
							return	RUN_STOP;
						}
						r->journal = more;
						if  ( ( more = (RecFrame *)realloc(r->journal1, 2 * (size_t)s->room * sizeof *more) ) == NULL ) {
							r->stop = 1;
							return	RUN_STOP;
						}
						r->journal1 = more;
						s->room *= 2;
						f = &s->frames[s->top - 1];
					}
					After(f, e);
					Start(&s->frames[s->top++], e->code);
				} else if  ( e->kind == E_JUMP )
					Start(f, f->nont);
				else
					After(f, e);
		}
	}
}

static void Expect(short *all, int *n, int term) {
	int	j;

	for  ( j = 0; j < *n && all[j] != term; j++ )
		;
	if  ( j == *n )
		all[( *n )++] = (short)term;
}

/* The message of the error of the last run, as the routines word one. */
static void Message(Recovery *r, const Source *src, char *buf, int *line, int *column) {
	short	all[TERMINALS + 2];
	int	n = 0, k, i, node, virt;
	const RecToken	*t;

	for  ( k = 0; k < r->lefts && r->leftAt == r->shifts && r->errLevel == 1; k++ ) {
		node = Nonts[r->left[k]].loop;
		for  ( i = 0; i < Nodes[node].arcs; i++ ) {
			const RecArc	*a = &Arcs[Nodes[node].arc + i];

			if  ( Nodes[a->node].arcs > 0 || Nodes[a->node].member != REC_LEAVE )
				Expect(all, &n, a->term);
		}
	}
	if  ( r->errNode >= 0 ) {
		for  ( i = 0; i < Nodes[r->errNode].arcs; i++ )
			Expect(all, &n, Arcs[Nodes[r->errNode].arc + i].term);
	} else
		Expect(all, &n, r->errTerm);
	t = SourceAt(r, src, r->errLevel, &virt);
	if  ( virt >= 0 )
		Describe(buf, all, n, virt, "", 0);
	else
		Describe(buf, all, n, t->kind, t->text, t->length < sizeof t->text ? t->length : sizeof t->text);
	*line = t->line;
	*column = t->column;
}

/* Back to the frames as they stood after the last terminal taken: the routines that a failed
   decision has left since (a loop left, an empty member taken) could take a repaired input. */
static void Restore(Recovery *r, Stack *st) {
	int	i;

	for  ( i = r->low; i < r->mark; i++ )
		st->frames[i] = r->journal[i];
	st->top = r->mark;
	r->low = r->mark;
}

/* How far the parse goes from the frames with the source as given: the real terminals taken,
   REPAIR_SPAN + 1 when it ends. */
static int Try(Recovery *r, const RecFrame *below, int belowTop, const RecFrame *own, int owned, const Source *src,
               int span) {
	RecFrame	frames[TRIAL_ROOM];
	Stack	s;
	Source	t = *src;
	int	taken = 0, result;

	if  ( owned > 0 )
		memcpy(frames, own, (size_t)owned * sizeof *frames);
	s.frames = frames;
	s.top = owned;
	s.room = TRIAL_ROOM;
	s.grows = 0;
	s.below = below;
	s.belowTop = belowTop;
	result = Go(r, &s, &t, 0, span, &taken);
	return	result == RUN_ACCEPT ? REPAIR_SPAN + 1 : result == RUN_STOP && r->stop ? 0 : taken;
}

/* The edit of one terminal that lets the parse go furthest: at the terminals up to the level
   where the decision failed, and at the terminal taken last (from the frames before it, when
   known: an opening terminal missing before it shows only after it); the first of equals, in
   the order inserting, deleting, replacing. 0 when none goes REPAIR_MIN terminals. */
static int Repair(Recovery *r, Stack *st, Source *src, int record) {
	static const int	order[] = { EDIT_INSERT, EDIT_DELETE, EDIT_REPLACE };
	Source	s, best;
	int	levels = r->errLevel, score, top = REPAIR_MIN - 1, edit, term, back, chosen = 0;
	int	owned = r->mark1 - r->low1;

	best.edit = EDIT_NONE;
	for  ( back = 0; back < 2; back++ ) {
		if  ( back == 0 ? src->edit != EDIT_NONE : r->mark1 < 0 || r->before.edit != EDIT_NONE || owned > TRIAL_ROOM / 2 )
			continue;
		s = back == 0 ? *src : r->before;
		for  ( s.at = 0; s.at < ( back == 0 ? levels : 1 ); s.at++ )
			for  ( edit = 0; edit < 3; edit++ ) {
				s.edit = order[edit];
				for  ( term = 0; term <= ( s.edit == EDIT_DELETE ? 0 : TERMINALS ); term++ ) {
					if  ( s.edit != EDIT_DELETE && ( term == 0 || term == REC_END ) )
						continue;
					s.term = term;
					score = back == 0 ? Try(r, st->frames, st->top, NULL, 0, &s, REPAIR_SPAN)
						: Try(r, st->frames, r->low1, r->journal1 + r->low1, owned, &s, REPAIR_SPAN + 1) - 1;
					if  ( score > top ) {
						top = score;
						best = s;
						chosen = back;
					}
				}
			}
	}
	if  ( best.edit == EDIT_NONE )
		return	0;
	{
		const RecToken	*t = TokenAt(r, best.from + (unsigned long)best.at);

		if  ( best.edit == EDIT_INSERT )
			Tell(r, record, "inserted", best.term, NULL);
		else if  ( best.edit == EDIT_DELETE )
			Tell(r, record, "deleted", t->kind, t);
		else
			Tell(r, record, "replaced by", best.term, NULL);
	}
	if  ( chosen ) {
		memcpy(st->frames + r->low1, r->journal1 + r->low1, (size_t)owned * sizeof *st->frames);
		st->top = r->mark1;
	}
	*src = best;
	return	1;
}

/* Skips terminals, and drops frames, until the frames left can go on: at the end of the input
   the bottom frame does. */
static void Resync(Recovery *r, Stack *st, Source *src, int record) {
	Source	t;
	unsigned long	k;
	int	d;

	src->edit = EDIT_NONE;
	src->taken = 0;
	for  ( k = 0; !r->stop; k++ ) {
		const RecToken	*at = TokenAt(r, src->from + k);

		for  ( d = k == 0 ? 1 : 0; d < st->top; d++ ) {
			if  ( d > RESYNC_FRAMES && d < st->top - 1 )
				d = st->top - 1;
			t = *src;
			t.from += k;
			if  ( Try(r, st->frames, st->top - d, NULL, 0, &t, RESYNC_SPAN) >= RESYNC_SPAN ) {
				st->top -= d;
				src->from += k;
				Tell(r, record, k > 0 ? "skipped to" : "went on at", at->kind, at);
				if  ( r->quiet < src->from + 1 )
					r->quiet = src->from + 1;
				return;
			}
		}
	}
}

/* Reads the input again from its start: text in memory, a stream that can seek back, or the
   copy of another stream with the rest of it read. */
static int Reread(Parser *p) {
	size_t	got;

	if  ( p->in == NULL ) {
		p->base = p->cur = p->text;
		p->lim = p->text + p->textLength;
	} else if  ( p->start >= 0 ) {
		if  ( fseek(p->in, p->start, SEEK_SET) != 0 )
			return	0;
		p->base = p->cur = p->lim = p->block;
		p->atEnd = 0;
	} else {
		while  ( !p->atEnd && CopyRoom(p, BLOCK_ROOM) ) {
			got = fread(p->copy + p->copyLength, 1, p->copyRoom - p->copyLength, p->in);
			p->copyLength += got;
			if  ( got == 0 )
				p->atEnd = 1;
		}
		if  ( !p->copying || ferror(p->in) )
			return	0;
		p->copying = 0;
		p->in = NULL;
		p->base = p->cur = p->copy;
		p->lim = p->copy + p->copyLength;
	}
	p->offset = p->lineStart = 0;
	p->line = 1;
	return	1;
}

/* Goes on after the first error, with status, as note [recovery] tells; the status. */
static int Recover(Parser *p, int status) {
	Recovery	*r;
	Stack	st;
	Source	src;
	char	first[256], buf[256];
	int	firstLine = p->errLine, firstColumn = p->errColumn, pending = status == SYNTAX;
	int	i, j, record, line, column, taken;
	ErrorRec	e;

	if  ( !Reread(p) )
		return	status;
	r = (Recovery *)calloc(1, sizeof *r);
	st.room = 64;
	st.frames = (RecFrame *)malloc((size_t)st.room * sizeof *st.frames);
	if  ( r == NULL || st.frames == NULL || ( r->journal = (RecFrame *)malloc((size_t)st.room * sizeof *st.frames) ) == NULL
	      || ( r->journal1 = (RecFrame *)malloc((size_t)st.room * sizeof *st.frames) ) == NULL ) {
		if  ( r != NULL ) {
			free(r->journal);
			free(r->journal1);
		}
		free(r);
		free(st.frames);
		return	status;
	}
	memcpy(first, p->errText, sizeof first);
	r->p = p;
	r->leftAt = (unsigned long)-1;
	p->errKept = 0;
	(void)Note(r, firstLine, firstColumn, first);
	st.grows = 1;
	st.below = NULL;
	st.belowTop = 0;
	st.top = 1;
	st.frames[0].nont = 0;
	st.frames[0].mode = AT_FINISH;
	st.frames[0].at = 0;
	Start(&st.frames[st.top++], START);
	r->pendingBad = status != SYNTAX;
	r->mark = r->low = st.top;
	r->mark1 = -1;
	src.from = 0;
	src.edit = EDIT_NONE;
	src.at = src.term = src.taken = 0;
	for  ( ;; ) {
		taken = 0;
		if  ( Go(r, &st, &src, 1, 0, &taken) != RUN_ERROR )
			break;
		Message(r, &src, buf, &line, &column);
		Restore(r, &st);
		if  ( pending ) {
			record = 0;
			pending = 0;
		} else if  ( src.from < r->quiet )
			record = -1;
		else if  ( ( record = Note(r, line, column, buf) ) < 0 )
			break;
		if  ( !Repair(r, &st, &src, record) )
			Resync(r, &st, &src, record);
		if  ( r->stop )
			break;
		r->mark = r->low = st.top;
		r->mark1 = -1;
	}
	/* The first error as without recovery; the others in the order of the input. */
	p->errLine = firstLine;
	p->errColumn = firstColumn;
	memcpy(p->errText, first, sizeof first);
	for  ( i = 2; i < p->errKept; i++ ) {
		e = p->errs[i];
		for  ( j = i; j > 1 && ( p->errs[j - 1].line > e.line || ( p->errs[j - 1].line == e.line && p->errs[j - 1].column > e.column ) ); j-- )
			p->errs[j] = p->errs[j - 1];
		p->errs[j] = e;
	}
	free(st.frames);
	free(r->journal);
	free(r->journal1);
	free(r);
	return	status;
}

)C";

// A table of count rows and its closing row; row(i) writes row i as "\t{...},\t/* i */\n".
template <class Row>
void WriteRows(CodeWriter& out, std::string_view type, std::string_view name, std::size_t count, Row row,
               std::string_view last) {
  out.Put("static const %s %s[] = {\n", {type, name});
  for (std::size_t i = 0; i < count; ++i) row(i);
  out.Put("\t%s\t/* (end) */\n};\n\n", last);
}

// The tables of the tries of the routines written (codegen/embedded/recovery_tables.h) as C.
void WriteTables(const EmbeddedPlan& x, const RecoveryTables& t, CodeWriter& out) {
  // The constants of the terminals, each made once; an arc names the end of the input by 0.
  std::vector<std::string> consts(static_cast<std::size_t>(std::max(x.lang.LastTerminal, 0)) + 1);
  const auto termConst = [&x, &consts](std::int32_t code) -> std::string_view {
    if (code < 1 || static_cast<std::size_t>(code) >= consts.size()) return consts[0] = x.TermConst(code);
    std::string& text = consts[static_cast<std::size_t>(code)];
    if (text.empty()) text = x.TermConst(code);
    return text;
  };
  const std::string end = x.EndConst();
  const auto term = [&](std::int32_t code) -> std::string_view { return code == 0 ? end : termConst(code); };
  out.Put("/* The tries of the routines as tables, for recovery (note in the generator: recovery). */\n");
  out.Put("enum { E_END, E_TERM, E_CALL, E_SKIP, E_JUMP };\t/* an edge: nothing, a terminal, a call, an action\n");
  out.Put("\t\t\t\t\t\t\t   or output terminal, a call in tail position */\n");
  out.Put("#define\tREC_LEAVE\t(-1)\t/* a decision leaves the tail loop */\n");
  out.Put("#define\tREC_NONE\t(-2)\t/* a decision selects nothing: a syntax error */\n");
  out.Put("#define\tTERMINALS\t%d\n", std::to_string(x.lang.LastTerminal));
  out.Put("#define\tREC_END\t%s\t/* the end of the input */\n", x.EndConst());
  out.Put("#define\tSTART\t%d\t/* the starting symbol */\n\n", std::to_string(x.lang.StartNont));
  out.Put("typedef struct {\n\tsigned char\tkind;\n\tshort\tcode;\t\t/* terminal or nonterminal */\n");
  out.Put("\tint\tnext, nextNode;\t/* the next edge, or the decision of the next list; else the loop */\n} RecEdge;\n\n");
  out.Put("typedef struct {\n\tint\tmember;\t\t/* without arcs: an edge, REC_LEAVE or REC_NONE */\n");
  out.Put("\tint\tarc, arcs;\t/* by the terminal at its level */\n} RecNode;\n\n");
  out.Put("typedef struct {\n\tshort\tterm;\n\tint\tnode;\n} RecArc;\n\n");
  out.Put("typedef struct {\n\tint\tedge, node;\t/* where the routine begins: an edge, a decision, else its loop */\n");
  out.Put("\tint\tloop;\t\t/* the decision of its tail loop, or -1 */\n} RecNont;\n\n");
  out.Put("typedef struct {\n\tshort\tnont;\n\tsigned char\tmode;\n\tint\tat;\t\t/* the edge or decision */\n} RecFrame;\n\n");
  out.Put("/* Where a routine stands. */\n");
  out.Put("enum { AT_EDGE, AT_DECIDE, AT_LOOP, AT_DONE, AT_FINISH };\n\n");
  const auto edge = [&](std::size_t i) {
    const RecTableEdge& e = t.Edges[i];
    const Decimal next(e.Next), nextNode(e.NextNode), row(static_cast<long long>(i));
    switch (e.Kind) {
      case RecEdgeKind::Term:
        out.Put("\t{E_TERM, %s, %d, %d},\t/* %d */\n", {termConst(e.Code), next, nextNode, row});
        break;
      case RecEdgeKind::Call:
        out.Put("\t{E_CALL, %d, %d, %d},\t/* %d */\n", {Decimal(e.Code), next, nextNode, row});
        break;
      case RecEdgeKind::Jump:
        out.Put("\t{E_JUMP, %d, %d, %d},\t/* %d */\n", {Decimal(e.Code), next, nextNode, row});
        break;
      case RecEdgeKind::End:
        out.Put("\t{E_END, 0, %d, %d},\t/* %d */\n", {next, nextNode, row});
        break;
      case RecEdgeKind::Skip:
        out.Put("\t{E_SKIP, 0, %d, %d},\t/* %d */\n", {next, nextNode, row});
        break;
    }
  };
  WriteRows(out, "RecEdge", "Edges", t.Edges.size(), edge, "{E_END, 0, -1, -1}");
  const auto node = [&](std::size_t i) {
    const RecTableNode& n = t.Nodes[i];
    const std::string_view member = n.Member == kRecNone ? "REC_NONE" : n.Member == kRecLeave ? "REC_LEAVE" : "";
    const Decimal number(n.Member);
    out.Put("\t{%s, %d, %d},\t/* %d */\n",
            {member.empty() ? std::string_view(number) : member, Decimal(n.Arc), Decimal(n.Arcs),
             Decimal(static_cast<long long>(i))});
  };
  WriteRows(out, "RecNode", "Nodes", t.Nodes.size(), node, "{REC_NONE, 0, 0}");
  const auto arc = [&](std::size_t i) {
    const RecTableArc& a = t.Arcs[i];
    out.Put("\t{%s, %d},\t/* %d */\n", {term(a.Term), Decimal(a.Node), Decimal(static_cast<long long>(i))});
  };
  WriteRows(out, "RecArc", "Arcs", t.Arcs.size(), arc, "{0, 0}");
  const auto nont = [&](std::size_t i) {
    const RecTableNont& n = t.Nonts[i];
    out.Put("\t{%d, %d, %d},\t/* %d */\n",
            {Decimal(n.Edge), Decimal(n.Node), Decimal(n.Loop), Decimal(static_cast<long long>(i))});
  };
  WriteRows(out, "RecNont", "Nonts", t.Nonts.size(), nont, "{-1, -1, -1}");
}

}  // namespace

Status WriteRecovery(const EmbeddedPlan& x, const EmbeddedDecisions& decisions, const RoutineUse& use,
                     CodeWriter& out) {
  RecoveryTables tables;
  if (Status st = BuildRecoveryTables(x.lang, decisions, use.Nonterminals, tables); st != stOk) return st;
  WriteTables(x, tables, out);
  out.Put(kRuntime);
  return stOk;
}

}  // namespace parvolen
