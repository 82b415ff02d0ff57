# parvolen_generate: generate the C sources of a translator from a language description as part
# of a build.
#
#   parvolen_generate(<name>
#                     DESCRIPTION <file>
#                     [OUTPUT_DIR <dir>]
#                     [SEMANTIC] [DEBUG]
#                     [LISTING <file>]
#                     [PREFIX <NAME>])
#
# DESCRIPTION  the description file; a relative path is taken from the current source directory.
# OUTPUT_DIR   where the generated files go; a relative path is taken from the current binary
#              directory. Default: <current binary dir>/<name>-gen. It is created if missing.
# SEMANTIC     pass -s: translate the [Instructions] of the actions into C.
# DEBUG        pass -T: every parsing routine prints its entry and exit.
# LISTING      pass -l<file>: write the listing of the description; a relative path is taken
#              from the current binary directory.
# PREFIX       pass --prefix=<NAME>: write the embeddable translator, <NAME>.h and <NAME>.c,
#              instead of the classic modules.
#
# The command runs again whenever the description (or the parvolen program) changes.
#
# Results, set in the caller's scope:
#   <name>_SOURCES      the generated .c and .h files: _error, _lexer, [_actions], [_writer], _parser;
#                       with PREFIX, <NAME>.c and <NAME>.h
#   <name>_INCLUDE_DIR  the output directory, for the consumer's own #include "_parser.h"
#                       (or "<NAME>.h")
#   <name>_HAS_ACTIONS  TRUE when the description declares actions (an _actions module is written)
#   <name>_HAS_WRITER   TRUE when it declares output terminals (a _writer module is written, and
#                       Parse takes the name of the output file as its second argument)
#
# Which modules exist is decided at configure time by reading the description: the lines are
# trimmed, empty lines are skipped, a line that begins with ";" ends the description, a line that
# begins with "[" is a section header (compared without regard to case), and any other line of
# the [Actions] or [OutTerms] section declares an action or an output terminal. The description is
# also made a configure dependency, so editing it re-runs CMake and the list follows the file.

include_guard(GLOBAL)

# Sets <out_actions> and <out_outterms> to TRUE or FALSE from the sections of <description>.
function(_parvolen_scan_description description out_actions out_outterms)
  file(READ "${description}" content)
  # Characters that CMake lists treat specially are replaced before the text is split into lines.
  string(REPLACE "\\" "/" content "${content}")
  string(REPLACE ";" "<semicolon>" content "${content}")
  string(REPLACE "[" "<open>" content "${content}")
  string(REPLACE "]" "<close>" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")

  set(section "")
  set(has_actions FALSE)
  set(has_outterms FALSE)
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    if(line MATCHES "^<semicolon>")
      break()
    endif()
    if(line MATCHES "^<open>")
      string(TOLOWER "${line}" section)
    elseif(section STREQUAL "<open>actions<close>")
      set(has_actions TRUE)
    elseif(section STREQUAL "<open>outterms<close>")
      set(has_outterms TRUE)
    endif()
  endforeach()
  set(${out_actions} ${has_actions} PARENT_SCOPE)
  set(${out_outterms} ${has_outterms} PARENT_SCOPE)
endfunction()

function(parvolen_generate name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "SEMANTIC;DEBUG" "DESCRIPTION;OUTPUT_DIR;LISTING;PREFIX" "")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "parvolen_generate(${name}): unknown arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_DESCRIPTION)
    message(FATAL_ERROR "parvolen_generate(${name}): DESCRIPTION <file> is required")
  endif()

  if(TARGET Parvolen::parvolen)
    set(program Parvolen::parvolen)
  elseif(TARGET parvolen)
    set(program parvolen)
  else()
    message(FATAL_ERROR "parvolen_generate(${name}): no parvolen program; call find_package(Parvolen) first")
  endif()

  get_filename_component(description "${arg_DESCRIPTION}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  if(NOT EXISTS "${description}" OR IS_DIRECTORY "${description}")
    message(FATAL_ERROR "parvolen_generate(${name}): description file not found: ${description}")
  endif()
  if(NOT arg_OUTPUT_DIR)
    set(arg_OUTPUT_DIR "${name}-gen")
  endif()
  get_filename_component(output_dir "${arg_OUTPUT_DIR}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  file(MAKE_DIRECTORY "${output_dir}")

  _parvolen_scan_description("${description}" has_actions has_outterms)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${description}")

  # The modules in the order parvolen writes them.
  set(modules _error _lexer)
  if(has_actions)
    list(APPEND modules _actions)
  endif()
  if(has_outterms)
    list(APPEND modules _writer)
  endif()
  list(APPEND modules _parser)
  if(arg_PREFIX)
    if(NOT arg_PREFIX MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
      message(FATAL_ERROR "parvolen_generate(${name}): PREFIX must be a C identifier: ${arg_PREFIX}")
    endif()
    set(modules "${arg_PREFIX}")
  endif()
  set(outputs "")
  foreach(module IN LISTS modules)
    list(APPEND outputs "${output_dir}/${module}.c" "${output_dir}/${module}.h")
  endforeach()

  # parvolen runs inside the output directory and writes its files there, so only the path of the
  # description (and of the listing) has to fit its limit of 255 characters per argument.
  file(RELATIVE_PATH relative_description "${output_dir}" "${description}")
  string(LENGTH "${relative_description}" relative_length)
  string(LENGTH "${description}" absolute_length)
  if(relative_length LESS absolute_length)
    set(description_argument "${relative_description}")
  else()
    set(description_argument "${description}")
  endif()

  set(options -q)
  if(arg_SEMANTIC)
    list(APPEND options -s)
  endif()
  if(arg_DEBUG)
    list(APPEND options -T)
  endif()
  if(arg_PREFIX)
    list(APPEND options "--prefix=${arg_PREFIX}")
  endif()
  set(byproducts "")
  if(arg_LISTING)
    get_filename_component(listing "${arg_LISTING}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
    list(APPEND options "-l${listing}")
    set(byproducts BYPRODUCTS "${listing}")
  endif()

  add_custom_command(
    OUTPUT ${outputs}
    ${byproducts}
    COMMAND ${CMAKE_COMMAND} -E make_directory "${output_dir}"
    COMMAND ${CMAKE_COMMAND} -E chdir "${output_dir}" $<TARGET_FILE:${program}> ${options} "${description_argument}"
    DEPENDS "${description}" ${program}
    COMMENT "Generating the ${name} translator from ${arg_DESCRIPTION}"
    VERBATIM)

  set(${name}_SOURCES ${outputs} PARENT_SCOPE)
  set(${name}_INCLUDE_DIR "${output_dir}" PARENT_SCOPE)
  set(${name}_HAS_ACTIONS ${has_actions} PARENT_SCOPE)
  set(${name}_HAS_WRITER ${has_outterms} PARENT_SCOPE)
endfunction()
