# Cross-compiling for 64-bit Windows with mingw-w64 (Debian: g++-mingw-w64-x86-64-win32).
#   cmake -S <project> -B <folder> -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# Only what needs no Qt builds this way: src/services/win and its test in tests/windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUOR_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUOR_MINGW_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${QUOR_MINGW_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${QUOR_MINGW_TRIPLET}-windres)

# Headers and libraries come from the Windows side only; programs (the build tools) from here.
set(CMAKE_FIND_ROOT_PATH /usr/${QUOR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
