#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the static checks,
# the native byte-logic tests and a bounded fuzz run, and the tests on a
# headless Wine desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
scripts/static-checks.sh
ctest --test-dir build/native --output-on-failure
ctest --test-dir build/win32 --output-on-failure
