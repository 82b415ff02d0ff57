/* The calculator's embeddable translator (parvolen --prefix=calc): parses each file named on
   the command line and prints "<file>: accepted", or "<file>:<line>:<column>: <what>" for the
   error that stopped it. Exit status 0 when every input is accepted, 1 otherwise.
   Build: cc -std=c99 -o calc embedded_main.c calc.c */
#include <stdio.h>

#include "calc.h"

int main(int argc, char **argv) {
	calc_parser	*p = calc_create();
	int	i, rejected = 0;

	if  ( p == NULL )
		return 2;
	for  ( i = 1; i < argc; i++ ) {
		if  ( calc_parse_file(p, argv[i]) == CALC_OK ) {
			printf("%s: accepted\n", argv[i]);
		} else {
			printf("%s:%d:%d: %s\n", argv[i], calc_error_line(p), calc_error_column(p), calc_error_text(p));
			rejected = 1;
		}
	}
	calc_destroy(p);
	return rejected;
}
