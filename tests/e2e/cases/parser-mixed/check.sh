# Builds the generated translator and checks what it makes of the inputs.
exec bash "$CASE_DIR/../../parser_case_check.sh"
