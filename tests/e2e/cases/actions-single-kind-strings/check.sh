bash "$CASE_DIR/../../actions_case_check.sh"
