# Installs the build tree into a scratch prefix and checks that exactly the
# program was installed, as bin/fc-hba-update, and nothing of the tests.
# Run as: cmake -DBUILD_DIR=<build> -DPREFIX=<scratch dir> -P install_test.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}")
endif()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${PREFIX}" "${PREFIX}/*")
# The program is not run: it would write the host's /var/vdl.
execute_process(COMMAND test -x "${PREFIX}/bin/fc-hba-update" RESULT_VARIABLE not_executable)
set(ok FALSE)
if(installed STREQUAL "bin/fc-hba-update" AND not_executable EQUAL 0)
  set(ok TRUE)
endif()
file(REMOVE_RECURSE "${PREFIX}")
if(NOT ok)
  message(FATAL_ERROR "expected the executable bin/fc-hba-update alone; installed: ${installed}")
endif()
message(STATUS "installed bin/fc-hba-update alone")
