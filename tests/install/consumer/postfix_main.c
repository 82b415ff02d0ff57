/* Translates one file of infix expressions into postfix form. */
#include <stdio.h>

#include "_error.h"
#include "_lexer.h"
#include "_parser.h"

int main(int argc, char **argv) {
	ErrCode e;

	if (argc != 3) {
		fprintf(stderr, "usage: postfix <input file> <output file>\n");
		return 2;
	}
	e = Parse(argv[1], argv[2]);
	if (e != ecOk) {
		printf("%s:%d: %s\n", argv[1], GetLine() + 1, ErrMsg(e));
		return 1;
	}
	return 0;
}
