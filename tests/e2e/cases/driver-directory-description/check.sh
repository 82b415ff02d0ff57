# No listing is created when the description cannot be opened.
[ ! -e out.lst ] || { echo "out.lst was created"; exit 1; }
