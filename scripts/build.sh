#!/usr/bin/env bash
# Builds, warnings as errors:
#   build/win32        the tool (velmora.exe), its Wine tests, the benchmark
#                      and the release zip, with the i686 MinGW-w64 g++
#   build/clang-win32  the tool again with clang, the second compiler
#   build/native       the byte-logic tests and the fuzz target, with
#                      sanitizers
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DVELMORA_WERROR=ON >/dev/null
cmake --build build/win32 -j"$jobs"
cmake --build build/win32 --target release
cmake --no-warn-unused-cli -S . -B build/clang-win32 \
  -DCMAKE_TOOLCHAIN_FILE=cmake/clang-mingw-i686.cmake -DVELMORA_SKIP_TESTS=ON \
  -DVELMORA_WERROR=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build build/clang-win32 -j"$jobs"
CC=clang CXX=clang++ cmake -S . -B build/native >/dev/null
cmake --build build/native -j"$jobs"
