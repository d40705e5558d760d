# Shared by the benchmarks that drive the Windows program under Wine: sourced,
# never run. Brings in scripts/lib.sh and the end-to-end helpers.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
source "$ROOT/tests/e2e/lib.sh"

# wine_bench_start BUILD_DIR: uses DISPLAY and WINEPREFIX when set and usable,
# else starts a virtual display and the project's own prefix and ends both
# on exit; then readies the helpers for the program and probe of BUILD_DIR.
wine_bench_start() {
  start_xvfb
  prepare_wine
  e2e_init "$1/src/hotfill.exe" "$1/tests/e2e/e2e_probe.exe"
  if [[ -n "$XVFB_PID" ]]; then trap 'e2e_cleanup; stop_wine; stop_xvfb' EXIT; fi
}

# press_into_fresh_target RUN KEY DONE FLOOR_MS: a fresh target in front (its
# log target-RUN.log), then KEY pressed; returns once the test DONE holds (or
# after five times the floor) and the target has been quiet for 500 ms.
# PRESSED is when the key went.
press_into_fresh_target() {
  start_target "$E2E_ROOT/target-$1.log" >/dev/null
  focus_target_for_keys
  focus_foreground
  PRESSED=$(now_ms)
  xdotool key "$2"
  wait_for $(($4 * 5 / 1000 + 30)) "$3" || true
  wait_for 10 target_quiet_for 500 || true
}

# ratio MS FLOOR_MS: MS / FLOOR_MS with three decimals.
ratio() { awk -v m="$1" -v f="$2" 'BEGIN { printf "%.3f", m / f }'; }
