// Driver of the coco-cpp PL/0 recogniser for the translator benchmark: parses the file named
// on the command line; exit status 0 when it is a program, 1 when not, 2 for a wrong call.
#include <cstdio>

#include "Parser.h"
#include "Scanner.h"

int main(int argc, char **argv) {
	if (argc != 2) {
		std::fprintf(stderr, "usage: %s <input file>\n", argv[0]);
		return 2;
	}
	FILE *in = std::fopen(argv[1], "rb");
	if (in == nullptr) {
		std::perror(argv[1]);
		return 2;
	}
	int errors;
	{
		Scanner scanner(in);
		Parser parser(&scanner);
		parser.Parse();
		errors = parser.errors->count;
	}
	std::fclose(in);
	return errors == 0 ? 0 : 1;
}
