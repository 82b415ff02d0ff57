int x = 1.2.3;
