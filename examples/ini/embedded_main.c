/* The INI embeddable translator (parvolen --prefix=ini): reads the file named on the command
   line into memory and checks it in place with ini_parse_buffer; prints "<file>: accepted",
   or "<file>:<line>:<column>: <what>" for the error that stopped it.
   Build: cc -std=c99 -o ini embedded_main.c ini.c */
#include <stdio.h>
#include <stdlib.h>

#include "ini.h"

int main(int argc, char **argv) {
	FILE	*in;
	char	*text;
	long	size;
	ini_parser	*p;
	int	status;

	if  ( argc != 2 || ( in = fopen(argv[1], "rb") ) == NULL )
		return 2;
	fseek(in, 0, SEEK_END);
	size = ftell(in);
	rewind(in);
	text = (char *)malloc(size > 0 ? (size_t)size : 1);
	if  ( text == NULL || fread(text, 1, (size_t)size, in) != (size_t)size || ( p = ini_create() ) == NULL )
		return 2;
	fclose(in);
	status = ini_parse_buffer(p, text, (size_t)size, argv[1]);
	if  ( status == INI_OK )
		printf("%s: accepted\n", argv[1]);
	else
		printf("%s:%d:%d: %s\n", argv[1], ini_error_line(p), ini_error_column(p), ini_error_text(p));
	ini_destroy(p);
	free(text);
	return status == INI_OK ? 0 : 1;
}
