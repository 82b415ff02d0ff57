# The case itself runs parvolen without arguments (the usage text); the check runs the programs
# of shared/realworld through the embeddable translators of the bundled PL/0, Oberon-0 and JSON
# descriptions, at their own Lookahead and at 3, where choices may look further.
repo=$CASE_DIR/../../../..
fail=0
for lang in pl0 oberon0 json; do
  for lookahead in "" 3; do
    bash "$CASE_DIR/../../realworld_check.sh" "$lang" "$repo/examples/$lang/$lang.lang" \
      "$repo/examples/$lang/embedded_main.c" "$lang" "$lookahead"
    case $? in
      0) ;;
      77) exit 77 ;;
      *) fail=1 ;;
    esac
  done
done
exit $fail
