/* PL/0 recogniser for the translator benchmark (pccts, C output; dlg -ci makes keywords
   case-insensitive): the grammar of examples/pl0/pl0.lang with repetitions for its
   left-recursive lists, no actions. Exit status 0 when the file is a program. */
#header <<
#include "charbuf.h"
>>

<<
#include <stdio.h>

int main(int argc, char **argv) {
	FILE *in;

	if ( argc != 2 ) {
		fprintf(stderr, "usage: %s <input file>\n", argv[0]);
		return 2;
	}
	if ( ( in = fopen(argv[1], "r") ) == NULL ) {
		perror(argv[1]);
		return 2;
	}
	ANTLR(program(), in);
	fclose(in);
	return zzSyntaxErrCount + zzLexErrCount == 0 ? 0 : 1;
}
>>

#token "[\ \t\r]+"      << zzskip(); >>
#token "\n"             << zzline++; zzskip(); >>
#token EOI "@"
#token CONST "const"
#token VAR "var"
#token PROCEDURE "procedure"
#token CALL "call"
#token BEGIN "begin"
#token END "end"
#token IF "if"
#token THEN "then"
#token WHILE "while"
#token DO "do"
#token ODD "odd"
#token READ "read | \?"
#token WRITE "write | \!"
#token BECOMES ":="
#token EQL "="
#token NEQ "\#"
#token LEQ "\<="
#token LSS "\<"
#token GEQ "\>="
#token GTR "\>"
#token PLUS "\+"
#token MINUS "\-"
#token TIMES "\*"
#token SLASH "/"
#token LPAREN "\("
#token RPAREN "\)"
#token COMMA ","
#token SEMICOLON ";"
#token PERIOD "\."
#token IDENT "[a-z][a-z0-9]*"
#token NUMBER "[0-9]+"

program    : block PERIOD EOI ;
block      : { CONST constant ( COMMA constant )* SEMICOLON }
             { VAR IDENT ( COMMA IDENT )* SEMICOLON }
             ( PROCEDURE IDENT SEMICOLON block SEMICOLON )*
             statement ;
constant   : IDENT EQL NUMBER ;
statement  : { IDENT BECOMES expression
             | CALL IDENT
             | READ IDENT
             | WRITE expression
             | BEGIN statement ( SEMICOLON statement )* END
             | IF condition THEN statement
             | WHILE condition DO statement
             } ;
condition  : ODD expression
           | expression ( EQL | NEQ | LSS | LEQ | GTR | GEQ ) expression ;
expression : { PLUS | MINUS } term ( ( PLUS | MINUS ) term )* ;
term       : factor ( ( TIMES | SLASH ) factor )* ;
factor     : IDENT | NUMBER | LPAREN expression RPAREN ;
