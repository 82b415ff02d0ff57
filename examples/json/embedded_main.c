/* The JSON embeddable translator (parvolen --prefix=json): reads the file named on the command
   line into memory and checks it in place with json_parse_buffer; prints "<file>: accepted",
   or "<file>:<line>:<column>: <what>" for the error that stopped it.
   Build: cc -std=c99 -o json embedded_main.c json.c */
#include <stdio.h>
#include <stdlib.h>

#include "json.h"

int main(int argc, char **argv) {
	FILE	*in;
	char	*text;
	long	size;
	json_parser	*p;
	int	status;

	if  ( argc != 2 || ( in = fopen(argv[1], "rb") ) == NULL )
		return 2;
	fseek(in, 0, SEEK_END);
	size = ftell(in);
	rewind(in);
	text = (char *)malloc(size > 0 ? (size_t)size : 1);
	if  ( text == NULL || fread(text, 1, (size_t)size, in) != (size_t)size || ( p = json_create() ) == NULL )
		return 2;
	fclose(in);
	status = json_parse_buffer(p, text, (size_t)size, argv[1]);
	if  ( status == JSON_OK )
		printf("%s: accepted\n", argv[1]);
	else
		printf("%s:%d:%d: %s\n", argv[1], json_error_line(p), json_error_column(p), json_error_text(p));
	json_destroy(p);
	free(text);
	return status == JSON_OK ? 0 : 1;
}
