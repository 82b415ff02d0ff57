/* Test driver of a generated translator without output: parses the input file named on the
   command line and prints "<file>: accepted", or "<file>:<line>: <message>" with the message of
   the ErrCode that ended the parse and the line where it ended. Exit status 0 when accepted,
   1 when rejected, 2 for a wrong command line. */
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
	printf("%s:%d: %s\n", argv[1], GetLine() + 1, ErrMsg(e));
	return 1;
}
