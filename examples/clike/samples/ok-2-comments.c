/** A comment may hold * and ** and / and even /* but it ends at the first star-slash: **/
int a = 1/**/*2;		/* the empty comment separates 1 from the star that multiplies */
int b = 4 /* / */ / 2;	// a line comment holds /* without opening a block comment
/*
 * Several lines, * at the start of each,
 * "quotes" and 'quotes' left unread.
 */
int c = 3/*x*//2;
int e = a/**/+b;
// a final comment, and the last star-slash of the file: */
