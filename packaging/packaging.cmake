# SPDX-License-Identifier: MIT
# What an installed enumgen brings beside the tool: the man page, shell
# completion, the license, the changelog, and a Debian package that lintian
# accepts and that two builds of one commit make byte for byte alike.

# The same hardening as Debian's own packages, where the toolchain takes it.
# Sanitizer builds leave fortification out, as the two do not mix.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND NOT ENUMGEN_SANITIZE)
  foreach(target enumgen-core enumgen enumgen-import)
    if(TARGET ${target})
      target_compile_options(${target} PRIVATE
        $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE>
        $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
      target_link_options(${target} PRIVATE LINKER:-z,relro,-z,now)
    endif()
  endforeach()
endif()
# Built along another project, enumgen brings the tool only.
if(NOT PROJECT_IS_TOP_LEVEL)
  return()
endif()

set(ENUMGEN_PACKAGE_MAINTAINER "the enumgen authors <enumgen@example.org>" CACHE STRING
  "The Maintainer of the Debian package and the signer of its changelog")
set(doc ${CMAKE_CURRENT_BINARY_DIR}/doc)
# The Debian changelog from CHANGELOG.md, whose top released entry also dates
# the man pages.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
include(${CMAKE_CURRENT_LIST_DIR}/debian-changelog.cmake)
enumgen_debian_changelog(${PROJECT_SOURCE_DIR}/CHANGELOG.md "${ENUMGEN_PACKAGE_MAINTAINER}" ${doc}/changelog ENUMGEN_RELEASE_DATE)
configure_file(${PROJECT_SOURCE_DIR}/man/enumgen.1.in ${doc}/enumgen.1 @ONLY)
set(ENUMGEN_MAN_PAGES enumgen.1)
if(TARGET enumgen-import)
  configure_file(${PROJECT_SOURCE_DIR}/man/enumgen-import.1.in ${doc}/enumgen-import.1 @ONLY)
  list(APPEND ENUMGEN_MAN_PAGES enumgen-import.1)
endif()

# Man pages and changelogs compressed as Debian has them, without the time
# stamp and name gzip would store, where there is a gzip.
find_program(ENUMGEN_GZIP gzip)
set(man_pages ${ENUMGEN_MAN_PAGES})
set(changelog changelog)
set(readme README.md)
if(ENUMGEN_GZIP)
  set(compressed "")
  foreach(name IN LISTS ENUMGEN_MAN_PAGES ITEMS changelog)
    add_custom_command(OUTPUT ${doc}/${name}.gz
      COMMAND ${ENUMGEN_GZIP} -9nkf ${doc}/${name}
      DEPENDS ${doc}/${name}
      VERBATIM)
    list(APPEND compressed ${doc}/${name}.gz)
  endforeach()
  add_custom_command(OUTPUT ${doc}/README.md.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/README.md ${doc}/README.md
    COMMAND ${ENUMGEN_GZIP} -9nf ${doc}/README.md
    DEPENDS ${PROJECT_SOURCE_DIR}/README.md
    VERBATIM)
  add_custom_target(enumgen-docs ALL DEPENDS ${compressed} ${doc}/README.md.gz)
  list(TRANSFORM man_pages APPEND .gz)
  set(changelog changelog.gz)
  set(readme README.md.gz)
else()
  configure_file(${PROJECT_SOURCE_DIR}/README.md ${doc}/README.md COPYONLY)
endif()
list(TRANSFORM man_pages PREPEND ${doc}/)
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${doc}/${changelog} ${doc}/${readme} DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES packaging/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

install(FILES completions/enumgen.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME enumgen)
install(FILES completions/_enumgen DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES completions/enumgen.fish DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
if(TARGET enumgen-import)
  # bash-completion looks a command's completion up by the command's name.
  install(FILES completions/enumgen.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME enumgen-import)
  install(FILES completions/enumgen-import.fish DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
endif()
install(FILES packaging/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME enumgen)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ENUMGEN_PACKAGE_MAINTAINER}")
# cpack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"enumgen turns a compact list of an application's enums into a C++ header and
source per enum, filled from templates: translated descriptions, stable keys
for settings, per-item data, debug output and QVariant conversions, and no
moc. An unchanged list leaves every file alone, and a mistake in it is
reported at its line and column, the way compilers report theirs.
.
The package holds the Qt 6 templates, a CMake package (enumgen_generate), a
qmake feature (CONFIG += enumgen), highlighting of enum lists for Kate, Qt
Creator and TextMate editors, and a language server for them (enumgen --lsp).")
set(CPACK_STRIP_FILES ON)
# Two packages of one commit are alike when their files carry the commit's
# time: cpack takes it from SOURCE_DATE_EPOCH, set here unless the caller has.
configure_file(${CMAKE_CURRENT_LIST_DIR}/cpack-project-config.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/cpack-project-config.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/cpack-project-config.cmake)
