# Install rules: the program, its man page, the user documentation and the CMake package that
# lets another project generate its translator in its own build:
#   find_package(Parvolen)  then  parvolen_generate(...)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(PARVOLEN_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/Parvolen"
    CACHE STRING "Where the CMake package of Parvolen is installed, below the prefix")

install(TARGETS parvolen EXPORT ParvolenTargets RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${PROJECT_SOURCE_DIR}/man/parvolen.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
file(GLOB PARVOLEN_DOCS "${PROJECT_SOURCE_DIR}/docs/*.md")
install(FILES ${PARVOLEN_DOCS} DESTINATION "${CMAKE_INSTALL_DOCDIR}")

install(EXPORT ParvolenTargets NAMESPACE Parvolen:: DESTINATION "${PARVOLEN_INSTALL_CMAKEDIR}")
write_basic_package_version_file("${PROJECT_BINARY_DIR}/ParvolenConfigVersion.cmake"
  VERSION "${PROJECT_VERSION}" COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_SOURCE_DIR}/cmake/ParvolenConfig.cmake"
              "${PROJECT_SOURCE_DIR}/cmake/ParvolenGenerate.cmake"
              "${PROJECT_BINARY_DIR}/ParvolenConfigVersion.cmake"
        DESTINATION "${PARVOLEN_INSTALL_CMAKEDIR}")
