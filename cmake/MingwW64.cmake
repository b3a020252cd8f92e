# Cross-building for 64-bit Windows on Debian with MinGW-w64 (g++-mingw-w64-x86-64-posix): the
# posix thread model, so std::thread and std::mutex work, and everything linked statically, so
# ravelin-cli.exe needs no DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RAVELIN_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${RAVELIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RAVELIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${RAVELIN_MINGW_PREFIX}-windres)

# Libraries and headers come from the MinGW tree only; programs (pkg-config, ...) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${RAVELIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Wine runs the tests and the programs the build runs (gtest discovery) when it is there.
find_program(RAVELIN_WINE NAMES wine wine64)
if(RAVELIN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${RAVELIN_WINE})
endif()
