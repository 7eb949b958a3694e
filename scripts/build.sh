#!/usr/bin/env bash
# Builds, the Windows builds with warnings as errors:
#   build/win32        the 32-bit tool (velmora.exe, the product), its fault
#                      program, the benchmark's plain-C programs and the
#                      release zip, with the i686 MinGW-w64 g++ (win32 threads)
#   build/win64        the same as x64, tested everywhere beside the product,
#                      and the one the benchmark falls back to on hosts that
#                      run no 32-bit code natively
#   build/win32-tests  the tests under Wine, the demo and the benchmark for
#   build/win64-tests  each of them, with the posix-thread g++ GoogleTest needs
#   build/clang-win32  the 32-bit tool again with clang, the second compiler
#   build/native       the byte-logic tests and the fuzz target, with
#                      sanitizers
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
configure() { cmake --no-warn-unused-cli -S . -B "$@" -DVELMORA_WERROR=ON >/dev/null; }
for arch in 32:i686 64:x86_64; do
  bits=${arch%%:*} processor=${arch#*:}
  configure "build/win$bits" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$processor.cmake" \
    -DVELMORA_SKIP_TESTS=ON
  cmake --build "build/win$bits" -j"$jobs"
  cmake --build "build/win$bits" --target release >/dev/null
  configure "build/win$bits-tests" \
    -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$processor-posix.cmake" \
    -DVELMORA_TOOL_DIR="$PWD/build/win$bits"
  cmake --build "build/win$bits-tests" -j"$jobs"
done
configure build/clang-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/clang-mingw-i686.cmake \
  -DVELMORA_SKIP_TESTS=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
cmake --build build/clang-win32 -j"$jobs"
CC=clang CXX=clang++ cmake -S . -B build/native >/dev/null
cmake --build build/native -j"$jobs"
