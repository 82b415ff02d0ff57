# The include map of src/: no file includes a header of a higher (or sibling) layer.
add_test(NAME layers.includes COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_layers.sh ${PROJECT_SOURCE_DIR}/src)
