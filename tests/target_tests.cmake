# Tests numscan built for another host. The program, and where a launcher
# runs the host's programs here the conversion's unit tests, are built in
# target/ with NUMSCAN_TARGET_TOOLCHAIN; the end-to-end table then runs
# against that program from the runner built for this machine.
#
# NUMSCAN_TARGET_LAUNCHER is the command that runs the target's programs
# here (qemu-arm-static, say). With wine the target is Windows: its program
# is numscan.exe, it writes CR LF, and its tests run in a Wine session of
# their own, in a prefix in this build folder, started before the first
# test and stopped after the last, pass or fail.
include(ExternalProject)

set(NUMSCAN_TARGET_NAME target CACHE STRING "Name of the target host: the prefix of its tests' names")
set(NUMSCAN_TARGET_TRIPLET "" CACHE STRING "The target's GNU triplet, for a toolchain file that takes one")
set(NUMSCAN_TARGET_LAUNCHER "" CACHE STRING "Command that runs a program built for the target here")

set(target_dir ${CMAKE_CURRENT_BINARY_DIR}/target)
set(environment "NUMSCAN_LAUNCHER=${NUMSCAN_TARGET_LAUNCHER}")
if(NUMSCAN_TARGET_LAUNCHER STREQUAL "wine")
    set(program ${target_dir}/numscan.exe)
    set(unit_tests OFF)
    list(APPEND environment NUMSCAN_LINE_END=crlf WINEPREFIX=${CMAKE_CURRENT_BINARY_DIR}/wineprefix
        WINEARCH=win32 WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")
else()
    set(program ${target_dir}/numscan)
    set(unit_tests ON)
    list(APPEND environment NUMSCAN_LINE_END=lf)
endif()
list(APPEND environment NUMSCAN_PROGRAM=${program})

set(target_arguments "")
if(NUMSCAN_TARGET_TRIPLET)
    list(APPEND target_arguments -DNUMSCAN_TRIPLET=${NUMSCAN_TARGET_TRIPLET})
endif()
if(unit_tests)
    list(APPEND target_arguments -DCMAKE_CROSSCOMPILING_EMULATOR=${NUMSCAN_TARGET_LAUNCHER}
        -DNUMSCAN_TEST_PREFIX=${NUMSCAN_TARGET_NAME}.)
endif()

ExternalProject_Add(numscan_target
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${target_dir}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${NUMSCAN_TARGET_TOOLCHAIN}
        ${target_arguments}
        -DCMAKE_BUILD_TYPE=Release
        -DNUMSCAN_STATIC=ON
        -DNUMSCAN_WARNINGS_AS_ERRORS=ON
        -DNUMSCAN_BUILD_TESTS=${unit_tests}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")

gtest_discover_tests(numscan_end_to_end_tests TEST_PREFIX "${NUMSCAN_TARGET_NAME}.end_to_end."
    NO_PRETTY_VALUES PROPERTIES FIXTURES_REQUIRED target_session)
numscan_test_environment(numscan_end_to_end_tests ${environment})

if(NUMSCAN_TARGET_LAUNCHER STREQUAL "wine")
    set(session ${CMAKE_CURRENT_SOURCE_DIR}/wine_session.sh)
    add_test(NAME ${NUMSCAN_TARGET_NAME}.wine_start COMMAND ${session} start ${program})
    add_test(NAME ${NUMSCAN_TARGET_NAME}.wine_stop COMMAND ${session} stop)
    set_tests_properties(${NUMSCAN_TARGET_NAME}.wine_start PROPERTIES
        ENVIRONMENT "${environment}" FIXTURES_SETUP target_session)
    set_tests_properties(${NUMSCAN_TARGET_NAME}.wine_stop PROPERTIES
        ENVIRONMENT "${environment}" FIXTURES_CLEANUP target_session)
endif()

if(unit_tests)
    # The target tree's own tests, the unit tests run through the launcher,
    # are run with this tree's.
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/target_tests.ctest "subdirs(\"${target_dir}\")\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/target_tests.ctest)
endif()
