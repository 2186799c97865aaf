# The manual page as the build made it is plain ASCII, renders without a
# warning, for any output device and for a terminal, and says what an
# administrator looks for: every help word, the fixed paths, the signals and
# the environment.
# Run as: cmake -DPAGE=<fc-hba-update.1> -DGROFF=<groff> -P man_page_test.cmake
# groff reads the page as Latin-1: a UTF-8 character from README.md would be
# shown as two others, without a warning.
file(READ "${PAGE}" hex HEX)
string(REGEX MATCHALL ".." bytes "${hex}")
list(FILTER bytes INCLUDE REGEX "^[89a-f]")
if(bytes)
  message(FATAL_ERROR "${PAGE} holds characters outside ASCII (bytes ${bytes}): write them "
    "in README.md's tables as ASCII, or teach doc/man_page.cmake their roff escape")
endif()

foreach(device "" "-Tutf8")
  execute_process(COMMAND "${GROFF}" -man -ww -z ${device} "${PAGE}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "groff -man -ww -z ${device} ${PAGE} (${rc}):\n${out}")
  endif()
endforeach()

execute_process(COMMAND "${GROFF}" -man -Tascii -P-cbou -rLL=200n "${PAGE}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE text ERROR_VARIABLE errors)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "groff -man -Tascii ${PAGE} (${rc}):\n${errors}")
endif()
set(missing "")
foreach(said
    "fc-hba-update [/s] [/f] [/d path]"
    "/h, -h, --help, /?, -?" "/d path, -d path" "/f, -f (also /e, -e, /g, -g)"
    "WHAT A RUN DOES" "EXIT STATUS" "RUN LOCK" "UNSAFE FILES" "WHAT IT DOES NOT DO"
    "/var/vdl/Component.log" "/var/vdl/fc-hba-update.lock" "/run/fc-hba-update.lock"
    "reference.xml" "dzflashStandalone*.zip" "/etc/hba.conf"
    "SIGHUP" "SIGTERM" "SIGINT" "SIGPIPE" "PATH" "UNZIP=\"-d dir\"")
  string(FIND "${text}" "${said}" at)
  if(at EQUAL -1)
    list(APPEND missing "${said}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "the rendered page does not say: ${missing}\n${text}")
endif()
message(STATUS "the page renders without warnings")
