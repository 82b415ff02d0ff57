int f() { /* open comment
