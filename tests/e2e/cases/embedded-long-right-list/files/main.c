/* Parses the file of argv[1] with the list translator; the action Say and the output terminals
   write to standard output, the status goes to standard error. With a second argument, the
   routines report to that file (-T), and with a third, it is the nesting limit. */
#include <stdio.h>
#include <stdlib.h>

#include "lst.h"

int lst_action_Say(lst_parser *p) {
	fwrite(lst_token_text(p), 1, lst_token_length(p), stdout);
	return	putchar(' ') == EOF;
}

int main(int argc, char **argv) {
	lst_parser	*p = lst_create();
	FILE	*trace = NULL;
	int	status;

	if  ( p == NULL || argc < 2 )
		return	2;
	if  ( argc > 2 && ( trace = fopen(argv[2], "w") ) == NULL )
		return	2;
	lst_set_trace(p, trace);
	if  ( argc > 3 )
		lst_set_max_depth(p, atoi(argv[3]));
	status = lst_parse_file(p, argv[1]);
	fprintf(stderr, "status %d\n", status);
	if  ( trace != NULL )
		fclose(trace);
	lst_destroy(p);
	return	status;
}
