#!/usr/bin/env bash
# Builds the tool (build/win32/velmora.exe) with its Wine tests, and the
# native sanitizer and fuzz tests (build/native).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win32 -j"$(nproc)"
CC=clang CXX=clang++ cmake -S . -B build/native >/dev/null
cmake --build build/native -j"$(nproc)"
