# "-l" with an empty name writes no listing: only the description, the captured output and
# generated files (their names begin with an underscore) may be here.
for f in * .[!.]*; do
  [ -e "$f" ] || continue
  case $f in
    g.lang | actual.out | _*) ;;
    *) echo "unexpected file: $f"; exit 1 ;;
  esac
done
