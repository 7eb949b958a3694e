# The 32-bit tests under Wine (posix thread model).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(mingw_threads posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
