# enumgen_generate(<target> [PUBLIC] [TEMPLATES <dir>] [ENUM_LIST <file>])
#
# Generates the enum files of <target> at build time and compiles them into it.
# <dir> holds the templates enum_type.hpp, enum_type.cpp and enums.hpp; without
# TEMPLATES the Qt templates that come with enumgen are used. The enum list is
# ENUM_LIST, or <dir>/enum-list. The files are generated into
# ${CMAKE_CURRENT_BINARY_DIR}/<target>-enumgen/enum, an include directory of
# <target>; with PUBLIC it and C++20 are also part of <target>'s interface, so
# what links a library <target> includes its enum headers. The build shows the
# files each run rewrites and enumgen's messages, which name the enum list by
# its absolute path.
#
# The folder belongs to enumgen: each run removes the .hpp and .cpp files there
# that it did not generate, so a removed enum's header cannot be included any
# more. The list is read again at configure time whenever it changes, so a
# removed enum's files are no longer compiled. Editing the list, a template or
# enumgen reruns the generator; it rewrites only files whose text changed, and
# the build tool recompiles only what depends on those.

# Lower-case names of the files the enums of an enum list are generated into:
# every line that starts with '+' once spaces, carriage returns, form and line
# feeds are trimmed, without the '+' and an optional '*', up to the first
# marker. Each name comes once and only if it is an identifier, whatever the
# list holds, so the build files always load; enumgen itself then reports the
# names it cannot generate.
function(_enumgen_file_names target list_file out_var)
  file(READ "${list_file}" text)
  file(SIZE "${list_file}" size)
  # Brackets and semicolons would split or join list elements: swap them for
  # control bytes first.
  string(ASCII 1 open)
  string(ASCII 2 close)
  string(ASCII 3 semicolon)
  string(ASCII 11 vtab)
  string(ASCII 12 formfeed)
  string(ASCII 128 utf8_first)
  string(ASCII 255 utf8_last)
  # string(REPLACE) ends the text at a NUL byte once it replaces anything: the
  # added ';' makes sure it does, so the length tells whether there is one.
  string(REPLACE ";" "${semicolon}" text ";${text}")
  string(SUBSTRING "${text}" 1 -1 text)
  string(LENGTH "${text}" length)
  if(NOT length EQUAL size)
    string(REGEX MATCHALL "\n" newlines "${text}")
    list(LENGTH newlines line)
    math(EXPR line "${line} + 1")
    string(REGEX MATCH "[^\n]*$" start "${text}")
    string(LENGTH "${start}" column)
    math(EXPR column "${column} + 1")
    message(FATAL_ERROR "enumgen_generate(${target}): ${list_file}:${line}:${column}: a NUL byte, which CMake "
                        "cannot read; an enum list is text")
  endif()
  string(REPLACE "[" "${open}" text "${text}")
  string(REPLACE "]" "${close}" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(names "")
  # The registry files' name is taken.
  set(taken_enums TRUE)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \r${vtab}${formfeed}]+" "" line "${line}")
    if(NOT line MATCHES "^\\+")
      continue()
    endif()
    string(REGEX REPLACE "^\\+\\*?" "" definition "${line}")
    string(REGEX REPLACE "[ \r${vtab}${formfeed}]+$" "" definition "${definition}")
    string(LENGTH "${definition}" end)
    foreach(marker "${open}${open}" "${open}=" "${open}-" "${open}:" "${open}~")
      string(FIND "${definition}" "${marker}" at)
      if(at GREATER -1 AND at LESS end)
        set(end ${at})
      endif()
    endforeach()
    string(SUBSTRING "${definition}" 0 ${end} name)
    string(TOLOWER "${name}" name)
    if(name MATCHES "^[a-z_${utf8_first}-${utf8_last}][a-z0-9_${utf8_first}-${utf8_last}]*$" AND NOT taken_${name})
      set(taken_${name} TRUE)
      list(APPEND names "${name}")
    endif()
  endforeach()
  set(${out_var} "${names}" PARENT_SCOPE)
endfunction()

function(enumgen_generate target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "PUBLIC" "TEMPLATES;ENUM_LIST" "")
  if(arg_UNPARSED_ARGUMENTS)
    list(GET arg_UNPARSED_ARGUMENTS 0 unknown)
    message(FATAL_ERROR "enumgen_generate(${target}): unknown argument '${unknown}'; "
                        "it takes PUBLIC, TEMPLATES <dir> and ENUM_LIST <file>")
  endif()
  if(arg_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "enumgen_generate(${target}): ${arg_KEYWORDS_MISSING_VALUES} needs a value")
  endif()
  if(arg_TEMPLATES)
    cmake_path(ABSOLUTE_PATH arg_TEMPLATES BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE OUTPUT_VARIABLE templates)
  elseif(arg_ENUM_LIST)
    get_property(templates GLOBAL PROPERTY ENUMGEN_TEMPLATES_DIR)
  else()
    message(FATAL_ERROR "enumgen_generate(${target}): give ENUM_LIST <file>, TEMPLATES <dir>, or both")
  endif()
  if(arg_ENUM_LIST)
    cmake_path(ABSOLUTE_PATH arg_ENUM_LIST BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE OUTPUT_VARIABLE enum_list)
  else()
    set(enum_list "${templates}/enum-list")
  endif()
  set(inputs "${enum_list}" "${templates}/enum_type.hpp" "${templates}/enum_type.cpp" "${templates}/enums.hpp")
  foreach(input IN LISTS inputs)
    if(NOT EXISTS "${input}" OR IS_DIRECTORY "${input}")
      message(FATAL_ERROR "enumgen_generate(${target}): ${input} is not a file")
    endif()
  endforeach()

  set(base "${CMAKE_CURRENT_BINARY_DIR}/${target}-enumgen")
  set(out "${base}/enum")
  file(MAKE_DIRECTORY "${out}")
  _enumgen_file_names(${target} "${enum_list}" names)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${enum_list}")
  set(outputs "${out}/enums.hpp" "${out}/enums.cpp")
  foreach(name IN LISTS names)
    list(APPEND outputs "${out}/${name}.hpp" "${out}/${name}.cpp")
  endforeach()

  # The stamp is the rule's only output; the generated files are byproducts, so
  # a file enumgen left untouched does not look out of date. The paths are
  # absolute, so enumgen's messages lead an IDE to the list's line.
  set(stamp "${base}/enumgen.stamp")
  add_custom_command(OUTPUT "${stamp}"
    BYPRODUCTS ${outputs}
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${out}"
    COMMAND "$<TARGET_FILE:enumgen::enumgen>" --list "${enum_list}" --templates "${templates}" --output "${out}"
            --remove-stale --brief
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS ${inputs} "$<TARGET_FILE:enumgen::enumgen>"
    COMMENT "Generating the enum files of ${target}"
    VERBATIM)
  get_target_property(built enumgen::enumgen ALIASED_TARGET)
  if(built)
    add_dependencies(${target} ${built})
  endif()
  # Nothing generated needs moc, and AUTOMOC over these byproducts would make a
  # dependency cycle with the generator's rule.
  set_source_files_properties(${outputs} PROPERTIES SKIP_AUTOGEN ON)
  target_sources(${target} PRIVATE ${outputs} "${stamp}")
  if(arg_PUBLIC)
    set(scope PUBLIC)
  else()
    set(scope PRIVATE)
  endif()
  target_include_directories(${target} ${scope} "${out}")
  target_compile_features(${target} ${scope} cxx_std_20)
endfunction()
