/* Checks the embeddable translator of mini.lang: a table of inputs with the status, line,
   column and error text each must give, every input parsed from memory and from a stream with
   the same result; long generated inputs whose terminals and comments cross the stream's
   blocks, with a fault planted at a known place; hostile inputs; and the nesting limit. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "mini.h"

struct Case {
	const char	*input;
	int	status, line, column;
	const char	*text;	/* a part of the error text; "" for none */
};

static const struct Case cases[] = {
	{ "", MINI_OK, 0, 0, "" },
	{ "x := 1;", MINI_OK, 0, 0, "" },
	{ "  x_1$ := \"a b\" + 'c' + 42 ;\n", MINI_OK, 0, 0, "" },
	{ "IF a <= b THEN x := (1 + 2); End", MINI_OK, 0, 0, "" },
	{ "x := 1; // a comment\n// another\ny := 2;", MINI_OK, 0, 0, "" },
	{ "x := (* a (* nested *) comment *) 1;", MINI_OK, 0, 0, "" },
	{ "x := 1; (* open\n\n", MINI_UNTERMINATED, 1, 9, "comment not closed" },
	{ "x := 1 (* (* *) y;", MINI_UNTERMINATED, 1, 8, "comment not closed" },
	{ "x := \"open\n", MINI_UNTERMINATED, 1, 6, "not closed" },
	{ "x := \"two\nlines\" + y", MINI_SYNTAX, 2, 11, "expected '<', '<=', '<>', '+' or ';', found end of input" },
	{ "x := 1", MINI_SYNTAX, 1, 7, "expected '<', '<=', '<>', '+' or ';', found end of input" },
	{ "x := 1;\n  y = 2;", MINI_BAD_CHAR, 2, 5, "character '='" },
	{ "x := 1;\n  y 2;", MINI_SYNTAX, 2, 5, "expected ':=', found number '2'" },
	{ "if x then y := 1; end end", MINI_SYNTAX, 1, 23, "expected ident, 'if' or end of input, found 'end'" },
	{ "x := ;", MINI_SYNTAX, 1, 6, "found ';'" },
	{ "x := 12 34;", MINI_SYNTAX, 1, 9, "found number '34'" },
	{ "_x := 1;", MINI_BAD_CHAR, 1, 1, "character '_' begins no terminal" },
	{ "x := 1 # 2;", MINI_BAD_CHAR, 1, 8, "character '#'" },
	{ "x := 1;\n\tz := \x01;", MINI_BAD_CHAR, 2, 7, "byte 0x01" },
	{ "x := \xff;", MINI_BAD_CHAR, 1, 6, "byte 0xff" },
	{ "x := a <> b <= c < d;", MINI_OK, 0, 0, "" },
	{ "x := a < > b;", MINI_BAD_CHAR, 1, 10, "character '>'" },
};

static int failures;

static void Check(int ok, const char *what, const char *input) {
	if  ( !ok ) {
		failures++;
		printf("FAILED: %s for input \"%.60s\"\n", what, input);
	}
}

/* Parses the text from memory and from a stream; both must agree. The status. */
static int ParseBoth(mini_parser *p, const char *text, size_t length, int *line, int *column, char *errText) {
	int	fromBuffer, fromStream;
	FILE	*in = tmpfile();

	fromBuffer = mini_parse_buffer(p, text, length, "buffer");
	*line = mini_error_line(p);
	*column = mini_error_column(p);
	strcpy(errText, mini_error_text(p));
	if  ( in == NULL || fwrite(text, 1, length, in) != length ) {
		Check(0, "tmpfile", "");
		return fromBuffer;
	}
	rewind(in);
	fromStream = mini_parse_stream(p, in, "stream");
	fclose(in);
	Check(fromStream == fromBuffer, "stream and buffer give the same status", text);
	Check(mini_error_line(p) == *line && mini_error_column(p) == *column, "stream and buffer agree on the place", text);
	Check(strcmp(mini_error_text(p), errText) == 0, "stream and buffer agree on the text", text);
	return fromBuffer;
}

static void TableCases(mini_parser *p) {
	size_t	i;
	int	line, column;
	char	text[512];

	for  ( i = 0; i < sizeof cases / sizeof cases[0]; i++ ) {
		const struct Case	*c = &cases[i];
		int	status = ParseBoth(p, c->input, strlen(c->input), &line, &column, text);

		if  ( status != c->status || line != c->line || column != c->column || strstr(text, c->text) == NULL ) {
			failures++;
			printf("FAILED: \"%s\": got %d at %d:%d \"%s\", want %d at %d:%d \"%s\"\n", c->input, status, line,
			       column, text, c->status, c->line, c->column, c->text);
		}
	}
}

/* A long input of statements, comments and constants, some longer than a block, built from a
   fixed seed; where fault is set, one statement lacks its ";" and the place of the terminal
   after it is recorded. */
static char *LongInput(unsigned seed, int fault, size_t *length, int *line, int *column) {
	size_t	room = 3u << 20, n = 0;
	char	*text = (char *)malloc(room);
	int	curLine = 1, statements = 0;
	size_t	lineStart = 0;

	*line = *column = 0;
	while  ( n < room - 200000 ) {
		unsigned	r;
		size_t	k, len;

		seed = seed * 1103515245u + 12345u;
		r = ( seed >> 8 ) % 8;
		if  ( r == 0 ) {	/* a long block comment over several lines */
			len = ( seed >> 4 ) % 90000;
			n += (size_t)sprintf(text + n, "(* ");
			for  ( k = 0; k < len; k++ ) {
				text[n++] = k % 61 == 60 ? '\n' : 'a' + (char)( k % 26 );
				if  ( text[n - 1] == '\n' ) {
					curLine++;
					lineStart = n;
				}
			}
			n += (size_t)sprintf(text + n, " *)");
		} else if  ( r == 1 ) {	/* a line comment */
			n += (size_t)sprintf(text + n, "// comment %u\n", seed);
			curLine++;
			lineStart = n;
		} else if  ( r == 2 ) {	/* a long string */
			len = ( seed >> 4 ) % 60000;
			n += (size_t)sprintf(text + n, "s := \"");
			memset(text + n, 'q', len);
			n += len;
			n += (size_t)sprintf(text + n, "\";\n");
			curLine++;
			lineStart = n;
		} else {
			statements++;
			if  ( fault && statements == 100 ) {
				n += (size_t)sprintf(text + n, "x := y + 'c'   ");
				*line = curLine;
				*column = (int)( n - lineStart ) + 1;
				n += (size_t)sprintf(text + n, "z := 1;\n");
			} else {
				n += (size_t)sprintf(text + n, "  longer_name$%u := 12345 + \"s\";\n", seed % 1000);
			}
			curLine++;
			lineStart = n;
		}
	}
	*length = n;
	return text;
}

static void LongInputs(mini_parser *p) {
	unsigned	seed;
	int	line, column, wantLine, wantColumn;
	char	text[512];

	for  ( seed = 1; seed <= 3; seed++ ) {
		size_t	length;
		char	*input = LongInput(seed, 0, &length, &wantLine, &wantColumn);

		Check(ParseBoth(p, input, length, &line, &column, text) == MINI_OK, "a long input is accepted", "long");
		free(input);
		input = LongInput(seed, 1, &length, &wantLine, &wantColumn);
		Check(wantLine > 0, "the fault was planted", "long");
		Check(ParseBoth(p, input, length, &line, &column, text) == MINI_SYNTAX, "a long input with a fault", "long");
		if  ( line != wantLine || column != wantColumn ) {
			failures++;
			printf("FAILED: fault at %d:%d, want %d:%d\n", line, column, wantLine, wantColumn);
		}
		free(input);
	}
}

/* Text of n bytes: head, then the filler byte, then tail. */
static char *Filled(const char *head, char filler, size_t n, const char *tail, size_t *length) {
	size_t	h = strlen(head), t = strlen(tail);
	char	*text = (char *)malloc(h + n + t + 1);

	memcpy(text, head, h);
	memset(text + h, filler, n);
	memcpy(text + h + n, tail, t + 1);
	*length = h + n + t;
	return text;
}

static void Hostile(mini_parser *p) {
	size_t	length;
	int	line, column;
	char	text[512], *input;

	input = Filled("x := ", 'a', 10u << 20, ";", &length);	/* a 10 MB identifier */
	Check(ParseBoth(p, input, length, &line, &column, text) == MINI_TOO_LONG, "a 10 MB identifier", "aaa");
	Check(line == 1 && column == 6, "the long identifier's place", "aaa");
	free(input);
	input = Filled("x := ", '7', 1u << 20, ";", &length);	/* an endless number */
	Check(ParseBoth(p, input, length, &line, &column, text) == MINI_TOO_LONG, "an endless number", "777");
	free(input);
	input = Filled("x := \"", 's', 3u << 20, "\";", &length);	/* an endless string */
	Check(ParseBoth(p, input, length, &line, &column, text) == MINI_TOO_LONG, "an endless string", "sss");
	free(input);
	input = Filled("x := 1;", '\0', 3, "y := 2;", &length);	/* NUL bytes */
	Check(ParseBoth(p, input, length, &line, &column, text) == MINI_BAD_CHAR && column == 8, "a NUL byte", "NUL");
	free(input);
	input = Filled("x := ", '(', 1000000, "1", &length);	/* deep nesting */
	Check(ParseBoth(p, input, length, &line, &column, text) == MINI_TOO_DEEP, "deep nesting", "(((");
	free(input);
	mini_set_max_depth(p, 10);
	Check(mini_parse_buffer(p, "x := ((1));", 11, "") == MINI_OK, "nesting within the limit", "((1))");
	Check(mini_parse_buffer(p, "x := ((((((((1))))))));", 23, "") == MINI_TOO_DEEP, "nesting over the limit", "(((");
	mini_set_max_depth(p, MINI_DEFAULT_MAX_DEPTH);
	Check(mini_parse_file(p, "no such file") == MINI_OPEN, "a missing file", "no such file");
}

int main(void) {
	mini_parser	*p = mini_create();

	if  ( p == NULL )
		return 2;
	TableCases(p);
	LongInputs(p);
	Hostile(p);
	Check(mini_parse_buffer(p, "x := 'c';", 9, "") == MINI_OK && mini_token_kind(p) == MINI_T_semicolon,
	      "the last terminal matched", "x := 'c';");
	mini_destroy(p);
	printf("%s\n", failures == 0 ? "all cases passed" : "some cases failed");
	return failures == 0 ? 0 : 1;
}
