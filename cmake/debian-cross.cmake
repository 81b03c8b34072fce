# Cross-compiles for another host with Debian's cross compilers: package
# g++-<triplet> for Linux, g++-mingw-w64-<arch> for Windows (a triplet
# ending in -mingw32). NUMSCAN_HOST_TRIPLET is the host's GNU triplet. The
# project links its programs statically, so that qemu-user and Wine run them
# with no sysroot of the host.
if(NOT NUMSCAN_HOST_TRIPLET)
    message(FATAL_ERROR "cmake/debian-cross.cmake needs NUMSCAN_HOST_TRIPLET, the host's GNU triplet")
endif()
# The projects CMake makes to check the compiler need the triplet as well.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES NUMSCAN_HOST_TRIPLET)

if(NUMSCAN_HOST_TRIPLET MATCHES "-mingw32$")
    set(CMAKE_SYSTEM_NAME Windows)
    set(CMAKE_RC_COMPILER ${NUMSCAN_HOST_TRIPLET}-windres)
else()
    set(CMAKE_SYSTEM_NAME Linux)
endif()
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR "${NUMSCAN_HOST_TRIPLET}")
set(CMAKE_C_COMPILER ${NUMSCAN_HOST_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${NUMSCAN_HOST_TRIPLET}-g++)

# Headers and libraries come from the host's tree only; programs run during
# the build come from this machine.
set(CMAKE_FIND_ROOT_PATH /usr/${NUMSCAN_HOST_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
