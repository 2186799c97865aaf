# Installs the build tree into a scratch prefix and checks that exactly the
# program and its manual page were installed, as bin/fc-hba-update and
# share/man/man1/fc-hba-update.1, and nothing of the tests; and that the
# installed page renders without a warning.
# Run as: cmake -DBUILD_DIR=<build> -DPREFIX=<scratch dir> -DGROFF=<groff> -P install_test.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}")
endif()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
# The program is not run: it would write the host's /var/vdl.
execute_process(COMMAND test -x "${PREFIX}/bin/fc-hba-update" RESULT_VARIABLE not_executable)
set(page "${PREFIX}/share/man/man1/fc-hba-update.1")
execute_process(COMMAND "${GROFF}" -man -ww -z "${page}"
  RESULT_VARIABLE render_rc OUTPUT_VARIABLE render ERROR_VARIABLE render)
file(REMOVE_RECURSE "${PREFIX}")
if(NOT installed STREQUAL "bin/fc-hba-update;share/man/man1/fc-hba-update.1" OR
   NOT not_executable EQUAL 0)
  message(FATAL_ERROR "expected the executable bin/fc-hba-update and the page "
    "share/man/man1/fc-hba-update.1 alone; installed: ${installed}")
endif()
if(NOT render_rc EQUAL 0 OR NOT render STREQUAL "")
  message(FATAL_ERROR "the installed page does not render cleanly (${render_rc}):\n${render}")
endif()
message(STATUS "installed bin/fc-hba-update and share/man/man1/fc-hba-update.1 alone")
