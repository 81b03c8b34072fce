# Tests numscan built for another host. The program, and where the launcher
# runs the host's programs here the conversion's unit tests, are built in
# host/ with NUMSCAN_HOST_TOOLCHAIN; the end-to-end table then runs against
# that program from the runner built for this machine.
#
# NUMSCAN_HOST_LAUNCHER names the command that runs the host's programs here
# (qemu-user, Wine). A Windows host, as its toolchain file says, writes CR LF,
# and its tests run in a Wine session of their own, in a prefix in this
# build folder, started before the first test and stopped after the last,
# pass or fail.
include(ExternalProject)

# The system the toolchain file builds for, read from the file itself.
function(numscan_host_system out)
    include(${NUMSCAN_HOST_TOOLCHAIN})
    set(${out} ${CMAKE_SYSTEM_NAME} PARENT_SCOPE)
endfunction()
numscan_host_system(host_system)

# The launcher as this machine installs it: qemu-user-static names its
# emulators qemu-ARCH-static, and the qemu-user that took them over names the
# same static programs qemu-ARCH. Looked up at every configure, so that a
# replaced qemu is found.
find_program(launcher NAMES ${NUMSCAN_HOST_LAUNCHER}-static ${NUMSCAN_HOST_LAUNCHER} NO_CACHE)
if(NOT launcher)
    message(FATAL_ERROR "${NUMSCAN_HOST} programs run here under ${NUMSCAN_HOST_LAUNCHER}, which is not "
        "installed (as ${NUMSCAN_HOST_LAUNCHER}-static or ${NUMSCAN_HOST_LAUNCHER}): run tools/setup test")
endif()
set(host_dir ${CMAKE_CURRENT_BINARY_DIR}/host)
set(environment "NUMSCAN_LAUNCHER=${launcher}")
if(host_system STREQUAL "Windows")
    set(program ${host_dir}/numscan.exe)
    set(unit_tests OFF)
    list(APPEND environment NUMSCAN_LINE_END=crlf WINEPREFIX=${CMAKE_CURRENT_BINARY_DIR}/wineprefix
        WINEARCH=win32 WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")
else()
    set(program ${host_dir}/numscan)
    set(unit_tests ON)
    list(APPEND environment NUMSCAN_LINE_END=lf)
endif()
list(APPEND environment NUMSCAN_PROGRAM=${program})

ExternalProject_Add(numscan_host
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${host_dir}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${NUMSCAN_HOST_TOOLCHAIN}
        -DNUMSCAN_HOST_TRIPLET=${NUMSCAN_HOST_TRIPLET}
        -DNUMSCAN_HOST=${NUMSCAN_HOST}
        -DCMAKE_CROSSCOMPILING_EMULATOR=${launcher}
        -DCMAKE_BUILD_TYPE=Release
        -DNUMSCAN_STATIC=ON
        -DNUMSCAN_WARNINGS_AS_ERRORS=ON
        -DNUMSCAN_BUILD_TESTS=${unit_tests}
        # Not read there (the host's tree works it out as this one does):
        # a new value configures that tree again, so that its programs and
        # packages never keep the time stamp of an earlier commit.
        -DNUMSCAN_SOURCE_DATE_EPOCH=${NUMSCAN_SOURCE_DATE_EPOCH}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")

gtest_discover_tests(numscan_end_to_end_tests TEST_PREFIX "${NUMSCAN_HOST}.end_to_end."
    NO_PRETTY_VALUES PROPERTIES FIXTURES_REQUIRED host_session)
numscan_test_environment(numscan_end_to_end_tests ${environment})

if(host_system STREQUAL "Windows")
    # The rows of the terminal table that hold on every console, on the
    # console Wine makes of a pseudo-terminal.
    gtest_discover_tests(numscan_terminal_tests TEST_PREFIX "${NUMSCAN_HOST}.terminal."
        TEST_FILTER "AnyConsole/*" NO_PRETTY_VALUES PROPERTIES FIXTURES_REQUIRED host_session)
    numscan_test_environment(numscan_terminal_tests ${environment})
    set(session ${CMAKE_CURRENT_SOURCE_DIR}/wine_session.sh)
    add_test(NAME ${NUMSCAN_HOST}.wine_start COMMAND ${session} start ${program})
    add_test(NAME ${NUMSCAN_HOST}.wine_stop COMMAND ${session} stop)
    set_tests_properties(${NUMSCAN_HOST}.wine_start PROPERTIES
        ENVIRONMENT "${environment}" FIXTURES_SETUP host_session)
    set_tests_properties(${NUMSCAN_HOST}.wine_stop PROPERTIES
        ENVIRONMENT "${environment}" FIXTURES_CLEANUP host_session)
endif()

if(unit_tests)
    # The host tree's own tests, the unit tests run through the launcher,
    # are run with this tree's.
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/host_tests.ctest "subdirs(\"${host_dir}\")\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/host_tests.ctest)
endif()
