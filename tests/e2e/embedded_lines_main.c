/* Test driver of a generated embeddable translator: parses each line of the input file as one
   whole input and prints a line per input line, "1" when it is a sentence, or "0 STATUS
   LINE:COLUMN TEXT" with the status, place and text of the failure. Built with -DPREFIX=NAME
   and -DHEADER='"NAME.h"' for the translator NAME. Exit status 0 when every line was parsed, 2
   for a wrong command line, an unreadable file or no memory.
   With a second argument N > 0, each line is parsed again recovering, with at most N errors;
   when that parse breaks a rule of recovery (another status or first error, a count out of
   0..N, 0 exactly for a sentence, a first text that does not begin with the plain one) the
   line's verdict ends with " !recovery: " and what broke. With a third argument (any), the
   verdict then goes on with a tab and the count of errors of the recovering parse, and a tab and
   "LINE:COLUMN TEXT" for each of them (a text holds no tab: the translator escapes it). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include HEADER

#define JOIN_NAME(prefix, name) prefix##_##name
#define API_NAME(prefix, name) JOIN_NAME(prefix, name)
#define API(name) API_NAME(PREFIX, name)

int main(int argc, char **argv) {
	FILE	*in;
	API(parser)	*p;
	char	*line = NULL;
	size_t	size = 0, length = 0;
	int	c, i, status, line0, column0, count, most = argc > 2 ? atoi(argv[2]) : 0, each = argc > 3;
	char	text0[256];
	const char	*broken;

	if ( argc < 2 || argc > 4 || (in = fopen(argv[1], "rb")) == NULL ) {
		fprintf(stderr, "usage: %s <file of inputs, one a line> [most errors [each]]\n", argv[0]);
		return 2;
	}
	if ( (p = API(create)()) == NULL )
		return 2;
	for ( ;; ) {
		c = getc(in);
		if ( c == EOF && length == 0 )
			break;
		if ( c != EOF && c != '\n' ) {
			if ( length + 1 >= size ) {
				char *grown = realloc(line, size * 2 + 64);
				if ( grown == NULL )
					return 2;
				line = grown;
				size = size * 2 + 64;
			}
			line[length++] = (char) c;
			continue;
		}
		API(set_max_errors)(p, 0);
		status = API(parse_buffer)(p, line != NULL ? line : "", length, "line");
		if ( status == 0 )
			printf("1");
		else
			printf("0 %d %d:%d %s", status, API(error_line)(p), API(error_column)(p), API(error_text)(p));
		if ( most > 0 ) {
			line0 = API(error_line)(p);
			column0 = API(error_column)(p);
			snprintf(text0, sizeof text0, "%s", API(error_text)(p));
			API(set_max_errors)(p, most);
			broken = NULL;
			if ( API(parse_buffer)(p, line != NULL ? line : "", length, "line") != status )
				broken = "another status";
			else if ( API(error_line)(p) != line0 || API(error_column)(p) != column0 ||
			          strcmp(API(error_text)(p), text0) != 0 )
				broken = "another first error";
			else if ( ( count = API(error_count)(p) ) < 0 || count > most || ( count == 0 ) != ( status == 0 ) )
				broken = "error count";
			else if ( count > 0 && ( API(error_line_at)(p, 0) != line0 || API(error_column_at)(p, 0) != column0 ||
			                         strncmp(API(error_text_at)(p, 0), text0, strlen(text0)) != 0 ) )
				broken = "first error by index";
			if ( broken != NULL )
				printf(" !recovery: %s", broken);
			if ( each ) {
				printf("\t%d", API(error_count)(p));
				for ( i = 0; i < API(error_count)(p); i++ )
					printf("\t%d:%d %s", API(error_line_at)(p, i), API(error_column_at)(p, i), API(error_text_at)(p, i));
			}
		}
		printf("\n");
		length = 0;
		if ( c == EOF )
			break;
	}
	free(line);
	API(destroy)(p);
	fclose(in);
	return 0;
}
