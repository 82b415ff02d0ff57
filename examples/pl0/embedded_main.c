/* The PL/0 embeddable translator (parvolen --prefix=pl0): reads the file named on the command
   line, or standard input without one, as a stream and prints "<file>: accepted", or
   "<file>:<line>:<column>: <what>" for the error that stopped it.
   Build: cc -std=c99 -o pl0 embedded_main.c pl0.c */
#include <stdio.h>

#include "pl0.h"

int main(int argc, char **argv) {
	const char	*name = argc > 1 ? argv[1] : "<stdin>";
	FILE	*in = argc > 1 ? fopen(argv[1], "rb") : stdin;
	pl0_parser	*p;
	int	status;

	if  ( in == NULL || ( p = pl0_create() ) == NULL ) {
		fprintf(stderr, "%s: cannot open\n", name);
		return 2;
	}
	status = pl0_parse_stream(p, in, name);
	if  ( status == PL0_OK )
		printf("%s: accepted\n", name);
	else
		printf("%s:%d:%d: %s\n", name, pl0_error_line(p), pl0_error_column(p), pl0_error_text(p));
	pl0_destroy(p);
	if  ( in != stdin )
		fclose(in);
	return status == PL0_OK ? 0 : 1;
}
