/* Two embeddable translators in one program: the calculator and PL/0, each header included,
   with a user's own variable named as the classic lexer's file. Two threads parse at once, each
   with parsers of its own; every parse must give the verdict the main thread got alone. */
#include <pthread.h>
#include <stdio.h>
#include <string.h>

#include "calc.h"
#include "pl0.h"

int f = 1;	/* the classic translator had a global of this name */

static const char	*CalcInputs[] = { "1 + 2 * (3 - 4)", "(1 + ", "2 2" };
static const char	*Pl0Inputs[] = { "var x; begin x := 1; ! x end.", "begin x := 1 end", "const a = 1; ." };
static int	Want[2][3];

static int Verdicts(int which, int round, int *got) {
	calc_parser	*c = calc_create();
	pl0_parser	*p = pl0_create();
	int	i;

	if  ( c == NULL || p == NULL )
		return 0;
	for  ( i = 0; i < 3; i++ ) {
		const char	*text = which == 0 ? CalcInputs[( i + round ) % 3] : Pl0Inputs[( i + round ) % 3];
		int	status = which == 0 ? calc_parse_buffer(c, text, strlen(text), "calc")
					: pl0_parse_buffer(p, text, strlen(text), "pl0");

		got[( i + round ) % 3] = status;
	}
	calc_destroy(c);
	pl0_destroy(p);
	return 1;
}

static void *Worker(void *arg) {
	int	which = *(int *)arg, round, i, got[3];
	static int	failed[2];

	for  ( round = 0; round < 2000; round++ ) {
		if  ( !Verdicts(which, round, got) )
			failed[which] = 1;
		for  ( i = 0; i < 3; i++ )
			if  ( got[i] != Want[which][i] )
				failed[which] = 1;
	}
	return &failed[which];
}

int main(void) {
	pthread_t	threads[2];
	int	which[2] = { 0, 1 }, i, bad = 0;
	void	*result;

	Verdicts(0, 0, Want[0]);
	Verdicts(1, 0, Want[1]);
	printf("calc: %d %d %d\npl0: %d %d %d\n", Want[0][0], Want[0][1], Want[0][2], Want[1][0], Want[1][1], Want[1][2]);
	for  ( i = 0; i < 2; i++ )
		pthread_create(&threads[i], NULL, Worker, &which[i]);
	for  ( i = 0; i < 2; i++ ) {
		pthread_join(threads[i], &result);
		bad |= *(int *)result;
	}
	printf("%s\n", bad ? "threads disagree" : "threads agree");
	return bad + f - 1;
}
