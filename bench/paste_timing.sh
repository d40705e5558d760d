#!/usr/bin/env bash
# How long an automatic run (自动横向粘贴) of many rows takes under Wine,
# against the pauses the run is specified to make, and whether every row
# arrived whole and in order. Prints figures; asserts nothing about time.
#
#   bench/paste_timing.sh [BUILD_DIR]      (default build/win32)
#   PASTE_ROWS (default 100) and PASTE_RUNS (default 3) change the workload.
#
# Uses DISPLAY and WINEPREFIX when set and usable, else starts a virtual
# display and the project's own prefix (and ends both when done).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine_bench.sh"

build_dir=${1:-$ROOT/build/win32}
rows=${PASTE_ROWS:-100}
runs=${PASTE_RUNS:-3}
interval=30   # item 0 of the interval selector
settle=10     # the fixed pause before each row

wine_bench_start "$build_dir"

# Each row: no Tab, one Enter (which the target ignores), so all rows land in
# field 1 and the field shows their order; the Enter is the row's last key.
mapfile -t entries < <(seq -f 'row%03g' 1 "$rows")
slot=("${entries[0]}" "★★回车★F6")
for entry in "${entries[@]:1}"; do slot+=("$entry" "★★回车★"); done
new_app_dir
write_slot "$APP_DIR" A "${slot[@]}"

start_app "$APP_DIR" >/dev/null
open_slot A "$rows"
choose_paste_mode 1 自动横向粘贴
choose_interval 0 "$interval"

# The pauses up to the last row's Enter: one interval at the start, then per
# row the settle, an interval before and after setting the clipboard and one
# before the Enter. One more interval follows before the run goes idle.
floor=$((interval + rows * (settle + 3 * interval)))
first_floor=$((interval + settle + 2 * interval))
expected_text=$(printf '%s' "${entries[@]}")
enters() { awk '$2 == "key" && $3 == "Enter"' "$TARGET_LOG" | wc -l; }
all_rows_in() { (($(enters) >= rows)); }

printf 'rows %d, interval %d ms; floor to the last Enter %d ms (+%d ms before idle)\n' \
  "$rows" "$interval" "$floor" "$interval"
printf '%-4s %10s %10s %7s %12s %14s  %s\n' run "first ms" "last ms" ratio "ms/row over" \
  "rows arrived" "intact"
for ((run = 1; run <= runs; run++)); do
  press_into_fresh_target "$run" F6 all_rows_in "$floor"
  first=$(awk '$2 == "char" && $3 == "U+0016" { print $1; exit }' "$TARGET_LOG")
  last=$(awk '$2 == "key" && $3 == "Enter" { at = $1 } END { print at }' "$TARGET_LOG")
  arrived=$(enters)
  if [[ "$(target_input)" == "$(repeat_text "$rows" '<Ctrl+V><Enter>')" ]] &&
    target_fields_are "$expected_text"; then
    intact=yes
  else
    intact="NO: field 1 is '$(target_fields | head -n 1 | cut -c1-60)...'"
  fi
  elapsed=$((${last:-$PRESSED} - PRESSED))
  printf '%-4d %10d %10d %7s %12s %9d/%-4d  %s\n' "$run" $((${first:-$PRESSED} - PRESSED)) \
    "$elapsed" "$(ratio "$elapsed" "$floor")" \
    "$(awk -v m="$elapsed" -v f="$floor" -v n="$rows" 'BEGIN { printf "%.1f", (m - f) / n }')" \
    "$arrived" "$rows" "$intact"
  stop_target
done
printf 'first ms: press to the first paste (floor %d ms); last ms: press to the last Enter\n' \
  "$first_floor"
stop_app
