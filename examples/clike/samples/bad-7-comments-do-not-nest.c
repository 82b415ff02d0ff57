/* outer /* inner */ still outer? */
int x;
