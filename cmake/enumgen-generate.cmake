# SPDX-License-Identifier: MIT
# enumgen_generate(<target> [PUBLIC] [QML] [NO_PRECOMPILED_HEADER] [TEMPLATES <dir>] [ENUM_LIST <file>]
#                  [LOCK <file>] [NAMESPACE <name>])
#
# Generates the enum files of <target> at build time and compiles them into it.
# <dir> holds the templates enum_type.hpp, enum_type.cpp and enums.hpp; without
# TEMPLATES the Qt templates that come with enumgen are used. The enum list is
# ENUM_LIST, or <dir>/enum-list. The files are generated into
# ${CMAKE_CURRENT_BINARY_DIR}/<target>-enumgen/enum. The headers that the
# other files of <target> include are copies in <target>-enumgen/include, its
# include directory, without the part that only the enum's source compiles, so
# a changed description compiles only that source again; with PUBLIC that
# directory and C++20 are also part of <target>'s interface, so what links a
# library <target> includes its enum headers. The build shows the files each
# run rewrites and enumgen's messages, which name the enum list by its
# absolute path.
#
# The folders belong to enumgen: each run removes the .hpp and .cpp files there
# that it did not generate, so a removed enum's header cannot be included any
# more. The list is read again at configure time when its enums change (with
# Ninja; with other generators whenever it changes), so a removed enum's files
# are no longer compiled. Editing the list, a template or enumgen reruns the
# generator; it rewrites only files whose text changed, and the build tool
# recompiles only what depends on those.
#
# When <dir> holds precompiled.hpp, as the Qt templates do, <target> gets it as
# its precompiled header: the Qt headers the generated files include, which
# are most of what a file that includes an enum header compiles. It is
# force-included into every C++ file of <target>, so a file that defines a Qt
# macro such as QT_NO_DEBUG_OUTPUT before its includes should define it for the
# target instead, or the target opts out with NO_PRECOMPILED_HEADER.
#
# With LOCK, every run checks the list against the lock <file> (relative to the
# calling CMakeLists.txt, in the source tree, to be committed with the list):
# a value, key or name that stored data may hold cannot change or be used
# again in silence; the build fails at the list's line instead. The build adds
# compatible changes to the lock, in the source tree, as Cargo does with
# Cargo.lock. The target <target>_lock_update accepts the list's changes
# (enumgen --lock-update). A lock that the build has seen and that is gone
# fails the build, since a new one would forget the old one's history. With the cache variable ENUMGEN_LOCKED set, as in
# CI, any change the lock would need fails the build (enumgen --locked).
#
# With NAMESPACE, such as app::settings, the enums are generated in that C++
# namespace (enumgen --namespace), so two libraries of one program can each
# have an enum of the same name; QML names them as without it.
#
# With QML, <target> is a QML module (qt_add_qml_module) and every enum E of
# the list is its QML type E, with the values E.Value, and the model type
# EModel; see docs/qml.md. Call it before qt_add_qml_module, which then
# declares what the model types need.

# This file's own policies, whatever version the including project asks for and
# when the build runs it as a script: with older ones, "${text}" ends a text at
# a NUL byte, which the scan below has to see.
cmake_policy(VERSION 3.25)

if(NOT CMAKE_SCRIPT_MODE_FILE)
  set(ENUMGEN_LOCKED OFF CACHE BOOL
    "Fail the build on any change an enum list's lock would need (enumgen --locked), as CI should")
endif()

# The enums of an enum list, into `files_var` as the lower-case names of the
# files they are generated into and into `names_var` as written: every line
# that starts with '+' once spaces, carriage returns, form and line feeds are
# trimmed, without the '+' and an optional '*', up to the first marker. Each
# file name comes once and only if it is an identifier, whatever the list
# holds, so the build files always load; enumgen itself then reports the names
# it cannot generate.
function(_enumgen_file_names target list_file files_var names_var)
  # file(READ) drops the carriage return of each line's end, which the scan
  # trims anyway, so the text can be shorter than the file without a NUL byte.
  file(READ "${list_file}" text)
  string(LENGTH "${text}" length)
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
  string(LENGTH "${text}" replaced)
  if(NOT replaced EQUAL length)
    string(REGEX MATCHALL "\n" newlines "${text}")
    list(LENGTH newlines line)
    math(EXPR line "${line} + 1")
    string(FIND "${text}" "\n" line_end REVERSE)
    math(EXPR column "${replaced} - ${line_end}")
    message(FATAL_ERROR "enumgen_generate(${target}): ${list_file}:${line}:${column}: a NUL byte, which CMake "
                        "cannot read; an enum list is text")
  endif()
  string(REPLACE "[" "${open}" text "${text}")
  string(REPLACE "]" "${close}" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(files "")
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
    string(TOLOWER "${name}" file)
    if(file MATCHES "^[a-z_${utf8_first}-${utf8_last}][a-z0-9_${utf8_first}-${utf8_last}]*$" AND NOT taken_${file})
      set(taken_${file} TRUE)
      list(APPEND files "${file}")
      list(APPEND names "${name}")
    endif()
  endforeach()
  set(${files_var} "${files}" PARENT_SCOPE)
  set(${names_var} "${names}" PARENT_SCOPE)
endfunction()

function(enumgen_generate target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "PUBLIC;QML;NO_PRECOMPILED_HEADER" "TEMPLATES;ENUM_LIST;LOCK;NAMESPACE" "")
  if(arg_UNPARSED_ARGUMENTS)
    list(GET arg_UNPARSED_ARGUMENTS 0 unknown)
    message(FATAL_ERROR "enumgen_generate(${target}): unknown argument '${unknown}'; "
                        "it takes PUBLIC, QML, NO_PRECOMPILED_HEADER, TEMPLATES <dir>, ENUM_LIST <file>, LOCK <file> "
                        "and NAMESPACE <name>")
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

  set(lock_options "")
  set(locked_option "")
  if(arg_LOCK)
    cmake_path(ABSOLUTE_PATH arg_LOCK BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE OUTPUT_VARIABLE lock)
    set(lock_options --lock "${lock}")
    if(ENUMGEN_LOCKED)
      set(locked_option --locked)
    endif()
  endif()

  set(base "${CMAKE_CURRENT_BINARY_DIR}/${target}-enumgen")
  # Once the build has seen the lock, a lock that is gone fails the build: a
  # new one would forget every retired item and former key. The lock is an
  # input through a depfile the check writes, which a build tool takes a
  # missing file of as out of date rather than as an error of its own.
  set(lock_check "")
  set(lock_seen "")
  set(lock_depfile "")
  if(arg_LOCK)
    set(seen "${base}/lock.seen")
    if(EXISTS "${lock}")
      file(MAKE_DIRECTORY "${base}")
      file(TOUCH "${seen}")
    endif()
    set(lock_check COMMAND "${CMAKE_COMMAND}" -DENUMGEN_TARGET=${target} "-DENUMGEN_LOCK=${lock}"
                           "-DENUMGEN_LOCK_SEEN=${seen}" "-DENUMGEN_DEPFILE=${base}/lock.d"
                           "-DENUMGEN_STAMP=${base}/enumgen.stamp" -P "${CMAKE_CURRENT_FUNCTION_LIST_FILE}")
    set(lock_seen COMMAND "${CMAKE_COMMAND}" -E touch "${seen}")
    set(lock_depfile DEPFILE "${base}/lock.d")
  endif()
  set(out "${base}/enum")
  set(include "${base}/include")
  file(MAKE_DIRECTORY "${out}" "${include}")
  _enumgen_file_names(${target} "${enum_list}" files names)
  # The build files list every enum's files, so the configuration has to run
  # again when the list's enums change, and only then: with Ninja, the build
  # first brings `names_file` up to date from the list, before it decides
  # whether to configure again, and the file changes only with the enums.
  # Other generators decide first, so they configure again on every edit.
  set(names_file "${base}/enums.txt")
  file(CONFIGURE OUTPUT "${names_file}" CONTENT "${files}\n${names}\n" @ONLY)
  if(CMAKE_GENERATOR STREQUAL "Ninja")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${names_file}")
    add_custom_command(OUTPUT "${base}/enums.stamp"
      BYPRODUCTS "${names_file}"
      COMMAND "${CMAKE_COMMAND}" -DENUMGEN_TARGET=${target} "-DENUMGEN_LIST=${enum_list}"
              "-DENUMGEN_NAMES_FILE=${names_file}" -P "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
      COMMAND "${CMAKE_COMMAND}" -E touch "${base}/enums.stamp"
      DEPENDS "${enum_list}"
      VERBATIM)
    # A target of its own: in <target>, AUTOMOC would wait for it and it for
    # AUTOMOC.
    add_custom_target(${target}_enumgen_names DEPENDS "${base}/enums.stamp")
  else()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${enum_list}")
  endif()
  set(outputs "${out}/enums.hpp")
  set(included "${include}/enums.hpp" "${include}/enums.cpp")
  foreach(file IN LISTS files)
    list(APPEND outputs "${out}/${file}.hpp" "${out}/${file}.cpp")
    list(APPEND included "${include}/${file}.hpp")
  endforeach()

  # The stamp is the rule's only output; the generated files are byproducts, so
  # a file enumgen left untouched does not look out of date. The paths are
  # absolute, so enumgen's messages lead an IDE to the list's line.
  set(stamp "${base}/enumgen.stamp")
  # In a QML module every enum is a QML type too, whose name enumgen checks.
  if(arg_QML)
    set(qml_option --qml)
  else()
    set(qml_option "")
  endif()
  set(namespace_option "")
  if(arg_NAMESPACE)
    set(namespace_option --namespace "${arg_NAMESPACE}")
  endif()
  set(run "$<TARGET_FILE:enumgen::enumgen>" --list "${enum_list}" --templates "${templates}" --output "${out}"
          --include-dir "${include}" --remove-stale --brief ${qml_option} ${namespace_option} ${lock_options})
  add_custom_command(OUTPUT "${stamp}"
    BYPRODUCTS ${outputs} "${out}/enums.cpp" ${included}
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${out}" "${include}"
    ${lock_check}
    COMMAND ${run} ${locked_option}
    ${lock_seen}
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS ${inputs} "$<TARGET_FILE:enumgen::enumgen>"
    ${lock_depfile}
    COMMENT "Generating the enum files of ${target}"
    VERBATIM)
  if(arg_LOCK)
    add_custom_target(${target}_lock_update
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${out}" "${include}"
      COMMAND ${run} --lock-update
      ${lock_seen}
      COMMENT "Accepting the changes of ${enum_list} in ${lock}"
      VERBATIM)
  endif()
  # The generator runs in a target of its own: a rule of <target> would wait
  # for <target>_autogen, whose moc in turn waits for the generated headers
  # that a Q_OBJECT header of <target> includes, a dependency cycle.
  add_custom_target(${target}_enumgen DEPENDS "${stamp}")
  add_dependencies(${target} ${target}_enumgen)
  get_target_property(built enumgen::enumgen ALIASED_TARGET)
  if(built)
    add_dependencies(${target}_enumgen ${built})
  endif()
  # Without QML nothing generated needs moc.
  # Each enum's source compiles a part of its header that no other file may
  # see. The registry source is compiled from beside the copies it includes.
  list(APPEND outputs "${include}/enums.cpp")
  set_source_files_properties(${outputs} PROPERTIES SKIP_AUTOGEN ON SKIP_UNITY_BUILD_INCLUSION ON)
  target_sources(${target} PRIVATE ${outputs})
  if(NOT arg_NO_PRECOMPILED_HEADER AND EXISTS "${templates}/precompiled.hpp")
    target_precompile_headers(${target} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${templates}/precompiled.hpp>")
  endif()
  if(arg_QML)
    _enumgen_qml(${target} "${enum_list}" "${names}" "${outputs}")
  endif()
  if(arg_PUBLIC)
    set(scope PUBLIC)
  else()
    set(scope PRIVATE)
  endif()
  target_include_directories(${target} ${scope} "${include}")
  target_compile_features(${target} ${scope} cxx_std_20)
endfunction()

# QML: every enum E of the list, and its model EModel, become types of the QML
# module <target>. The headers declare them when ENUMGEN_QML is defined, and
# AUTOMOC runs moc over them for the module's type registration.
function(_enumgen_qml target enum_list names outputs)
  # enumgen --qml checks the enums' names against QML's; the module's QML
  # files, which are types too, only the build knows, when the directory ends.
  set_property(TARGET ${target} PROPERTY _enumgen_list "${enum_list}")
  set_property(TARGET ${target} PROPERTY _enumgen_names "${names}")
  cmake_language(EVAL CODE "cmake_language(DEFER CALL _enumgen_qml_files ${target})")

  find_package(Qt6 REQUIRED COMPONENTS Qml)
  # Each enum's source includes moc's output for its header.
  list(FILTER outputs EXCLUDE REGEX "/enums\\.(hpp|cpp)$")
  set_source_files_properties(${outputs} PROPERTIES SKIP_AUTOGEN OFF SKIP_AUTOUIC ON SKIP_AUTORCC ON)
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  target_compile_definitions(${target} PUBLIC ENUMGEN_QML)
  target_link_libraries(${target} PRIVATE Qt6::Qml)
  # The model types derive from QAbstractListModel, which qmllint and Qt
  # Creator find through the module's dependency on QtQml.Models.
  get_target_property(uri ${target} QT_QML_MODULE_URI)
  get_target_property(dependencies ${target} QT_QML_MODULE_DEPENDENCIES)
  if(NOT uri)
    set_property(TARGET ${target} APPEND PROPERTY QT_QML_MODULE_DEPENDENCIES QtQml.Models)
  elseif(NOT dependencies MATCHES "(^|;)QtQml\\.Models( |;|$)")
    message(WARNING "enumgen_generate(${target} ... QML): add DEPENDENCIES QtQml.Models to qt_add_qml_module(${target} ...), "
      "or call enumgen_generate before it, so that qmllint and Qt Creator know the model types")
  endif()
endfunction()

function(_enumgen_qml_files target)
  get_target_property(enum_list ${target} _enumgen_list)
  get_target_property(names ${target} _enumgen_names)
  get_target_property(uri ${target} QT_QML_MODULE_URI)
  if(NOT uri)
    message(FATAL_ERROR "enumgen_generate(${target} ... QML): ${target} is not a QML module; make it one with qt_add_qml_module")
  endif()
  get_target_property(files ${target} QT_QML_LINT_FILES)
  foreach(file IN LISTS files)
    get_filename_component(type "${file}" NAME_WE)
    string(REGEX REPLACE "Model$" "" modelled "${type}")
    if(type IN_LIST names OR (NOT modelled STREQUAL type AND modelled IN_LIST names))
      message(FATAL_ERROR "enumgen_generate(${target}): ${file} is the QML type ${type}, "
        "which is an enum of ${enum_list} or its model")
    endif()
  endforeach()
endfunction()

# Run as a script (cmake -P) by the build: with ENUMGEN_LOCK, fails when the
# lock the build has seen is gone; else writes the enums of ENUMGEN_LIST to
# ENUMGEN_NAMES_FILE as enumgen_generate does, touching it only when they
# changed.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE AND DEFINED ENUMGEN_LOCK)
  if(EXISTS "${ENUMGEN_LOCK_SEEN}" AND NOT EXISTS "${ENUMGEN_LOCK}")
    message(FATAL_ERROR "${ENUMGEN_LOCK}:1: error: the lock is gone, and a new one would forget every retired item "
                        "and former key: restore it from version control, or accept a new one with the target "
                        "${ENUMGEN_TARGET}_lock_update")
  endif()
  string(REPLACE " " "\\ " stamp "${ENUMGEN_STAMP}")
  string(REPLACE " " "\\ " lock "${ENUMGEN_LOCK}")
  file(WRITE "${ENUMGEN_DEPFILE}" "${stamp}: ${lock}\n")
elseif(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  _enumgen_file_names(${ENUMGEN_TARGET} "${ENUMGEN_LIST}" files names)
  file(CONFIGURE OUTPUT "${ENUMGEN_NAMES_FILE}" CONTENT "${files}\n${names}\n" @ONLY)
endif()
