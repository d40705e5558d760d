#!/usr/bin/env bash
# Runs bench_grab_and_find of BUILD_DIR (default build/win32) under Wine on
# the display (a virtual one when none is usable) with the main window shown,
# so the screen is not all one colour.
#
#   bench/grab_and_find.sh [BUILD_DIR]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine_bench.sh"

build_dir=${1:-$ROOT/build/win32}
wine_bench_start "$build_dir"
new_app_dir
start_app "$APP_DIR" >/dev/null
wine "$build_dir/bench/bench_grab_and_find.exe" </dev/null 2>>"$E2E_ROOT/wine.log"
stop_app
