/* Entry of the translators built by the actions-* end-to-end cases: parses the input file
   (into the output file when the language has output terminals) and prints the message of
   the result.

   With output terminals, `--unwritable INPUT OUTPUT` first lowers the limit of open files and
   asks for many translations into an output that cannot be created, then translates INPUT into
   OUTPUT: that last one only succeeds when every failed call closed its input again. */
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>

#include "_parser.h"

#ifdef HAS_OUTPUT
static ErrCode AfterUnwritable(char *InName, char *OutName) {
	struct rlimit	Files = { 16, 16 };
	int	i;

	if  ( setrlimit(RLIMIT_NOFILE, &Files) != 0 )
		perror("setrlimit");
	for  ( i = 0; i < 64; i++ )
		if  ( Parse(InName, "no-such-directory/out.txt") != ecCreate )
			return	ecOpen;
	return	Parse(InName, OutName);
}
#endif

int main(int argc, char **argv) {
	ErrCode e;

#ifdef HAS_OUTPUT
	if  ( argc == 4 && strcmp(argv[1], "--unwritable") == 0 )
		e = AfterUnwritable(argv[2], argv[3]);
	else if  ( argc == 3 )
		e = Parse(argv[1], argv[2]);
	else {
		fprintf(stderr, "usage: %s [--unwritable] <input> <output>\n", argv[0]);
		return 2;
	}
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
