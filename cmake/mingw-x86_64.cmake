# The x64 tool (win32 thread model).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_threads win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
