/* Postfix translator: postfix <input> <output>. Parses the input, writes the output file and
   reports the outcome on standard output; the exit status is 0 on success. */
#include <stdio.h>

#include "_parser.h"

int main(int argc, char **argv) {
	ErrCode e;

	if  ( argc != 3 ) {
		fprintf(stderr, "usage: %s <input> <output>\n", argv[0]);
		return 2;
	}
	e = Parse(argv[1], argv[2]);
	if  ( e != ecOk ) {
		fprintf(stderr, "%s: %s\n", argv[1], ErrMsg(e));
		return 1;
	}
	return 0;
}
