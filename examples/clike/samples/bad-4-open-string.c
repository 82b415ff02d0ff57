int f() {
	return "open;
}
