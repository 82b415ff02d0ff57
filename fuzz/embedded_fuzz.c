/* Fuzz entry for a generated embeddable translator (parvolen -s --prefix=fz): the input bytes
   are parsed from memory and again from a stream over the same bytes. Both must end alike, with
   the same status at the same line and column; anything else aborts. One parser serves every
   input, as a program that parses many inputs would use it. */
#define _GNU_SOURCE
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "fz.h"

static fz_parser *Parser;

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
	int	fromBuffer, line, column;
	FILE	*in;

	if ( Parser == NULL ) {
		if ( ( Parser = fz_create() ) == NULL )
			abort();
		fz_set_output(Parser, fopen("/dev/null", "w"));
	}
	fromBuffer = fz_parse_buffer(Parser, (const char *)data, size, "buffer");
	line = fz_error_line(Parser);
	column = fz_error_column(Parser);
	if ( size == 0 || ( in = fmemopen((void *)data, size, "rb") ) == NULL )
		return 0;
	if ( fz_parse_stream(Parser, in, "stream") != fromBuffer || fz_error_line(Parser) != line ||
	     fz_error_column(Parser) != column ) {
		fprintf(stderr, "buffer and stream differ: %d at %d:%d from memory, %s\n", fromBuffer, line, column,
		        fz_error_text(Parser));
		abort();
	}
	fclose(in);
	return 0;
}
