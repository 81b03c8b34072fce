# Cross-compiles for 32-bit x86 Windows with Debian's MinGW-w64 toolchain
# (package g++-mingw-w64-i686).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(NUMSCAN_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${NUMSCAN_MINGW_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${NUMSCAN_MINGW_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${NUMSCAN_MINGW_TRIPLET}-windres)

# Headers and libraries come from the target's tree only; programs run
# during the build come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${NUMSCAN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
