/* luacheck: checks the syntax of Lua 5.1 files with the embeddable translator of lua.lang
   (parvolen --prefix=lua). Every file named on the command line is read into memory and parsed
   in place; each error is printed as "<file>:<line>:<column>: <what>", up to 50 in a file (the
   parse goes on after an error, and the text says how it repaired the input), and nothing is
   printed for a file without one. A first line that begins with '#' (such as "#!/usr/bin/lua")
   is skipped as the standard interpreter skips it; its line end stays, so lines keep their
   numbers. The exit status is 0 when every file passed, 1 when one had an error, 2 when a
   file could not be read.
   Build: cc -std=c99 -o luacheck embedded_main.c lua.c */
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "lua.h"

/* Reads the whole file into a buffer of the caller's; 0, or -1 with errno set. */
static int ReadWhole(const char *path, char **text, size_t *size) {
	FILE	*in = fopen(path, "rb");
	char	*buffer = NULL;
	size_t	length = 0, room = 0;

	if  ( in == NULL )
		return -1;
	for (;;) {
		size_t	got;
		if  ( length == room ) {
			char	*grown;
			room = room ? room * 2 : 65536;
			grown = (char *)realloc(buffer, room);
			if  ( grown == NULL ) {
				free(buffer);
				fclose(in);
				errno = ENOMEM;
				return -1;
			}
			buffer = grown;
		}
		got = fread(buffer + length, 1, room - length, in);
		length += got;
		if  ( got == 0 )
			break;
	}
	if  ( ferror(in) ) {
		free(buffer);
		fclose(in);
		errno = EIO;
		return -1;
	}
	fclose(in);
	*text = buffer;
	*size = length;
	return 0;
}

/* Checks one file; 0 when it passed, 1 when it has an error, 2 when it cannot be read. */
static int Check(lua_parser *p, const char *path) {
	char	*text;
	size_t	size, start = 0;
	int	status, i;

	if  ( ReadWhole(path, &text, &size) != 0 ) {
		fprintf(stderr, "%s: %s\n", path, strerror(errno));
		return 2;
	}
	if  ( size > 0 && text[0] == '#' )
		while  ( start < size && text[start] != '\n' )
			start++;
	status = lua_parse_buffer(p, text + start, size - start, path);
	for (i = 0; i < lua_error_count(p); i++)
		printf("%s:%d:%d: %s\n", path, lua_error_line_at(p, i), lua_error_column_at(p, i), lua_error_text_at(p, i));
	free(text);
	return status == LUA_OK ? 0 : status == LUA_NO_MEMORY ? 2 : 1;
}

int main(int argc, char **argv) {
	lua_parser	*p;
	int	i, worst = 0;

	if  ( argc < 2 ) {
		fprintf(stderr, "usage: %s FILE...\n", argv[0]);
		return 2;
	}
	if  ( ( p = lua_create() ) == NULL ) {
		fprintf(stderr, "%s: out of memory\n", argv[0]);
		return 2;
	}
	lua_set_max_errors(p, 50);
	for (i = 1; i < argc; i++) {
		int	result = Check(p, argv[i]);
		if  ( result > worst )
			worst = result;
	}
	lua_destroy(p);
	return worst;
}
