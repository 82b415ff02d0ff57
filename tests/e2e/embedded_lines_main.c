/* Test driver of a generated embeddable translator: parses each line of the input file as one
   whole input and prints a line per input line, "1" when it is a sentence, or "0 STATUS
   LINE:COLUMN TEXT" with the status, place and text of the failure. Built with -DPREFIX=NAME
   and -DHEADER='"NAME.h"' for the translator NAME. Exit status 0 when every line was parsed, 2
   for a wrong command line, an unreadable file or no memory. */
#include <stdio.h>
#include <stdlib.h>

#include HEADER

#define JOIN_NAME(prefix, name) prefix##_##name
#define API_NAME(prefix, name) JOIN_NAME(prefix, name)
#define API(name) API_NAME(PREFIX, name)

int main(int argc, char **argv) {
	FILE	*in;
	API(parser)	*p;
	char	*line = NULL;
	size_t	size = 0, length = 0;
	int	c, status;

	if ( argc != 2 || (in = fopen(argv[1], "rb")) == NULL ) {
		fprintf(stderr, "usage: %s <file of inputs, one a line>\n", argv[0]);
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
		status = API(parse_buffer)(p, line != NULL ? line : "", length, "line");
		if ( status == 0 )
			printf("1\n");
		else
			printf("0 %d %d:%d %s\n", status, API(error_line)(p), API(error_column)(p), API(error_text)(p));
		length = 0;
		if ( c == EOF )
			break;
	}
	free(line);
	API(destroy)(p);
	fclose(in);
	return 0;
}
