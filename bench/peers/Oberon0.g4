// Oberon-0 as examples/oberon0/oberon0.lang describes it, for the error-recovery benchmark:
// the same terminals (keywords in capitals only, case matters), white space as its lexer skips
// it, no comments. The left-recursive lists of the description are repetitions here.
grammar Oberon0;

module : MODULE IDENT SEMICOLON declarations body IDENT PERIOD EOF ;
body : BEGIN statements END | END ;
declarations
    : (CONST (IDENT EQL expression SEMICOLON)*)?
      (TYPE (IDENT EQL type SEMICOLON)*)?
      (VAR (identList COLON type SEMICOLON)*)?
      (procedure SEMICOLON)*
    ;
procedure : PROCEDURE IDENT formalParameters? SEMICOLON declarations body IDENT ;
formalParameters : LPAREN (section (SEMICOLON section)*)? RPAREN ;
section : VAR? identList COLON type ;
identList : IDENT (COMMA IDENT)* ;
type
    : IDENT
    | ARRAY expression OF type
    | RECORD fieldList (SEMICOLON fieldList)* END
    ;
fieldList : (identList COLON type)? ;
statements : statement (SEMICOLON statement)* ;
statement
    : IDENT selector (BECOMES expression | actualParameters)?
    | IF expression THEN statements (ELSIF expression THEN statements)* (ELSE statements)? END
    | WHILE expression DO statements END
    | REPEAT statements UNTIL expression
    |
    ;
actualParameters : LPAREN (expression (COMMA expression)*)? RPAREN ;
selector : (PERIOD IDENT | LBRAK expression RBRAK)* ;
expression : simpleExpression (relation simpleExpression)? ;
relation : EQL | NEQ | LSS | LEQ | GTR | GEQ ;
simpleExpression : (PLUS | MINUS)? term ((PLUS | MINUS | OR) term)* ;
term : factor ((TIMES | DIV | MOD | AND) factor)* ;
factor : IDENT selector | NUMBER | LPAREN expression RPAREN | NOT factor ;

ARRAY : 'ARRAY' ;
BEGIN : 'BEGIN' ;
CONST : 'CONST' ;
DIV : 'DIV' ;
DO : 'DO' ;
ELSE : 'ELSE' ;
ELSIF : 'ELSIF' ;
END : 'END' ;
IF : 'IF' ;
MOD : 'MOD' ;
MODULE : 'MODULE' ;
OF : 'OF' ;
OR : 'OR' ;
PROCEDURE : 'PROCEDURE' ;
RECORD : 'RECORD' ;
REPEAT : 'REPEAT' ;
THEN : 'THEN' ;
TYPE : 'TYPE' ;
UNTIL : 'UNTIL' ;
VAR : 'VAR' ;
WHILE : 'WHILE' ;
IDENT : [A-Za-z] [A-Za-z0-9]* ;
NUMBER : [0-9]+ ;
TIMES : '*' ;
AND : '&' ;
PLUS : '+' ;
MINUS : '-' ;
EQL : '=' ;
NEQ : '#' ;
LSS : '<' ;
LEQ : '<=' ;
GTR : '>' ;
GEQ : '>=' ;
PERIOD : '.' ;
COMMA : ',' ;
COLON : ':' ;
BECOMES : ':=' ;
SEMICOLON : ';' ;
LPAREN : '(' ;
RPAREN : ')' ;
LBRAK : '[' ;
RBRAK : ']' ;
NOT : '~' ;
WS : [ \t\n\r\f\u000B]+ -> skip ;
