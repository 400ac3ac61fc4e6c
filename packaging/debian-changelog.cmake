# SPDX-License-Identifier: MIT
# enumgen_debian_changelog(<CHANGELOG.md> <maintainer> <output> <date variable>):
# the released entries of a Keep a Changelog file as a Debian changelog, which
# a native package carries as /usr/share/doc/<package>/changelog.gz, and the
# date of the top one (YYYY-MM-DD) in <date variable>:
#   ## [1.0.0] - 2026-12-07   ->  enumgen (1.0.0) unstable; urgency=medium
#   ### Added                 ->    * Added:
#   - text / its next lines   ->      - text / its next lines
# and the maintainer's trailer line with the entry's date.
function(enumgen_debian_changelog markdown maintainer output date_variable)
  # One list element a line, whatever brackets and semicolons the lines hold.
  file(READ ${markdown} content)
  string(ASCII 1 open)
  string(ASCII 2 close)
  string(REPLACE "[" "${open}" content "${content}")
  string(REPLACE "]" "${close}" content "${content}")
  string(REPLACE ";" "\\;" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(text "")
  set(trailer "")
  set(top_date "")
  foreach(line IN LISTS lines)
    string(REPLACE "${open}" "[" line "${line}")
    string(REPLACE "${close}" "]" line "${line}")
    if(line MATCHES "^## \\[([0-9.]+)\\] - ([0-9]+)-([0-9]+)-([0-9]+)$")
      if(NOT top_date)
        set(top_date ${CMAKE_MATCH_2}-${CMAKE_MATCH_3}-${CMAKE_MATCH_4})
      endif()
      string(APPEND text "${trailer}enumgen (${CMAKE_MATCH_1}) unstable; urgency=medium\n\n")
      enumgen_rfc2822_date(${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} date)
      set(trailer "\n -- ${maintainer}  ${date}\n\n")
    elseif(line MATCHES "^## ")
      set(trailer "")
    elseif(NOT trailer)
      # Before the first released entry.
    elseif(line MATCHES "^### (.*)$")
      string(APPEND text "  * ${CMAKE_MATCH_1}:\n")
    elseif(line MATCHES "^- (.*)$")
      string(APPEND text "    - ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^  (.*)$")
      string(APPEND text "      ${CMAKE_MATCH_1}\n")
    elseif(NOT line STREQUAL "")
      string(APPEND text "  ${line}\n")
    endif()
  endforeach()
  string(REGEX REPLACE "\n\n$" "\n" text "${text}${trailer}")
  file(WRITE ${output}.new "${text}")
  configure_file(${output}.new ${output} COPYONLY)
  set(${date_variable} ${top_date} PARENT_SCOPE)
endfunction()

# enumgen_rfc2822_date(<year> <month> <day> <variable>): "Mon, 07 Dec 2026
# 00:00:00 +0000", the date form of a Debian changelog's trailer line.
function(enumgen_rfc2822_date year month day variable)
  math(EXPR month "${month}")
  math(EXPR day "${day}")
  # Sakamoto's day of the week, 0 for Sunday.
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${year} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET weekdays ${weekday} weekday)
  list(GET months ${index} month_name)
  if(day LESS 10)
    set(day 0${day})
  endif()
  set(${variable} "${weekday}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()
