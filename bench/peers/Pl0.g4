// PL/0 as examples/pl0/pl0.lang describes it, for the error-recovery benchmark: the same
// terminals (keywords in any case, ? and read, ! and write), white space as its lexer skips it,
// no comments. The left-recursive lists of the description are repetitions here.
grammar Pl0;

program : block PERIOD EOF ;
block : constants? variables? procedure* statement ;
constants : CONST constant (COMMA constant)* SEMICOLON ;
constant : IDENT EQL NUMBER ;
variables : VAR IDENT (COMMA IDENT)* SEMICOLON ;
procedure : PROCEDURE IDENT SEMICOLON block SEMICOLON ;
statement
    : IDENT BECOMES expression
    | CALL IDENT
    | READ IDENT
    | WRITE expression
    | BEGIN statement (SEMICOLON statement)* END
    | IF condition THEN statement
    | WHILE condition DO statement
    |
    ;
condition : ODD expression | expression relation expression ;
relation : EQL | NEQ | LSS | LEQ | GTR | GEQ ;
expression : (PLUS | MINUS)? term ((PLUS | MINUS) term)* ;
term : factor ((TIMES | SLASH) factor)* ;
factor : IDENT | NUMBER | LPAREN expression RPAREN ;

CONST : C O N S T ;
VAR : V A R ;
PROCEDURE : P R O C E D U R E ;
CALL : C A L L ;
BEGIN : B E G I N ;
END : E N D ;
IF : I F ;
THEN : T H E N ;
WHILE : W H I L E ;
DO : D O ;
ODD : O D D ;
READ : '?' | R E A D ;
WRITE : '!' | W R I T E ;
IDENT : [A-Za-z] [A-Za-z0-9]* ;
NUMBER : [0-9]+ ;
BECOMES : ':=' ;
EQL : '=' ;
NEQ : '#' ;
LSS : '<' ;
LEQ : '<=' ;
GTR : '>' ;
GEQ : '>=' ;
PLUS : '+' ;
MINUS : '-' ;
TIMES : '*' ;
SLASH : '/' ;
LPAREN : '(' ;
RPAREN : ')' ;
COMMA : ',' ;
SEMICOLON : ';' ;
PERIOD : '.' ;
WS : [ \t\n\r\f\u000B]+ -> skip ;

fragment A : [aA] ; fragment B : [bB] ; fragment C : [cC] ; fragment D : [dD] ;
fragment E : [eE] ; fragment F : [fF] ; fragment G : [gG] ; fragment H : [hH] ;
fragment I : [iI] ; fragment L : [lL] ; fragment N : [nN] ; fragment O : [oO] ;
fragment P : [pP] ; fragment R : [rR] ; fragment S : [sS] ; fragment T : [tT] ;
fragment U : [uU] ; fragment V : [vV] ; fragment W : [wW] ;
