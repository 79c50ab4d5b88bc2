# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads, for std::thread).
# The cross-built libraries' prefix comes from VORLAN_WINDOWS_DEPS in the environment, so that
# CMake's own test builds, which read this file again, find them too.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
if(DEFINED ENV{VORLAN_WINDOWS_DEPS})
  list(PREPEND CMAKE_FIND_ROOT_PATH $ENV{VORLAN_WINDOWS_DEPS})
  list(APPEND CMAKE_PREFIX_PATH $ENV{VORLAN_WINDOWS_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Everything links statically, the C and C++ runtimes too: one vorlan.exe, no DLLs to ship.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
