/* calc: checks that a file holds one arithmetic expression. */
#include <stdio.h>

#include "_error.h"
#include "_lexer.h"
#include "_parser.h"

int main(int argc, char **argv) {
	ErrCode e;

	if (argc != 2) {
		fprintf(stderr, "usage: %s <input file>\n", argv[0]);
		return 2;
	}
	e = Parse(argv[1]);
	if (e != ecOk) {
		fprintf(stderr, "%s:%d: %s\n", argv[1], GetLine() + 1, ErrMsg(e));
		return 1;
	}
	printf("ok\n");
	return 0;
}
