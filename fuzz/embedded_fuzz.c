/* Fuzz entry for a generated embeddable translator (parvolen -s --prefix=fz): the input bytes
   are parsed from memory and again from a stream over the same bytes. Both must end alike, with
   the same status at the same line and column; anything else aborts. Then both parse again
   recovering from errors, and once more from a stream that cannot seek back (whose copy the
   recovery reads again): each keeps the status and first error, counts its errors in
   0..MOST_ERRORS (0 exactly when the input is a sentence), and all three agree error by error.
   One parser serves every input, as a program that parses many inputs would use it. */
#define _GNU_SOURCE
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "fz.h"

#define MOST_ERRORS 8

static fz_parser *Parser;

struct Bytes {
	const uint8_t *data;
	size_t size, at;
};

static ssize_t ReadBytes(void *cookie, char *buf, size_t size) {
	struct Bytes *b = (struct Bytes *)cookie;

	if ( size > b->size - b->at )
		size = b->size - b->at;
	memcpy(buf, b->data + b->at, size);
	b->at += size;
	return (ssize_t)size;
}

/* A stream over the bytes without a seek function. */
static FILE *OneWay(struct Bytes *b) {
	cookie_io_functions_t io = { ReadBytes, NULL, NULL, NULL };

	return fopencookie(b, "rb", io);
}

static void Fail(const char *what, int status) {
	fprintf(stderr, "%s (status %d): %d errors, first %d:%d %s\n", what, status, fz_error_count(Parser),
	        fz_error_line(Parser), fz_error_column(Parser), fz_error_text(Parser));
	abort();
}

/* The rules of a parse with recovery against the plain parse's status and first error. */
static void CheckRecovered(int status, int plain, int line, int column, const char *text) {
	int count = fz_error_count(Parser);

	if ( status != plain || fz_error_line(Parser) != line || fz_error_column(Parser) != column ||
	     strcmp(fz_error_text(Parser), text) != 0 )
		Fail("recovery changed the first error", status);
	if ( count < 0 || count > MOST_ERRORS || ( count == 0 ) != ( status == FZ_OK ) )
		Fail("error count out of range", status);
	if ( count > 0 && ( fz_error_line_at(Parser, 0) != line || fz_error_column_at(Parser, 0) != column ||
	                    strncmp(fz_error_text_at(Parser, 0), text, strlen(text)) != 0 ) )
		Fail("the first error by index differs", status);
}

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
	int	fromBuffer, line, column, status, count, i;
	int	lines[MOST_ERRORS], columns[MOST_ERRORS];
	char	text[256];
	FILE	*in;
	struct Bytes	bytes = { data, size, 0 };

	if ( Parser == NULL ) {
		if ( ( Parser = fz_create() ) == NULL )
			abort();
		fz_set_output(Parser, fopen("/dev/null", "w"));
	}
	fz_set_max_errors(Parser, 0);
	fromBuffer = fz_parse_buffer(Parser, (const char *)data, size, "buffer");
	line = fz_error_line(Parser);
	column = fz_error_column(Parser);
	snprintf(text, sizeof text, "%s", fz_error_text(Parser));
	if ( size == 0 || ( in = fmemopen((void *)data, size, "rb") ) == NULL )
		return 0;
	if ( fz_parse_stream(Parser, in, "stream") != fromBuffer || fz_error_line(Parser) != line ||
	     fz_error_column(Parser) != column ) {
		fprintf(stderr, "buffer and stream differ: %d at %d:%d from memory, %s\n", fromBuffer, line, column,
		        fz_error_text(Parser));
		abort();
	}
	fclose(in);

	fz_set_max_errors(Parser, MOST_ERRORS);
	status = fz_parse_buffer(Parser, (const char *)data, size, "buffer");
	CheckRecovered(status, fromBuffer, line, column, text);
	count = fz_error_count(Parser);
	for ( i = 0; i < count; i++ ) {
		lines[i] = fz_error_line_at(Parser, i);
		columns[i] = fz_error_column_at(Parser, i);
	}
	if ( ( in = fmemopen((void *)data, size, "rb") ) == NULL )
		return 0;
	status = fz_parse_stream(Parser, in, "stream");
	fclose(in);
	CheckRecovered(status, fromBuffer, line, column, text);
	if ( fz_error_count(Parser) != count )
		Fail("buffer and stream differ in their errors", status);
	for ( i = 0; i < count; i++ )
		if ( fz_error_line_at(Parser, i) != lines[i] || fz_error_column_at(Parser, i) != columns[i] )
			Fail("buffer and stream differ in an error", status);
	if ( ( in = OneWay(&bytes) ) == NULL )
		return 0;
	status = fz_parse_stream(Parser, in, "one-way stream");
	fclose(in);
	CheckRecovered(status, fromBuffer, line, column, text);
	if ( fz_error_count(Parser) != count )
		Fail("buffer and one-way stream differ in their errors", status);
	for ( i = 0; i < count; i++ )
		if ( fz_error_line_at(Parser, i) != lines[i] || fz_error_column_at(Parser, i) != columns[i] )
			Fail("buffer and one-way stream differ in an error", status);
	return 0;
}
