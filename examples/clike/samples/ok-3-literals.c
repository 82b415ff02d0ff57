/* Every literal form: decimal, hex, float, character and string, with their escapes. */
int d = 0 + 7 + 42u + 100UL + 0123;
int h = 0x0 + 0X1f + 0xDEADbeefUL;
float f = 1. + .5 + 1.25 + 1e10 + 1E-3 + 2.5e+2f + .5e1L + 3.F;
char q = '\'';
char s = '\\';
char n = '\n' + '\t' + '\0' + '\x41' + '\101' + '\?' + '"' + 'a';
char *e = "";
char *t = "\\";
char *u = "a \"quoted\" word, a 'single' one and \x7f\033\n";
