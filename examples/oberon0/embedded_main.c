/* The Oberon-0 embeddable translator (parvolen --prefix=oberon0): one parser checks every
   module named on the command line in turn; prints "<file>: accepted", or
   "<file>:<line>:<column>: <what>" with the terminal it stopped at.
   Build: cc -std=c99 -o oberon0 embedded_main.c oberon0.c */
#include <stdio.h>

#include "oberon0.h"

int main(int argc, char **argv) {
	oberon0_parser	*p = oberon0_create();
	int	i, rejected = 0;

	if  ( p == NULL )
		return 2;
	for  ( i = 1; i < argc; i++ ) {
		if  ( oberon0_parse_file(p, argv[i]) == OBERON0_OK ) {
			printf("%s: accepted\n", argv[i]);
			continue;
		}
		printf("%s:%d:%d: %s\n", argv[i], oberon0_error_line(p), oberon0_error_column(p), oberon0_error_text(p));
		rejected = 1;
	}
	oberon0_destroy(p);
	return rejected;
}
