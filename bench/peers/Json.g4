// JSON as examples/json/json.lang describes it, for the error-recovery benchmark: the same
// terminals (strings with every escape and no raw control characters, numbers with sign,
// fraction and exponent and no leading zeros, true, false and null in small letters) and the
// four white-space characters between them. The left-recursive lists are repetitions here.
grammar Json;

json : value EOF ;
value : object | array | NUMBER | STRING | TRUE | FALSE | NULL ;
object : LBRACE (member (COMMA member)*)? RBRACE ;
member : STRING COLON value ;
array : LBRACKET (value (COMMA value)*)? RBRACKET ;

TRUE : 'true' ;
FALSE : 'false' ;
NULL : 'null' ;
LBRACE : '{' ;
RBRACE : '}' ;
LBRACKET : '[' ;
RBRACKET : ']' ;
COMMA : ',' ;
COLON : ':' ;
STRING : '"' (~["\\\u0000-\u001F] | ESCAPE)* '"' ;
NUMBER : '-'? ('0' | [1-9] [0-9]*) ('.' DIGITS)? ([eE] [+-]? DIGITS)? ;
WS : [ \t\n\r]+ -> skip ;

fragment DIGITS : [0-9]+ ;
fragment ESCAPE : '\\' (["\\/bfnrt] | 'u' HEX HEX HEX HEX) ;
fragment HEX : [0-9A-Fa-f] ;
