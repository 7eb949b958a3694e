# Cross build with Debian's MinGW-w64, included by the toolchain files that
# name the processor and the thread model. The tool is built with the win32
# thread model; the tests under Wine use the posix one, which GoogleTest needs
# for std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(triple ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-${mingw_threads})
set(CMAKE_CXX_COMPILER ${triple}-g++-${mingw_threads})
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
