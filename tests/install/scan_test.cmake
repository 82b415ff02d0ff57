# Checks how parvolen_generate reads a description to decide which modules it lists.
# Run as: cmake -DWORK_DIR=<dir> -P scan_test.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/ParvolenGenerate.cmake)
file(MAKE_DIRECTORY ${WORK_DIR})

set(failures 0)
# expect(<description text> <want actions> <want outterms> <what>)
function(expect text want_actions want_outterms what)
  file(WRITE ${WORK_DIR}/scan.lang "${text}")
  _parvolen_scan_description(${WORK_DIR}/scan.lang actions outterms)
  if(NOT actions STREQUAL want_actions OR NOT outterms STREQUAL want_outterms)
    message(SEND_ERROR "${what}: got actions=${actions} outterms=${outterms}, want ${want_actions} ${want_outterms}")
  endif()
endfunction()

expect("[Language]\nName = A\n[Terminals]\na\n[Nonterminals]\nS\n[Productions]\nS ::= (a)\n"
       FALSE FALSE "neither section")
expect("[Language]\n[OutTerms]\nout\n[Actions]\nact\n[Productions]\n" TRUE TRUE "both sections")
expect("[language]\n[OUTTERMS]\n  out  \n[productions]\n" FALSE TRUE "headers in any case, entry with blanks")
expect("[Language]\r\n[Actions]\r\nact\r\n" TRUE FALSE "line ends with carriage returns")
expect("[Language]\n[OutTerms]\n\n   \n[Actions]\n" FALSE FALSE "empty sections")
expect("[Language]\n;[Actions] would come here\n[Actions]\nact\n" FALSE FALSE "a semicolon line ends the description")
expect("[Actions] in the title line\nact\n[Language]\n" FALSE FALSE "a title line that looks like a header")
expect("[Language]\n[Terminals]\n[\n]\n[Actions]\nx[y;z\n" TRUE FALSE "brackets and semicolons inside lines")
expect("[Language]\n[Actions]\na\\\\b\n" TRUE FALSE "a backslash in a name")
