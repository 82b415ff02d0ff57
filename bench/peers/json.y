/* Exact JSON recogniser for the translator benchmark (bison): one value, objects and arrays with
   left-recursive lists, no actions. Exit status 0 when the file is one JSON text. */
%{
#include <stdio.h>
int yylex(void);
extern FILE *yyin;
extern int yylineno;
static void yyerror(const char *message) { fprintf(stderr, "line %d: %s\n", yylineno, message); }
%}
%token STRING NUMBER TRUE FALSE NULL_ BAD
%%
json     : value ;
value    : object | array | STRING | NUMBER | TRUE | FALSE | NULL_ ;
object   : '{' '}' | '{' members '}' ;
members  : members ',' member | member ;
member   : STRING ':' value ;
array    : '[' ']' | '[' elements ']' ;
elements : elements ',' value | value ;
%%
int main(int argc, char **argv) {
	int status;

	if ( argc != 2 ) {
		fprintf(stderr, "usage: %s <input file>\n", argv[0]);
		return 2;
	}
	if ( ( yyin = fopen(argv[1], "rb") ) == NULL ) {
		perror(argv[1]);
		return 2;
	}
	status = yyparse();
	fclose(yyin);
	return status == 0 ? 0 : 1;
}
