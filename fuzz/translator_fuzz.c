/* Fuzz entry for a generated translator: the input bytes become the input file of the translator.
   With a generated parser the whole translator runs (Parse, writing to /dev/null when the language
   has output terminals); with only the lexer, the terminals are read one by one with LookTerm and
   consumed with SkipTerm and MatchTerm in turn, and every value is fetched, until the end of the
   input or the first error.

   build_translator.sh defines, from the generated files:
     FUZZ_HAVE_PARSER, FUZZ_HAVE_WRITER   _parser.c, _writer.c exist
     FUZZ_HAVE_FETCHVAL                   _lexer.c defines FetchVal
     FUZZ_MULTI_VALUED                    Value is the tagged record (VT holds the kind)
     FUZZ_HAS_VTSTR, FUZZ_HAS_VTID        the kinds whose values are heap copies
     FUZZ_EOI_TERM                        the end-of-input terminal, when the language has one
     FUZZ_HEAP_VALUE                      Value is a plain char pointer
     FUZZ_HAVE_REGISTERS, FUZZ_HAVE_GREGISTERS, FUZZ_HAVE_STACK
                                          the semantic machine of _actions.c

   The translator is made to run once in a process: between two inputs the entry puts back what a
   new process would start with (the kind of the last value, the value stack and registers, whose
   values it frees; LexOpen starts the line count again itself), so that each input runs alone
   and a value lost by the translator shows as a leak. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include "_error.h"
#include "_lexer.h"
#ifdef FUZZ_HAVE_PARSER
#include "_parser.h"
#endif

static char InName[64];

static void WriteInput(const uint8_t *data, size_t size) {
	FILE *in;

	if ( InName[0] == '\0' )
		snprintf(InName, sizeof InName, "/tmp/parvolen-translator-%ld.in", (long)getpid());
	if ( ( in = fopen(InName, "wb") ) == NULL || fwrite(data, 1, size, in) != size || fclose(in) != 0 ) {
		fprintf(stderr, "translator_fuzz: cannot write %s\n", InName);
		abort();
	}
}

#if !defined(FUZZ_HAVE_PARSER) && defined(FUZZ_HAVE_FETCHVAL)
/* Fetches the value of the terminal just read and frees what FetchVal copied. */
static void FetchAndFree(void) {
	Value v;

#ifdef FUZZ_MULTI_VALUED
	extern ValType VT;
	if ( VT == vtNone )
		return;
	if ( FetchVal(&v) != ecOk )
		return;
	switch ( v.WhoAmI ) {
#ifdef FUZZ_HAS_VTSTR
	case vtStr: free(v.Val.s); break;
#endif
#ifdef FUZZ_HAS_VTID
	case vtId: free(v.Val.id); break;
#endif
	default: break;
	}
#else
	(void)FetchVal(&v);
#endif
}
#endif

#ifndef FUZZ_HAVE_PARSER
/* Reads the whole input terminal by terminal. Every terminal but the end of the input consumes at
   least one character, so more terminals than input bytes means the lexer makes no progress. */
static void Scan(size_t size) {
	TermCode t;
	size_t n;

	if ( LexOpen(InName) != ecOk )
		abort();
	for ( n = 0; n <= size + 1; n++ ) {
		if ( LookTerm(&t) != ecOk )
			break;
#ifdef FUZZ_HAVE_FETCHVAL
		FetchAndFree();
#endif
#ifdef FUZZ_EOI_TERM
		if ( t == FUZZ_EOI_TERM )
			break;
#endif
		if ( ( n % 2 ? MatchTerm(t) : SkipTerm() ) != ecOk ) {
			fprintf(stderr, "translator_fuzz: the terminal looked at does not match\n");
			abort();
		}
	}
	if ( n > size + 1 ) {
		fprintf(stderr, "translator_fuzz: the lexer makes no progress\n");
		abort();
	}
	if ( LexClose() != ecOk )
		abort();
}
#endif

#ifdef FUZZ_HAVE_PARSER
#if defined(FUZZ_HAVE_REGISTERS) || defined(FUZZ_HAVE_STACK)
static void Release(Value *v) {
#if defined(FUZZ_MULTI_VALUED)
	switch ( v->WhoAmI ) {
#ifdef FUZZ_HAS_VTSTR
	case vtStr: free(v->Val.s); break;
#endif
#ifdef FUZZ_HAS_VTID
	case vtId: free(v->Val.id); break;
#endif
	default: break;
	}
	v->WhoAmI = vtNone;
#elif defined(FUZZ_HEAP_VALUE)
	free(*v);
	*v = NULL;
#else
	(void)v;
#endif
}
#endif

/* Frees the values the machine holds after a parse and empties its stack. */
static void ResetMachine(void) {
	int i;

	(void)i;
#ifdef FUZZ_HAVE_REGISTERS
	extern Value Register[3];
	for ( i = 0; i < 3; i++ )
		Release(&Register[i]);
#endif
#ifdef FUZZ_HAVE_GREGISTERS
	extern Value GRegister[3];
	for ( i = 0; i < 3; i++ )
		Release(&GRegister[i]);
#endif
#ifdef FUZZ_HAVE_STACK
	extern Value ValStack[];
	extern int sp;
	for ( i = 1; i <= sp; i++ )
		Release(&ValStack[i]);
	sp = 0;
#endif
}
#endif

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
	WriteInput(data, size);
#ifdef FUZZ_MULTI_VALUED
	{
		extern ValType VT;
		VT = vtNone;
	}
#endif
#if defined(FUZZ_HAVE_PARSER) && defined(FUZZ_HAVE_WRITER)
	(void)Parse(InName, "/dev/null");
	ResetMachine();
#elif defined(FUZZ_HAVE_PARSER)
	(void)Parse(InName);
	ResetMachine();
#else
	Scan(size);
#endif
	remove(InName);
	return 0;
}
