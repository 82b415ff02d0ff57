# Runs parvolen-inspect on the case files.
exec bash "$CASE_DIR/../../../inspect/inspect_case_check.sh"
