/* calc: checks that a file holds one arithmetic expression (embeddable translator). */
#include <stdio.h>

#include "calc.h"

int main(int argc, char **argv) {
	calc_parser *p = calc_create();
	int status;

	if (argc != 2 || p == NULL) {
		fprintf(stderr, "usage: %s <input file>\n", argv[0]);
		return 2;
	}
	status = calc_parse_file(p, argv[1]);
	if (status != CALC_OK)
		fprintf(stderr, "%s:%d:%d: %s\n", argv[1], calc_error_line(p), calc_error_column(p),
		        calc_error_text(p));
	else
		printf("ok\n");
	calc_destroy(p);
	return status == CALC_OK ? 0 : 1;
}
