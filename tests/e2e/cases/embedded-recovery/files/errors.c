/* Prints every syntax error of a PL/0 program (at most 10), from a file or, with "-", from
   standard input (a stream that cannot seek back). */
#include <stdio.h>
#include <string.h>

#include "pl0.h"

int main(int argc, char **argv) {
	pl0_parser	*p = pl0_create();
	int	status, i;

	if ( argc != 2 || p == NULL )
		return 2;
	pl0_set_max_errors(p, 10);
	if ( strcmp(argv[1], "-") == 0 )
		status = pl0_parse_stream(p, stdin, "-");
	else
		status = pl0_parse_file(p, argv[1]);
	for ( i = 0; i < pl0_error_count(p); i++ )
		printf("%s:%d:%d: %s\n", argv[1], pl0_error_line_at(p, i), pl0_error_column_at(p, i),
		       pl0_error_text_at(p, i));
	printf("status %d, first: %d:%d: %s\n", status, pl0_error_line(p), pl0_error_column(p), pl0_error_text(p));
	pl0_destroy(p);
	return status == PL0_OK ? 0 : 1;
}
