/* Checks one file against the Calc grammar with the embeddable translator: prints "ok", or
   the line, column and what was expected. */
#include <stdio.h>

#include "calc.h"

int main(int argc, char **argv) {
	calc_parser *p;
	int status;

	if (argc != 2 || (p = calc_create()) == NULL) {
		fprintf(stderr, "usage: calc_embedded <input file>\n");
		return 2;
	}
	status = calc_parse_file(p, argv[1]);
	if (status == CALC_OK)
		printf("ok\n");
	else
		printf("%s:%d:%d: %s\n", argv[1], calc_error_line(p), calc_error_column(p), calc_error_text(p));
	calc_destroy(p);
	return status == CALC_OK ? 0 : 1;
}
