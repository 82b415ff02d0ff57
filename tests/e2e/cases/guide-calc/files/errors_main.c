/* calc-errors: reports every syntax error of a file, up to 20 (embeddable translator). */
#include <stdio.h>

#include "calc.h"

int main(int argc, char **argv) {
	calc_parser *p = calc_create();
	int status, i;

	if (argc != 2 || p == NULL) {
		fprintf(stderr, "usage: %s <input file>\n", argv[0]);
		return 2;
	}
	calc_set_max_errors(p, 20);
	status = calc_parse_file(p, argv[1]);
	for (i = 0; i < calc_error_count(p); i++)
		fprintf(stderr, "%s:%d:%d: %s\n", argv[1], calc_error_line_at(p, i), calc_error_column_at(p, i),
		        calc_error_text_at(p, i));
	if (status == CALC_OK)
		printf("ok\n");
	calc_destroy(p);
	return status == CALC_OK ? 0 : 1;
}
