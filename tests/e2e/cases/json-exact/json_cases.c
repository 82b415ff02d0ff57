/* Runs the case list of exact JSON through the embeddable translator of examples/json, in buffer
   and in stream mode, and against a model: a small JSON checker written here by hand from the
   grammar (its UTF-8 check follows the table of well-formed byte sequences, not the generator's
   range splitting). Every case must come out as its list says, in both modes alike (same
   status, line, column and message), and the model must agree. Then each case is mutated (bytes
   deleted, inserted, replaced, slices doubled) and every mutant must get the model's verdict;
   large inputs check the stream's refills and deep ones the nesting limit.
   Case list: one case a line, "+ TEXT" (accepted) or "- TEXT" (rejected), "-" alone for the
   empty text; in TEXT "%HH" is the byte HH and "%%" a percent sign; "#" begins a comment line.
   usage: json_cases CASES   prints a summary line; exit status 0 when every check held. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "json.h"

/* ---- the model ---- */

typedef struct {
	const unsigned char	*s;
	size_t	n, i;
} Model;

static int ModelValue(Model *m);

static void ModelSpace(Model *m) {
	while  ( m->i < m->n && ( m->s[m->i] == ' ' || m->s[m->i] == '\t' || m->s[m->i] == '\n' || m->s[m->i] == '\r' ) )
		m->i++;
}

static int InRange(const Model *m, size_t at, int lo, int hi) {
	return	at < m->n && m->s[at] >= lo && m->s[at] <= hi;
}

/* The length of the well-formed UTF-8 sequence at i (first byte 80 or above), 0 when there is none. */
static size_t ModelUtf8(const Model *m, size_t i) {
	int	c = m->s[i];
	int	lo = 0x80, hi = 0xBF;
	size_t	n, k;

	if  ( c >= 0xC2 && c <= 0xDF )
		n = 2;
	else if  ( c >= 0xE0 && c <= 0xEF ) {
		n = 3;
		if  ( c == 0xE0 )
			lo = 0xA0;
		if  ( c == 0xED )
			hi = 0x9F;
	} else if  ( c >= 0xF0 && c <= 0xF4 ) {
		n = 4;
		if  ( c == 0xF0 )
			lo = 0x90;
		if  ( c == 0xF4 )
			hi = 0x8F;
	} else
		return	0;
	if  ( !InRange(m, i + 1, lo, hi) )
		return	0;
	for  ( k = 2; k < n; k++ )
		if  ( !InRange(m, i + k, 0x80, 0xBF) )
			return	0;
	return	n;
}

static int IsHex(int c) {
	return	( c >= '0' && c <= '9' ) || ( c >= 'a' && c <= 'f' ) || ( c >= 'A' && c <= 'F' );
}

static int ModelString(Model *m) {
	size_t	k;

	m->i++;	/* the opening quote */
	for  ( ;; ) {
		if  ( m->i >= m->n )
			return	0;
		if  ( m->s[m->i] == '"' ) {
			m->i++;
			return	1;
		}
		if  ( m->s[m->i] < 0x20 )
			return	0;
		if  ( m->s[m->i] == '\\' ) {
			if  ( m->i + 1 >= m->n )
				return	0;
			if  ( m->s[m->i + 1] == 'u' ) {
				for  ( k = 2; k < 6; k++ )
					if  ( m->i + k >= m->n || !IsHex(m->s[m->i + k]) )
						return	0;
				m->i += 6;
			} else if  ( strchr("\"\\/bfnrt", m->s[m->i + 1]) != NULL && m->s[m->i + 1] != '\0' )
				m->i += 2;
			else
				return	0;
		} else if  ( m->s[m->i] < 0x80 )
			m->i++;
		else if  ( ( k = ModelUtf8(m, m->i) ) == 0 )
			return	0;
		else
			m->i += k;
	}
}

static int ModelDigits(Model *m) {
	size_t	from = m->i;

	while  ( InRange(m, m->i, '0', '9') )
		m->i++;
	return	m->i > from;
}

static int ModelNumber(Model *m) {
	if  ( m->s[m->i] == '-' )
		m->i++;
	if  ( InRange(m, m->i, '0', '0') )
		m->i++;
	else if  ( !InRange(m, m->i, '1', '9') || !ModelDigits(m) )
		return	0;
	if  ( InRange(m, m->i, '.', '.') ) {
		m->i++;
		if  ( !ModelDigits(m) )
			return	0;
	}
	if  ( InRange(m, m->i, 'e', 'e') || InRange(m, m->i, 'E', 'E') ) {
		m->i++;
		if  ( InRange(m, m->i, '+', '+') || InRange(m, m->i, '-', '-') )
			m->i++;
		if  ( !ModelDigits(m) )
			return	0;
	}
	return	1;
}

static int ModelWord(Model *m, const char *word) {
	size_t	n = strlen(word);

	if  ( m->n - m->i < n || memcmp(m->s + m->i, word, n) != 0 )
		return	0;
	m->i += n;
	return	1;
}

/* A bracketed list of values (array) or of members (object) after the opening bracket. */
static int ModelList(Model *m, int close, int members) {
	m->i++;
	ModelSpace(m);
	if  ( InRange(m, m->i, close, close) ) {
		m->i++;
		return	1;
	}
	for  ( ;; ) {
		if  ( members ) {
			if  ( !InRange(m, m->i, '"', '"') || !ModelString(m) )
				return	0;
			ModelSpace(m);
			if  ( !InRange(m, m->i, ':', ':') )
				return	0;
			m->i++;
		}
		if  ( !ModelValue(m) )
			return	0;
		if  ( InRange(m, m->i, close, close) ) {
			m->i++;
			return	1;
		}
		if  ( !InRange(m, m->i, ',', ',') )
			return	0;
		m->i++;
		ModelSpace(m);
	}
}

/* A value with the white space around it. */
static int ModelValue(Model *m) {
	int	ok;

	ModelSpace(m);
	if  ( m->i >= m->n )
		return	0;
	switch  ( m->s[m->i] ) {
	case '{':	ok = ModelList(m, '}', 1); break;
	case '[':	ok = ModelList(m, ']', 0); break;
	case '"':	ok = ModelString(m); break;
	case 't':	ok = ModelWord(m, "true"); break;
	case 'f':	ok = ModelWord(m, "false"); break;
	case 'n':	ok = ModelWord(m, "null"); break;
	default:	ok = m->s[m->i] == '-' || ( m->s[m->i] >= '0' && m->s[m->i] <= '9' ) ? ModelNumber(m) : 0;
	}
	ModelSpace(m);
	return	ok;
}

static int ModelAccepts(const unsigned char *s, size_t n) {
	Model	m;

	m.s = s;
	m.n = n;
	m.i = 0;
	return	ModelValue(&m) && m.i == n;
}

/* ---- the translator in both modes ---- */

typedef struct {
	int	status, line, column;
	char	text[200];
} Outcome;

static json_parser	*parser;
static int	failures;

static void Record(Outcome *o, int status) {
	o->status = status;
	o->line = status == JSON_OK ? 0 : json_error_line(parser);
	o->column = status == JSON_OK ? 0 : json_error_column(parser);
	sprintf(o->text, "%.190s", status == JSON_OK ? "" : json_error_text(parser));
}

static void Show(const char *what, const unsigned char *s, size_t n) {
	size_t	i;

	printf("%s: \"", what);
	for  ( i = 0; i < n && i < 120; i++ )
		if  ( s[i] >= 0x20 && s[i] < 0x7F && s[i] != '%' )
			putchar(s[i]);
		else
			printf("%%%02X", s[i]);
	printf(n > 120 ? "\"... (%lu bytes)\n" : "\"\n", (unsigned long)n);
}

/* Parses s in both modes; the two must agree. Returns the buffer's outcome. */
static int Translate(const unsigned char *s, size_t n, Outcome *buffer) {
	Outcome	stream;
	FILE	*f = tmpfile();

	Record(buffer, json_parse_buffer(parser, (const char *)s, n, "case"));
	if  ( f == NULL || fwrite(s, 1, n, f) != n || fseek(f, 0, SEEK_SET) != 0 ) {
		printf("cannot write a temporary file\n");
		exit(2);
	}
	Record(&stream, json_parse_stream(parser, f, "case"));
	fclose(f);
	if  ( buffer->status != stream.status || buffer->line != stream.line || buffer->column != stream.column
	      || strcmp(buffer->text, stream.text) != 0 ) {
		Show("buffer and stream differ", s, n);
		printf("  buffer %d %d:%d %s\n  stream %d %d:%d %s\n", buffer->status, buffer->line, buffer->column,
		       buffer->text, stream.status, stream.line, stream.column, stream.text);
		failures++;
	}
	return	buffer->status == JSON_OK;
}

/* One input whose verdict is known (want 1: accepted); the model must agree when asked. */
static void Check(const unsigned char *s, size_t n, int want, int askModel, const char *what) {
	Outcome	o;
	int	got = Translate(s, n, &o);

	if  ( got != want ) {
		Show(what, s, n);
		printf("  want %s, got %s %d:%d %s\n", want ? "accepted" : "rejected",
		       got ? "accepted" : "rejected", o.line, o.column, o.text);
		failures++;
	}
	if  ( askModel && ModelAccepts(s, n) != want ) {
		Show("the model disagrees with the list", s, n);
		failures++;
	}
}

/* ---- inputs ---- */

static unsigned long	seed = 12345;

static unsigned long Random(unsigned long below) {
	seed = seed * 1103515245ul + 12345ul;
	return	( ( seed >> 16 ) & 0x7FFFFFFFul ) % below;
}

/* Bytes that mutations insert: JSON's punctuation, the starts of its tokens, and the bytes at
   the edges of what strings allow. */
static const unsigned char	Alphabet[] = "{}[],:\"\\ -+.eE019utfnlr\t\n\r\x01\x1f\x7f\x80\xbf\xc2\xdf\xe0\xed\xef\xf0\xf4\xf5\xff";

static size_t Mutate(const unsigned char *s, size_t n, unsigned char *out) {
	size_t	at = Random(n + 1), len;
	int	kind = (int)Random(4);

	memcpy(out, s, n);
	if  ( n == 0 )
		kind = 1;
	if  ( at == n && kind != 1 )
		at = n - 1;
	switch  ( kind ) {
	case 0:	/* delete a byte */
		memmove(out + at, out + at + 1, n - at - 1);
		return	n - 1;
	case 1:	/* insert a byte */
		memmove(out + at + 1, out + at, n - at);
		out[at] = Alphabet[Random(sizeof Alphabet - 1)];
		return	n + 1;
	case 2:	/* replace a byte */
		out[at] = Alphabet[Random(sizeof Alphabet - 1)];
		return	n;
	default:	/* double a slice */
		len = Random(n - at) + 1;
		memmove(out + at + len, out + at, n - at);
		return	n + len;
	}
}

/* Decodes a case line into out; returns its length. */
static size_t Decode(const char *line, unsigned char *out) {
	size_t	n = 0;
	unsigned	byte;

	while  ( *line != '\0' && *line != '\n' ) {
		if  ( line[0] == '%' && line[1] == '%' ) {
			out[n++] = '%';
			line += 2;
		} else if  ( line[0] == '%' && sscanf(line + 1, "%2x", &byte) == 1 ) {
			out[n++] = (unsigned char)byte;
			line += 3;
		} else
			out[n++] = (unsigned char)*line++;
	}
	return	n;
}

/* Text of about size bytes: many small values over many lines, then the tail. */
static size_t Large(unsigned char *out, size_t size, const char *tail) {
	static const char	*items[] = { "\"caf\xc3\xa9 \\u00e9\\n\"", "-12.5e+3", "{\"k\":[true,false,null]}",
				     "\"\\ud83d\\ude00 \xf0\x9f\x98\x80\"", "0", "[[],{}]" };
	size_t	n = 0, k = 0;

	out[n++] = '[';
	while  ( n < size ) {
		const char	*item = items[k++ % 6];

		memcpy(out + n, item, strlen(item));
		n += strlen(item);
		out[n++] = ',';
		out[n++] = k % 7 == 0 ? '\n' : ' ';
	}
	memcpy(out + n, tail, strlen(tail));
	return	n + strlen(tail);
}

int main(int argc, char **argv) {
	static char	line[4096];
	static unsigned char	text[4096], mutant[8192];
	unsigned char	*big;
	FILE	*cases;
	int	accepted = 0, rejected = 0, mutants = 0, round;
	size_t	n, m, i, size;

	if  ( argc != 2 || ( cases = fopen(argv[1], "r") ) == NULL || ( parser = json_create() ) == NULL ) {
		printf("usage: json_cases CASES\n");
		return	2;
	}
	while  ( fgets(line, sizeof line, cases) != NULL ) {
		int	want;

		if  ( line[0] != '+' && line[0] != '-' )
			continue;
		want = line[0] == '+';
		n = line[1] == ' ' ? Decode(line + 2, text) : 0;
		Check(text, n, want, 1, "listed case");
		accepted += want;
		rejected += !want;
		for  ( round = 0; round < 40; round++ ) {
			m = Mutate(text, n, mutant);
			Check(mutant, m, ModelAccepts(mutant, m), 0, "mutant");
			mutants++;
		}
	}
	fclose(cases);

	/* Nesting: 400 levels are accepted, 100000 end with the depth limit, not a crash. */
	big = (unsigned char *)malloc(400000);
	if  ( big == NULL )
		return	2;
	n = 0;
	for  ( i = 0; i < 400; i++ )
		n += (size_t)sprintf((char *)big + n, i % 2 ? "[" : "{\"k\":");
	n += (size_t)sprintf((char *)big + n, "1");
	for  ( i = 400; i-- > 0; )
		big[n++] = i % 2 ? ']' : '}';
	Check(big, n, 1, 1, "400 levels");
	memset(big, '[', 100000);
	memset(big + 100000, ']', 100000);
	Check(big, 200000, 0, 0, "100000 levels");
	if  ( json_parse_buffer(parser, (const char *)big, 200000, "deep") != JSON_TOO_DEEP ) {
		printf("100000 levels: not the nesting limit\n");
		failures++;
	}

	/* Inputs over several blocks of the stream, of sizes around the block and window sizes. */
	for  ( size = 65500; size < 400000; size += 65536 ) {
		/* The tails to accept come first. */
		static const char	*tails[] = { "1]", "[]]", "\"\xed\xa0\x80\"]", "01]", "\"\\u00\"]", "true", "]]" };

		for  ( i = 0; i < 7; i++ ) {
			n = Large(big, size + i * 13, tails[i]);
			Check(big, n, i < 2, 1, "large input");
		}
	}
	free(big);
	json_destroy(parser);
	printf("%d cases listed (%d to accept, %d to reject), %d mutants: %s\n", accepted + rejected, accepted,
	       rejected, mutants, failures == 0 ? "all as expected" : "FAILURES");
	return	failures == 0 ? 0 : 1;
}
