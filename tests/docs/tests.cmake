# Documentation checks run as scripts: the man page renders, and the shell sessions of the guide
# and the README replay in empty directories (skipped while parvolen writes no parser). The
# status reference and the quoted examples are checked by docs_test.cpp in the unit test binary.
add_test(NAME docs.man_page COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_man_page.sh ${PROJECT_SOURCE_DIR}/man/parvolen.1)
foreach(doc docs/guide.md README.md)
  get_filename_component(doc_name ${doc} NAME_WE)
  add_test(NAME docs.sessions.${doc_name}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_sessions.sh ${PROJECT_SOURCE_DIR}/${doc} ${PROJECT_SOURCE_DIR}
            $<TARGET_FILE:parvolen> ${CMAKE_CURRENT_BINARY_DIR}/docs/sessions-${doc_name})
  set_tests_properties(docs.sessions.${doc_name} PROPERTIES SKIP_RETURN_CODE 77)
endforeach()
set_tests_properties(docs.man_page PROPERTIES SKIP_RETURN_CODE 77)
