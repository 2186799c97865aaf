# Writes the manual page from its template and the README's tables, so that
# the options, the signals, the exit codes and the files are written once, in
# README.md, and the page always says the same.
#
#   cmake -DREADME=README.md -DTEMPLATE=doc/fc-hba-update.1.in -DOUTPUT=fc-hba-update.1
#         -P doc/man_page.cmake
#
# Each table is the first one after its heading. A row becomes a tagged
# paragraph (.TP): the first cell the tag, the second the text. In the cells,
# `code` is set in bold (a <word> inside it in italics), and the hyphens of
# code are minus signs, as options and paths want them. A table that is not
# found, or a row that does not have two cells, stops the build.

cmake_minimum_required(VERSION 3.20)

# Placeholders for the characters that CMake lists and roff treat specially.
string(ASCII 1 kSemicolon)
string(ASCII 2 kOpen)
string(ASCII 3 kClose)
string(ASCII 4 kBackslash)

# Roff for the plain text of a cell.
function(plain_roff text out)
  string(REPLACE "…" "..." text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Roff for one cell: code spans in bold, placeholders restored.
function(cell_roff cell out)
  set(roff "")
  set(rest "${cell}")
  while(TRUE)
    string(FIND "${rest}" "`" start)
    if(start EQUAL -1)
      plain_roff("${rest}" plain)
      string(APPEND roff "${plain}")
      break()
    endif()
    string(SUBSTRING "${rest}" 0 ${start} before)
    plain_roff("${before}" plain)
    string(APPEND roff "${plain}")
    math(EXPR after "${start} + 1")
    string(SUBSTRING "${rest}" ${after} -1 rest)
    string(FIND "${rest}" "`" end)
    if(end EQUAL -1)
      message(FATAL_ERROR "README.md: a code span is not closed in the cell: ${cell}")
    endif()
    string(SUBSTRING "${rest}" 0 ${end} code)
    string(REPLACE "-" "\\-" code "${code}")
    string(REGEX REPLACE "<([^>]+)>" "\\\\fI\\1\\\\fB" code "${code}")
    plain_roff("${code}" code)
    string(APPEND roff "\\fB${code}\\fR")
    math(EXPR after "${end} + 1")
    string(SUBSTRING "${rest}" ${after} -1 rest)
  endwhile()
  string(REPLACE "${kBackslash}" "\\e" roff "${roff}")
  string(REPLACE "${kSemicolon}" ";" roff "${roff}")
  string(REPLACE "${kOpen}" "[" roff "${roff}")
  string(REPLACE "${kClose}" "]" roff "${roff}")
  # A line that starts with a dot or an apostrophe would be read as a request.
  if(roff MATCHES "^[.']")
    set(roff "\\&${roff}")
  endif()
  set(${out} "${roff}" PARENT_SCOPE)
endfunction()

file(READ "${README}" text)
string(REPLACE "\\" "${kBackslash}" text "${text}")
string(REPLACE ";" "${kSemicolon}" text "${text}")
string(REPLACE "[" "${kOpen}" text "${text}")
string(REPLACE "]" "${kClose}" text "${text}")
string(REPLACE "\n" ";" lines "${text}")

# table_roff(<heading> <variable>): the first table after the heading line,
# as .TP paragraphs, into <variable>.
function(table_roff heading variable)
  set(roff "")
  set(state before)  # before the heading, then in the section, then in the table
  foreach(line IN LISTS lines)
    if(state STREQUAL "before")
      if(line STREQUAL "${heading}")
        set(state section)
      endif()
    elseif(line MATCHES "^[|]")
      if(state STREQUAL "section")
        set(state table)  # the header row
      elseif(NOT line MATCHES "^[|][-:| ]+[|]$")
        set(tag "")
        if(line MATCHES "^[|] (.+) [|] (.+) [|]$")
          set(tag "${CMAKE_MATCH_1}")
          set(body "${CMAKE_MATCH_2}")
        endif()
        if(tag STREQUAL "" OR tag MATCHES " [|] ")
          message(FATAL_ERROR "README.md, under \"${heading}\": a row of two cells was expected: ${line}")
        endif()
        cell_roff("${tag}" tag_roff)
        if(NOT tag MATCHES "`")
          set(tag_roff "\\fB${tag_roff}\\fR")
        endif()
        cell_roff("${body}" body_roff)
        string(APPEND roff ".TP\n${tag_roff}\n${body_roff}\n")
      endif()
    elseif(state STREQUAL "table")
      break()
    elseif(line MATCHES "^#")
      break()
    endif()
  endforeach()
  if(roff STREQUAL "")
    message(FATAL_ERROR "README.md: no table under the heading \"${heading}\"")
  endif()
  string(REGEX REPLACE "\n$" "" roff "${roff}")
  set(${variable} "${roff}" PARENT_SCOPE)
endfunction()

table_roff("## Usage" OPTIONS)
table_roff("### Signals, hang-ups and unsafe files" SIGNALS)
table_roff("### Exit codes" EXIT_CODES)
table_roff("### Files" FILES)
file(READ "${TEMPLATE}" page)
string(CONFIGURE "${page}" page @ONLY)
file(WRITE "${OUTPUT}" "${page}")
