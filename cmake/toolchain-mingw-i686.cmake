# Cross build for 32-bit Windows with Debian's MinGW-w64 compilers (the
# posix thread model: std::thread and std::mutex need winpthreads).
# VX_WIN_DEPS_PREFIX names the folder of the cross-built libraries (libpng).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(VX_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER /usr/bin/${VX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER /usr/bin/${VX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER /usr/bin/${VX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VX_MINGW_TRIPLE})
if(DEFINED ENV{VX_WIN_DEPS_PREFIX})
  set(VX_WIN_DEPS_PREFIX $ENV{VX_WIN_DEPS_PREFIX})
endif()
if(VX_WIN_DEPS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${VX_WIN_DEPS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Try-compile projects see the same prefix.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VX_WIN_DEPS_PREFIX)

# MinGW's own printf family: it knows %zu and %llu, which the C runtime of
# older Windows versions does not.
set(CMAKE_C_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")
set(CMAKE_CXX_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")

# Static zlib, and no runtime DLL beside the program: only Windows' own.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs the programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/wine)
