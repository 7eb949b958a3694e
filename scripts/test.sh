#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the native byte-logic
# tests and fuzz run, and the tests on a headless Wine desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build/native --output-on-failure
ctest --test-dir build/win32 --output-on-failure
