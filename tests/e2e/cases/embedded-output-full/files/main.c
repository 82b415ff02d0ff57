/* Parses the file of argv[1] with the postfix translator, its output going to the file of
   argv[2]; prints the status of the parse. */
#include <stdio.h>

#include "postfix.h"

int main(int argc, char **argv) {
	postfix_parser	*p = postfix_create();
	FILE	*out;
	int	status;

	if  ( p == NULL || argc != 3 || ( out = fopen(argv[2], "w") ) == NULL )
		return	2;
	postfix_set_output(p, out);
	status = postfix_parse_file(p, argv[1]);
	printf("%d\n", status);
	postfix_destroy(p);
	fclose(out);
	return	0;
}
