# The x64 tests under Wine (posix thread model).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_threads posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
