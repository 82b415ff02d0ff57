/* desk: runs a translator that writes an output file: desk <input file> <output file> */
#include <stdio.h>

#include "_error.h"
#include "_lexer.h"
#include "_parser.h"

int main(int argc, char **argv) {
	ErrCode e;

	if (argc != 3) {
		fprintf(stderr, "usage: %s <input file> <output file>\n", argv[0]);
		return 2;
	}
	e = Parse(argv[1], argv[2]);
	if (e != ecOk) {
		fprintf(stderr, "%s:%d: %s\n", argv[1], GetLine() + 1, ErrMsg(e));
		return 1;
	}
	return 0;
}
