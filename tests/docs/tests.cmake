# Documentation checks that need no compiler: the man page renders. (The status reference and
# the guide's examples are checked by tests/docs/docs_test.cpp in the unit test binary.)
add_test(NAME docs.man_page COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_man_page.sh ${PROJECT_SOURCE_DIR}/man/parvolen.1)
set_tests_properties(docs.man_page PROPERTIES SKIP_RETURN_CODE 77)
