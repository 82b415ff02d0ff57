/* The longest operator wins: ->, ..., <<=, >>=, ++ and -- are one terminal each. */
int g(struct node *x, int n, ...) {
	int y;
	y = x->value;
	y <<= n >> 1;
	y >>= n << 1;
	y = y+++n;
	y = y---n;
	y = n<-y;
	y = !n&&~y||n&y|y^n;
	return y <= n >= y == n != y ? x->next->value : -y;
}
