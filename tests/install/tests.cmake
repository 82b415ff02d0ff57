# Install tests: how parvolen_generate reads a description, and a consumer project built
# against an installed Parvolen (skipped, exit 77, while the program cannot write a whole translator).
add_test(NAME install.scan_description
  COMMAND ${CMAKE_COMMAND} -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/install/scan
          -P ${CMAKE_CURRENT_LIST_DIR}/scan_test.cmake)
add_test(NAME install.consumer
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_install_test.sh $<TARGET_FILE:parvolen> ${PROJECT_BINARY_DIR}
          ${CMAKE_CURRENT_LIST_DIR}/consumer ${CMAKE_CURRENT_BINARY_DIR}/install/consumer)
set_tests_properties(install.consumer PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900)
