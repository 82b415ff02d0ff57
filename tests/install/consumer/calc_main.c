/* Checks one file against the Calc grammar: prints "ok", or the line and the error. */
#include <stdio.h>

#include "_error.h"
#include "_lexer.h"
#include "_parser.h"

int main(int argc, char **argv) {
	ErrCode e;

	if (argc != 2) {
		fprintf(stderr, "usage: calc <input file>\n");
		return 2;
	}
	e = Parse(argv[1]);
	if (e != ecOk) {
		printf("%s:%d: %s\n", argv[1], GetLine() + 1, ErrMsg(e));
		return 1;
	}
	printf("ok\n");
	return 0;
}
