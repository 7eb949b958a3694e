# The 32-bit tool (win32 thread model).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(mingw_threads win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
