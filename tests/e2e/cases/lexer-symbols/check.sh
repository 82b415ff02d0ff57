# Builds the generated lexer with the test driver and checks what it reads from the inputs.
exec bash "$CASE_DIR/../../../codegen/lexer_case_check.sh"
