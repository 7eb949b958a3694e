#!/usr/bin/env bash
# Installs what is missing, builds, and shows the tool collecting two
# selections from the stand-in editor on a headless desktop.
exec "$(dirname "$0")/on-desktop.sh" velmora_demo.exe
