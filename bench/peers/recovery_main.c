/* Driver of a translator that `parvolen --prefix=NAME` writes, for the error-recovery benchmark;
   PREFIX is NAME (pl0 unless -DPREFIX=... says otherwise). Parses each file named after MAX and
   prints, for each:
     file <path> <status> <number of errors>
     error <line> <column> <text>        one line per error, in the order they were found
   MAX is the most errors to report: 0 stops at the first error. Built with -DRECOVERY the driver
   asks the translator to recover (NAME_set_max_errors) and lists every error it kept; without it
   (a translator that stops at the first error) it prints that first error alone. Newlines in a
   text are written as blanks so that each error stays on its line.
   Exit status 0 when every file was parsed (with or without errors), 2 for a wrong call.
   Build: cc -O2 -DPREFIX=NAME [-DRECOVERY] -I DIR recovery_main.c DIR/NAME.c */
#include <stdio.h>
#include <stdlib.h>

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

static void print_error(int line, int column, const char *text) {
	printf("error %d %d ", line, column);
	for ( const char *c = text != NULL ? text : ""; *c != '\0'; c++ )
		putchar(*c == '\n' || *c == '\r' ? ' ' : *c);
	putchar('\n');
}

int main(int argc, char **argv) {
	char *end = NULL;
	long max = argc >= 2 ? strtol(argv[1], &end, 10) : -1;

	if ( argc < 2 || end == argv[1] || *end != '\0' || max < 0 || max > 1000000 ) {
		fprintf(stderr, "usage: %s MAX FILE...\n", argv[0]);
		return 2;
	}
	for ( int i = 2; i < argc; i++ ) {
		NAME(parser) *parser = NAME(create)();
		if ( parser == NULL ) {
			fprintf(stderr, "%s: out of memory\n", argv[0]);
			return 2;
		}
#ifdef RECOVERY
		NAME(set_max_errors)(parser, (int)max);
		int status = NAME(parse_file)(parser, argv[i]);
		int count = NAME(error_count)(parser);
		if ( status != 0 && count == 0 )
			count = -1;
		printf("file %s %d %d\n", argv[i], status, count < 0 ? 1 : count);
		if ( count < 0 )
			print_error(NAME(error_line)(parser), NAME(error_column)(parser), NAME(error_text)(parser));
		for ( int e = 0; e < count; e++ )
			print_error(NAME(error_line_at)(parser, e), NAME(error_column_at)(parser, e),
			            NAME(error_text_at)(parser, e));
#else
		int status = NAME(parse_file)(parser, argv[i]);
		printf("file %s %d %d\n", argv[i], status, status != 0);
		if ( status != 0 )
			print_error(NAME(error_line)(parser), NAME(error_column)(parser), NAME(error_text)(parser));
#endif
		NAME(destroy)(parser);
	}
	return 0;
}
