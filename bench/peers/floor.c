/* The floor of the translator benchmark: what touching every byte of the input once costs. It
   reads the file into memory as the buffer mode of prefix_main.c does, then walks it byte by
   byte through a 256-entry class table and a transition table of five states (between tokens,
   in a word, in a number, in a string, after a backslash in a string), counting the tokens it
   enters, and prints the count so that the walk cannot be left out.
   Exit status 0, or 2 for a wrong call or a failed read.
   Build: cc -O2 -o floor floor.c */
#include <stdio.h>
#include <stdlib.h>

enum { BLANK, LINE_END, LETTER, DIGIT, QUOTE, BACKSLASH, OTHER, CLASSES };
enum { BETWEEN, WORD, NUMBER, STRING, ESCAPE, STATES };

/* A transition: the next state times two, plus one when it begins a token. */
#define GO(state) ((state) * 2)
#define BEGIN(state) ((state) * 2 + 1)
static const unsigned char transitions[STATES][CLASSES] = {
	[BETWEEN] = {GO(BETWEEN), GO(BETWEEN), BEGIN(WORD), BEGIN(NUMBER), BEGIN(STRING), GO(BETWEEN), BEGIN(BETWEEN)},
	[WORD] = {GO(BETWEEN), GO(BETWEEN), GO(WORD), GO(WORD), BEGIN(STRING), GO(BETWEEN), BEGIN(BETWEEN)},
	[NUMBER] = {GO(BETWEEN), GO(BETWEEN), GO(NUMBER), GO(NUMBER), BEGIN(STRING), GO(BETWEEN), BEGIN(BETWEEN)},
	[STRING] = {GO(STRING), GO(STRING), GO(STRING), GO(STRING), GO(BETWEEN), GO(ESCAPE), GO(STRING)},
	[ESCAPE] = {GO(STRING), GO(STRING), GO(STRING), GO(STRING), GO(STRING), GO(STRING), GO(STRING)},
};

static unsigned char classes[256];

static void fill_classes(void) {
	for ( int c = 0; c < 256; c++ )
		classes[c] = OTHER;
	classes[' '] = classes['\t'] = classes['\r'] = classes['\f'] = classes['\v'] = BLANK;
	classes['\n'] = LINE_END;
	for ( int c = 'a'; c <= 'z'; c++ )
		classes[c] = classes[c - 'a' + 'A'] = LETTER;
	classes['_'] = LETTER;
	for ( int c = '0'; c <= '9'; c++ )
		classes[c] = DIGIT;
	classes['"'] = QUOTE;
	classes['\\'] = BACKSLASH;
}

/* Reads all of in into a buffer that grows by doubling, as prefix_main.c does; 0 when it is
   read, -1 when not. */
static int read_all(FILE *in, char **text, size_t *length) {
	size_t size = 1 << 16, used = 0;
	char *buffer = malloc(size);

	while ( buffer != NULL ) {
		used += fread(buffer + used, 1, size - used, in);
		if ( used < size ) {
			if ( ferror(in) )
				break;
			*text = buffer;
			*length = used;
			return 0;
		}
		char *larger = size <= (size_t)-1 / 2 ? realloc(buffer, size * 2) : NULL;
		if ( larger == NULL )
			break;
		buffer = larger;
		size *= 2;
	}
	free(buffer);
	return -1;
}

int main(int argc, char **argv) {
	if ( argc != 2 ) {
		fprintf(stderr, "usage: %s <input file>\n", argv[0]);
		return 2;
	}
	FILE *in = fopen(argv[1], "rb");
	if ( in == NULL ) {
		perror(argv[1]);
		return 2;
	}
	char *text = NULL;
	size_t length = 0;
	int failed = read_all(in, &text, &length);
	fclose(in);
	if ( failed ) {
		fprintf(stderr, "%s: cannot read the whole file\n", argv[1]);
		return 2;
	}
	fill_classes();
	const unsigned char *byte = (const unsigned char *)text, *end = byte + length;
	unsigned state = BETWEEN;
	size_t tokens = 0;
	for ( ; byte < end; byte++ ) {
		unsigned step = transitions[state][classes[*byte]];
		state = step >> 1;
		tokens += step & 1;
	}
	printf("%zu tokens\n", tokens);
	free(text);
	return 0;
}
