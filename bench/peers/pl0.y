/* PL/0 recogniser for the translator benchmark (bison): the grammar of examples/pl0/pl0.lang
   with its left-recursive lists, no actions. Exit status 0 when the file is a program. */
%{
#include <stdio.h>
int yylex(void);
extern FILE *yyin;
extern int yylineno;
static void yyerror(const char *message) { fprintf(stderr, "line %d: %s\n", yylineno, message); }
%}
%token IDENT NUMBER CONST VAR PROCEDURE CALL BEGIN_ END IF THEN WHILE DO ODD READ WRITE
%token BECOMES LEQ GEQ BAD
%%
program        : block '.' ;
block          : constants variables procedures statement ;
constants      : CONST constant_list ';' | %empty ;
constant_list  : constant_list ',' constant | constant ;
constant       : IDENT '=' NUMBER ;
variables      : VAR variable_list ';' | %empty ;
variable_list  : variable_list ',' IDENT | IDENT ;
procedures     : procedures PROCEDURE IDENT ';' block ';' | %empty ;
statement      : IDENT BECOMES expression
               | CALL IDENT
               | READ IDENT
               | WRITE expression
               | BEGIN_ statement_list END
               | IF condition THEN statement
               | WHILE condition DO statement
               | %empty ;
statement_list : statement_list ';' statement | statement ;
condition      : ODD expression | expression relation expression ;
relation       : '=' | '#' | '<' | LEQ | '>' | GEQ ;
expression     : expression '+' term | expression '-' term | '+' term | '-' term | term ;
term           : term '*' factor | term '/' factor | factor ;
factor         : IDENT | NUMBER | '(' expression ')' ;
%%
int main(int argc, char **argv) {
	int status;

	if ( argc != 2 ) {
		fprintf(stderr, "usage: %s <input file>\n", argv[0]);
		return 2;
	}
	if ( ( yyin = fopen(argv[1], "r") ) == NULL ) {
		perror(argv[1]);
		return 2;
	}
	status = yyparse();
	fclose(yyin);
	return status == 0 ? 0 : 1;
}
