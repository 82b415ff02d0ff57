int main(int argc, char **argv) {
	/* a comment
	   over lines */
	return argc; // CRLF line ends
}
