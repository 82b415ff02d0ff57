/* The postfix embeddable translator (parvolen -s --prefix=postfix): postfix <input> <output>.
   The translated actions write through the parser's output stream, set by postfix_set_output;
   a failure is reported on standard error and the exit status is then 1.
   Build: cc -std=c99 -o postfix embedded_main.c postfix.c */
#include <stdio.h>

#include "postfix.h"

int main(int argc, char **argv) {
	postfix_parser	*p;
	FILE	*out;
	int	status;

	if  ( argc != 3 ) {
		fprintf(stderr, "usage: %s <input> <output>\n", argv[0]);
		return 2;
	}
	if  ( ( out = fopen(argv[2], "w") ) == NULL || ( p = postfix_create() ) == NULL )
		return 2;
	postfix_set_output(p, out);
	status = postfix_parse_file(p, argv[1]);
	if  ( fclose(out) != 0 && status == POSTFIX_OK )
		status = POSTFIX_WRITE;
	if  ( status != POSTFIX_OK )
		fprintf(stderr, "%s:%d:%d: %s\n", argv[1], postfix_error_line(p), postfix_error_column(p),
		        postfix_error_text(p));
	postfix_destroy(p);
	return status == POSTFIX_OK ? 0 : 1;
}
