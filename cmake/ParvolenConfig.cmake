# Package file read by find_package(Parvolen): the imported program Parvolen::parvolen and the
# function parvolen_generate (see ParvolenGenerate.cmake beside this file).
include("${CMAKE_CURRENT_LIST_DIR}/ParvolenTargets.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/ParvolenGenerate.cmake")
