#!/usr/bin/env bash
# Installs what is missing, builds, and starts Velmora. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -x build/velmora ]; then
  exec build/velmora "$@"
fi
# Until the desktop window lands, the headless companion is the application.
if [ $# -eq 0 ]; then
  exec build/velmora-info --help
fi
exec build/velmora-info "$@"
