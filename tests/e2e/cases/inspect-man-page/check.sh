# The man page of parvolen-inspect formats without warnings and renders with the sections a
# reader looks for; skipped (exit 77) on a machine without groff and man.
page=$CASE_DIR/../../../../man/parvolen-inspect.1
if ! command -v groff > /dev/null || ! command -v man > /dev/null; then
  echo "groff or man is not installed: the man page was not rendered"
  exit 77
fi
warnings=$(groff -man -ww -z "$page" 2>&1)
[ -z "$warnings" ] || { echo "groff warnings:"; echo "$warnings"; exit 1; }
text=$(MANWIDTH=80 man -l "$page" 2>&1) || { echo "$text"; exit 1; }
fail=0
for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' EXAMPLES 'SEE ALSO'; do
  grep -q "^$section\$" <<< "$text" || { echo "missing section: $section"; fail=1; }
done
exit $fail
