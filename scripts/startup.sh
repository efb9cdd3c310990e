#!/usr/bin/env bash
# Start-up time: from fork to the welcome window mapped under Xvfb, against a bare Qt window of the
# same size, the two run in alternation in one session so that both meet the same load.
#
#   scripts/startup.sh [build-dir] [rounds]
#
# Prints every round, each program's median, and the ratio of Tapbook's median to the bare
# window's.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
rounds="${2:-20}"
bash scripts/deps.sh libx11-dev
cmake --build "$build" --target tapbook tapbook_bare_window tapbook_startup_probe >/dev/null
export QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/tapbook-xdg-$(id -u)}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1024x768x24" \
  "$build/bench/startup/tapbook_startup_probe" "$rounds" "$build/tapbook" "$build/bench/startup/tapbook_bare_window"
