# A second compiler for the same target: Debian's clang with the MinGW-w64
# headers and libraries, linking with the MinGW linker.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET i686-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET i686-w64-mingw32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(gcc_dir /usr/lib/gcc/i686-w64-mingw32/12-win32)
set(CMAKE_CXX_FLAGS_INIT
  "-isystem ${gcc_dir}/include/c++ -isystem ${gcc_dir}/include/c++/i686-w64-mingw32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${gcc_dir}")
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
