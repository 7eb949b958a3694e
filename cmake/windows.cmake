# The Windows build: the tool itself and the tests that run it on a real
# Win32 implementation. Everything that depends on the compiler is here,
# but for the fault program's link options in tests/wine/CMakeLists.txt and
# the fault redirect in common/fault_redirect.cpp.

# Every program in one folder: the tests find velmora.exe beside themselves.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})

# An invalid memory access becomes a C++ exception thrown from the faulting
# instruction (common/fault_redirect.cpp). GCC must then treat every
# instruction that can trap as able to throw, and must not turn the loops
# that touch foreign memory into C library calls, through which nothing can
# be unwound.
option(VELMORA_WERROR "Treat warnings as errors" OFF)
if(MSVC)
  set(VELMORA_WARNINGS /W4 $<$<BOOL:${VELMORA_WERROR}>:/WX>)
  set(VELMORA_FAULT_OPTIONS /EHa)
  add_compile_options($<$<CONFIG:Release>:/MT>)
else()
  set(VELMORA_WARNINGS -Wall -Wextra -Wpedantic -Wconversion
      $<$<BOOL:${VELMORA_WERROR}>:-Werror>)
  # One self-contained exe: no libgcc or libstdc++ DLL beside it.
  set(VELMORA_LINK_STATIC -static -static-libgcc -static-libstdc++)
  set(VELMORA_LINK_STATIC_C -static -static-libgcc)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set(VELMORA_FAULT_OPTIONS -fnon-call-exceptions
        -fasynchronous-unwind-tables -fno-tree-loop-distribute-patterns)
  else()
    # Clang has no exceptions from trapping instructions: a fault still gives
    # the 216 report, but without the releases of the scopes it leaves.
    set(VELMORA_FAULT_OPTIONS -fasynchronous-unwind-tables)
  endif()
endif()

add_library(velmora_core STATIC
  ${VELMORA_PURE_SOURCES}
  common/dll_search.cpp
  common/fault.cpp
  common/fault_redirect.cpp
  clipboard/clipboard_open.cpp
  clipboard/clipboard_text.cpp
  clipboard/filled_block.cpp
  clipboard/unicode_form.cpp
  host/host_window.cpp
  driver/switches.cpp
  driver/refusal.cpp
  driver/run_sequence.cpp)
target_include_directories(velmora_core PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_definitions(velmora_core PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)
target_compile_options(velmora_core PRIVATE ${VELMORA_WARNINGS}
  PUBLIC ${VELMORA_FAULT_OPTIONS})
target_link_libraries(velmora_core PUBLIC user32 kernel32)

# The tests may run against a tool built elsewhere: Debian's MinGW builds the
# tool with the win32 thread model and the tests with the posix one.
set(VELMORA_TOOL_DIR "" CACHE PATH
  "Folder of a velmora.exe built elsewhere, to test instead of building one")
if(VELMORA_TOOL_DIR)
  set(VELMORA_TESTED_DIR ${VELMORA_TOOL_DIR})
else()
  set(VELMORA_TESTED_DIR ${PROJECT_BINARY_DIR})
  # The version information and the manifest Windows reads from the exe, with
  # the project's version and the licence's copyright line.
  file(STRINGS LICENSE VELMORA_COPYRIGHT REGEX "^Copyright" LIMIT_COUNT 1)
  configure_file(driver/velmora.rc.in velmora.rc @ONLY)
  # The users' readme and the licence of the release, with CR LF line ends,
  # which every Notepad shows right; the readme is UTF-8 with its byte-order
  # mark, as its source has it.
  configure_file(docs/readme.txt.in readme.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  set_source_files_properties(${PROJECT_BINARY_DIR}/velmora.rc PROPERTIES
    OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/driver/velmora.manifest)
  add_executable(velmora WIN32 driver/main.cpp ${PROJECT_BINARY_DIR}/velmora.rc)
  target_link_libraries(velmora PRIVATE velmora_core)
  target_compile_options(velmora PRIVATE ${VELMORA_WARNINGS})
  # Stripped, and without a link time stamp: two builds give the same bytes.
  if(MSVC)
    # The manifest is the one in velmora.rc, not one the linker makes.
    target_link_options(velmora PRIVATE /Brepro /MANIFEST:NO)
  else()
    target_link_options(velmora PRIVATE ${VELMORA_LINK_STATIC} -s
      -Wl,--no-insert-timestamp)
  endif()

  # The release: velmora.exe, the users' readme and the licence in a
  # versioned zip, with the exe's SHA-256 beside it.
  add_custom_target(release
    COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:velmora>
      -DREADME=${PROJECT_BINARY_DIR}/readme.txt
      -DLICENSE=${PROJECT_BINARY_DIR}/LICENSE.txt -DOUT=${PROJECT_BINARY_DIR}/release
      -DNAME=velmora-${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/cmake/release.cmake
    DEPENDS velmora
    VERBATIM)
endif()

# Programs that the tests start beside the tool, then the tests themselves.
add_subdirectory(tests/wine)
add_subdirectory(bench)
