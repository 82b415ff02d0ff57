/* Driver of a reentrant translator that `parvolen --prefix=NAME` writes, for the translator
   benchmark; PREFIX is NAME (pl0 unless -DPREFIX=... says otherwise). The mode says how the
   input reaches the parser:
     file    NAME_parse_file with the path
     stream  NAME_parse_stream with a FILE opened here
     buffer  the whole file read into memory first, then NAME_parse_buffer
     read    only the read of the buffer mode, to tell its share of the time
   Exit status 0 when the input is a sentence, 1 when not, 2 for a wrong call or a failed read.
   Build: cc -O2 -DPREFIX=NAME -I DIR prefix_main.c DIR/NAME.c */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifndef PREFIX
#define PREFIX pl0
#endif
#define JOIN_(a, b) a##_##b
#define JOIN(a, b) JOIN_(a, b)
/* NAME(parse_file) is pl0_parse_file when PREFIX is pl0. */
#define NAME(suffix) JOIN(PREFIX, suffix)
#define QUOTE_(text) #text
#define QUOTE(text) QUOTE_(text)

#include QUOTE(PREFIX.h)

/* Reads all of in into a buffer that grows by doubling; 0 when it is read, -1 when not. */
static int read_all(FILE *in, char **text, size_t *length) {
	size_t size = 1 << 16, used = 0;
	char *buffer = malloc(size);

	while ( buffer != NULL ) {
		used += fread(buffer + used, 1, size - used, in);
		if ( used < size ) {
			if ( ferror(in) )
				break;
			*text = buffer;
			*length = used;
			return 0;
		}
		char *larger = size <= (size_t)-1 / 2 ? realloc(buffer, size * 2) : NULL;
		if ( larger == NULL )
			break;
		buffer = larger;
		size *= 2;
	}
	free(buffer);
	return -1;
}

/* Parses path in the given mode into *status; 0 when it got that far, -1 when the file could
   not be opened or read. */
static int parse(NAME(parser) *parser, const char *mode, const char *path, int *status) {
	if ( strcmp(mode, "file") == 0 ) {
		*status = NAME(parse_file)(parser, path);
		return 0;
	}
	FILE *in = fopen(path, strcmp(mode, "stream") == 0 ? "r" : "rb");
	if ( in == NULL ) {
		perror(path);
		return -1;
	}
	if ( strcmp(mode, "stream") == 0 ) {
		*status = NAME(parse_stream)(parser, in, path);
		fclose(in);
		return 0;
	}
	char *text = NULL;
	size_t length = 0;
	int failed = read_all(in, &text, &length);
	fclose(in);
	if ( failed ) {
		fprintf(stderr, "%s: cannot read the whole file\n", path);
		return -1;
	}
	*status = strcmp(mode, "read") == 0 ? 0 : NAME(parse_buffer)(parser, text, length, path);
	free(text);
	return 0;
}

int main(int argc, char **argv) {
	static const char *const modes[] = {"file", "stream", "buffer", "read"};
	int known = 0;

	for ( size_t i = 0; argc == 3 && i < sizeof modes / sizeof modes[0]; i++ )
		known |= strcmp(argv[1], modes[i]) == 0;
	if ( !known ) {
		fprintf(stderr, "usage: %s file|stream|buffer|read <input file>\n", argv[0]);
		return 2;
	}
	NAME(parser) *parser = NAME(create)();
	if ( parser == NULL ) {
		fprintf(stderr, "%s: out of memory\n", argv[0]);
		return 2;
	}
	int status = 0;
	if ( parse(parser, argv[1], argv[2], &status) != 0 ) {
		NAME(destroy)(parser);
		return 2;
	}
	if ( status != 0 ) {
		const char *text = NAME(error_text)(parser);
		printf("%s:%d:%d: %s at '%s'\n", argv[2], NAME(error_line)(parser), NAME(error_column)(parser),
		       NAME(error_message)(status), text != NULL ? text : "");
	}
	NAME(destroy)(parser);
	return status == 0 ? 0 : 1;
}
