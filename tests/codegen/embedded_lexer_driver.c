/* Test driver of the lexer property test: the embeddable translator `lx' of a grammar that takes
   any list of terminals, each calling the action `seen'. Every input file given is parsed from
   memory and then from a stream; for each way it prints "buffer" or "stream", a line per
   terminal "INDEX LENGTH LINE COLUMN" (INDEX: the place of its code in KINDS, which kinds.h
   defines; " text-differs" appended when lx_token_text is not the terminal's slice of the input
   followed by a NUL), and "end STATUS LINE COLUMN" with the failure's place (0 0 on success).
   Exit status 0, or 2 for an unreadable file or no memory. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "lx.h"
#include "kinds.h"

static const int Kinds[] = {KINDS};

/* The input being parsed, for the action to check the terminals' texts against. */
struct Input {
	const char	*text;
	size_t	length;
	size_t	*lineStart;	/* offset of each line's first byte */
	int	lines;
};

int lx_action_seen(lx_parser *p) {
	const struct Input	*in = (const struct Input *)lx_user(p);
	int	kind = lx_token_kind(p), line = lx_token_line(p), column = lx_token_column(p), index = -1, i;
	size_t	length = lx_token_length(p), offset;
	const char	*text = lx_token_text(p);
	int	same = 0;

	for ( i = 0; i < (int)( sizeof Kinds / sizeof Kinds[0] ); i++ )
		if ( Kinds[i] == kind )
			index = i;
	if ( text != NULL && line >= 1 && line <= in->lines && column >= 1 ) {
		offset = in->lineStart[line - 1] + (size_t)( column - 1 );
		same = offset <= in->length && length <= in->length - offset &&
		       memcmp(text, in->text + offset, length) == 0 && text[length] == '\0';
	}
	printf("%d %lu %d %d%s\n", index, (unsigned long)length, line, column, same ? "" : " text-differs");
	return 0;
}

static const char *StatusName(int status) {
	switch ( status ) {
		case LX_OK:	return "ok";
		case LX_BAD_CHAR:	return "bad-char";
		case LX_TOO_LONG:	return "too-long";
		case LX_UNTERMINATED:	return "unterminated";
		case LX_SYNTAX:	return "syntax";
		default:	return "other";
	}
}

static void End(lx_parser *p, int status) {
	if ( status == LX_OK )
		printf("end ok 0 0\n");
	else
		printf("end %s %d %d\n", StatusName(status), lx_error_line(p), lx_error_column(p));
}

/* The whole file in memory, with its line starts; 0 when it cannot be read. */
static int Load(const char *path, struct Input *in) {
	FILE	*f = fopen(path, "rb");
	char	*text = NULL;
	size_t	room = 0, got = 0, n, i;

	if ( f == NULL )
		return 0;
	for ( ;; ) {
		if ( got == room ) {
			char	*grown = (char *)realloc(text, room * 2 + 4096);

			if ( grown == NULL )
				return 0;
			text = grown;
			room = room * 2 + 4096;
		}
		n = fread(text + got, 1, room - got, f);
		got += n;
		if ( n == 0 )
			break;
	}
	fclose(f);
	in->text = text;
	in->length = got;
	in->lines = 1;
	for ( i = 0; i < got; i++ )
		in->lines += text[i] == '\n';
	in->lineStart = (size_t *)malloc((size_t)in->lines * sizeof(size_t));
	if ( in->lineStart == NULL )
		return 0;
	in->lines = 1;
	in->lineStart[0] = 0;
	for ( i = 0; i < got; i++ )
		if ( text[i] == '\n' )
			in->lineStart[in->lines++] = i + 1;
	return 1;
}

int main(int argc, char **argv) {
	lx_parser	*p = lx_create();
	int	a;

	if ( p == NULL )
		return 2;
	for ( a = 1; a < argc; a++ ) {
		struct Input	in;
		FILE	*f;

		if ( !Load(argv[a], &in) )
			return 2;
		lx_set_user(p, &in);
		printf("buffer\n");
		End(p, lx_parse_buffer(p, in.text, in.length, argv[a]));
		printf("stream\n");
		if ( ( f = fopen(argv[a], "rb") ) == NULL )
			return 2;
		End(p, lx_parse_stream(p, f, argv[a]));
		fclose(f);
		free((void *)in.text);
		free(in.lineStart);
	}
	lx_destroy(p);
	return 0;
}
