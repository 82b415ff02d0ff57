/* The postfix language's embeddable translator without -s: the actions are this file's own
   functions. They evaluate on a stack of their own, reached through postfix_user, read numbers
   with postfix_token_text, and write the value of each line where the output terminals write. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "postfix.h"

struct Stack {
	long	values[64];
	int	top;
	FILE	*out;
};

static int Push(postfix_parser *p, long value) {
	struct Stack	*s = (struct Stack *)postfix_user(p);

	if ( s->top == 64 )
		return 100;	/* a status of this program's own */
	s->values[s->top++] = value;
	return 0;
}

static long Pop(postfix_parser *p) {
	struct Stack	*s = (struct Stack *)postfix_user(p);

	return s->values[--s->top];
}

int postfix_action_Number(postfix_parser *p) {
	struct Stack	*s = (struct Stack *)postfix_user(p);

	if ( postfix_token_kind(p) != POSTFIX_T_num || strlen(postfix_token_text(p)) != postfix_token_length(p) )
		return 101;
	fprintf(s->out, "%s ", postfix_token_text(p));
	return Push(p, atol(postfix_token_text(p)));
}

int postfix_action_Add(postfix_parser *p) {
	long	b = Pop(p);
	return Push(p, Pop(p) + b);
}

int postfix_action_Sub(postfix_parser *p) {
	long	b = Pop(p);
	return Push(p, Pop(p) - b);
}

int postfix_action_Mul(postfix_parser *p) {
	long	b = Pop(p);
	return Push(p, Pop(p) * b);
}

int postfix_action_Result(postfix_parser *p) {
	struct Stack	*s = (struct Stack *)postfix_user(p);

	fprintf(s->out, " %ld (line %d)\n", Pop(p), postfix_token_line(p));
	return 0;
}

int main(int argc, char **argv) {
	struct Stack	stack;
	postfix_parser	*p = postfix_create();
	FILE	*trace = argc > 2 ? fopen(argv[2], "w") : NULL;
	int	status;

	stack.top = 0;
	stack.out = stdout;
	postfix_set_user(p, &stack);
	postfix_set_output(p, stdout);
	postfix_set_trace(p, trace);
	status = postfix_parse_file(p, argv[1]);
	if ( status != POSTFIX_OK )
		printf("%s:%d:%d: %s (status %d)\n", argv[1], postfix_error_line(p), postfix_error_column(p),
		       postfix_error_text(p), status);
	postfix_destroy(p);
	if ( trace != NULL )
		fclose(trace);
	return status == POSTFIX_OK ? 0 : 1;
}
