/* Sums and shifts: every literal form and the longer operators. */
struct node *head;
int limit = 0x7FFFu;
float scale = 1.5e-3f;

int sum(int *values, int count, ...) {
	int total = 0;
	int i;
	for (i = 0; i < count; i++) {
		total += values[i];	// a line comment
	}
	total <<= 2;
	total >>= 1;
	return total;
}

char first(char *text) {
	if (text == 0) { return '\0'; }
	else if (*text == '\x41' || text[0] == '\'') { return 'A'; }
	while (head->next != 0 && !(head->value >= .25)) head = head->next;
	return text[0] ? "a \"quoted\" word\n"[1] : '\101';
}
