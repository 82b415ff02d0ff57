/* The statement language's embeddable translator (parvolen --prefix=stmt): parses the file
   named on the command line, nesting its parsing routines at most 400 deep, and prints "<file>: accepted",
   or "<file>:<line>:<column>: <what>" and the status message.
   Build: cc -std=c99 -o stmt embedded_main.c stmt.c */
#include <stdio.h>

#include "stmt.h"

int main(int argc, char **argv) {
	stmt_parser	*p;
	int	status;

	if  ( argc != 2 || ( p = stmt_create() ) == NULL )
		return 2;
	stmt_set_max_depth(p, 400);
	status = stmt_parse_file(p, argv[1]);
	if  ( status == STMT_OK )
		printf("%s: accepted\n", argv[1]);
	else
		printf("%s:%d:%d: %s (%s)\n", argv[1], stmt_error_line(p), stmt_error_column(p), stmt_error_text(p),
		       stmt_error_message(status));
	stmt_destroy(p);
	return status == STMT_OK ? 0 : 1;
}
