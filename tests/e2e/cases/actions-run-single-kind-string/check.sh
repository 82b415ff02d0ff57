bash "$CASE_DIR/../../translator.sh"
