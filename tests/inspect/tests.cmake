# The HTML report in a real browser: headless chromium opens the report of every bundled example.
# Skipped (exit 77) where /usr/bin/chromium or python3 is missing.
add_test(NAME inspect.html_browser
  COMMAND sh -c "command -v python3 > /dev/null || { echo 'SKIP: python3 is not installed'; exit 77; }; exec python3 \"$0\" \"$@\""
          ${CMAKE_CURRENT_LIST_DIR}/browser_check.py $<TARGET_FILE:parvolen-inspect> ${PROJECT_SOURCE_DIR}/examples
          ${CMAKE_CURRENT_BINARY_DIR}/inspect/html-browser)
set_tests_properties(inspect.html_browser PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
