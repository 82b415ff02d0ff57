/* The JSON translator: parses the file named on the command line with the generated
   parser and prints "<file>: accepted", or "<file>:<line>: <message>" for the error that
   stopped it. Exit status 0 when the input is accepted, 1 when it is not.
   Build: cc -std=gnu11 -o json main.c _error.c _lexer.c _parser.c */
#include <stdio.h>

#include "_parser.h"
#include "_lexer.h"

int main(int argc, char **argv) {
	ErrCode e;

	if ( argc != 2 ) {
		fprintf(stderr, "usage: %s <input file>\n", argv[0]);
		return 2;
	}
	e = Parse(argv[1]);
	if ( e == ecOk ) {
		printf("%s: accepted\n", argv[1]);
		return 0;
	}
	/* GetLine counts the line ends passed so far: the error is on the line after them. */
	printf("%s:%d: %s\n", argv[1], GetLine() + 1, ErrMsg(e));
	return 1;
}
