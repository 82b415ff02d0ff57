/* Test driver for a generated lexer: prints the terminals of an input file, one a line, with the
   value of each valued terminal, and the error that ends the scan.
   usage: lexer_driver INPUT VALUED END
     VALUED  terminal names (identifier form) whose value is fetched, comma-separated; "-" for none
     END     terminal name that ends the scan (the end-of-input terminal); "-" for none
   Compiled with one of VALUE_MULTI, VALUE_CHAR, VALUE_STR, VALUE_INT (the Value type of _lexer.h),
   HAVE_FETCHVAL when _lexer.c defines FetchVal, HAVE_GETLINE when it defines GetLine, and for
   VALUE_MULTI HAS_VTCHAR, HAS_VTSTR, HAS_VTINT, HAS_VTID for the members of ValType. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "_lexer.h"

extern const char *TermNames[]; /* made from the TermCode enumeration of _lexer.h */

static int Listed(const char *list, const char *name) {
	size_t n = strlen(name);
	const char *p = list;
	while ( ( p = strstr(p, name) ) != NULL ) {
		if ( ( p == list || p[-1] == ',' ) && ( p[n] == ',' || p[n] == '\0' ) )
			return 1;
		p += n;
	}
	return 0;
}

#ifdef HAVE_FETCHVAL
static void PrintValue(void) {
	Value v;
	ErrCode e = FetchVal(&v);
	if ( e != ecOk ) {
		printf(" fetch failed: %s", ErrMsg(e));
		return;
	}
#if defined(VALUE_MULTI)
	switch ( v.WhoAmI ) {
#ifdef HAS_VTCHAR
	case vtChar: printf(" char '%c'", v.Val.c); break;
#endif
#ifdef HAS_VTSTR
	case vtStr: printf(" str \"%s\"", v.Val.s); free(v.Val.s); break;
#endif
#ifdef HAS_VTINT
	case vtInt: printf(" int %d", v.Val.i); break;
#endif
#ifdef HAS_VTID
	case vtId: printf(" id %s", v.Val.id); free(v.Val.id); break;
#endif
	default: printf(" no value"); break;
	}
#elif defined(VALUE_CHAR)
	printf(" char '%c'", v);
#elif defined(VALUE_STR)
	printf(" str \"%s\"", v);
	free(v);
#elif defined(VALUE_INT)
	printf(" int %d", v);
#endif
}
#endif

int main(int argc, char **argv) {
	TermCode t;
	ErrCode e;
	int n;

	if ( argc != 4 ) {
		fprintf(stderr, "usage: %s INPUT VALUED END\n", argv[0]);
		return 2;
	}
	if ( ( e = LexOpen(argv[1]) ) != ecOk ) {
		printf("LexOpen: %s\n", ErrMsg(e));
		return 1;
	}
	for ( n = 0; n < 1000; n++ ) {
		if ( ( e = LookTerm(&t) ) != ecOk ) {
			printf("error: %s\n", ErrMsg(e));
			break;
		}
		printf("%s", TermNames[t]);
#ifdef HAVE_FETCHVAL
		if ( Listed(argv[2], TermNames[t]) )
			PrintValue();
#endif
		printf("\n");
		if ( strcmp(TermNames[t], argv[3]) == 0 )
			break;
		/* consume it both ways: MatchTerm of the terminal looked at must succeed */
		if ( ( e = n % 2 ? MatchTerm(t) : SkipTerm() ) != ecOk ) {
			printf("consume: %s\n", ErrMsg(e));
			break;
		}
	}
#ifdef HAVE_GETLINE
	printf("lines: %d\n", GetLine());
#endif
	if ( ( e = LexClose() ) != ecOk )
		printf("LexClose: %s\n", ErrMsg(e));
#ifdef HAVE_GETLINE
	/* a second input counts its lines from the start again */
	if ( LexOpen(argv[1]) == ecOk ) {
		if ( GetLine() != 0 )
			printf("reopened at line %d\n", GetLine());
		LexClose();
	}
#endif
	return 0;
}
