/* Entry of the translators built by the actions-* end-to-end cases: parses the input file
   (into the output file when the language has output terminals) and prints the message of
   the result. */
#include <stdio.h>

#include "_parser.h"

int main(int argc, char **argv) {
	ErrCode e;

#ifdef HAS_OUTPUT
	if  ( argc != 3 ) {
		fprintf(stderr, "usage: %s <input> <output>\n", argv[0]);
		return 2;
	}
	e = Parse(argv[1], argv[2]);
#else
	if  ( argc < 2 ) {
		fprintf(stderr, "usage: %s <input>\n", argv[0]);
		return 2;
	}
	e = Parse(argv[1]);
#endif
	printf("%s\n", ErrMsg(e));
	return e == ecOk ? 0 : 1;
}
