#!/usr/bin/env bash
# How long a macro replay of many recorded key steps takes under Wine, against
# the delays the steps carry and the pauses before the first one, and whether
# every key arrived in order. Prints figures; asserts nothing about time.
#
#   bench/replay_timing.sh [BUILD_DIR]      (default build/win32)
#   REPLAY_STEPS (default 200), REPLAY_DELAY (ms, default 20) and REPLAY_RUNS
#   (default 3) change the workload.
#
# Uses DISPLAY and WINEPREFIX when set and usable, else starts a virtual
# display and the project's own prefix (and ends both when done).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine_bench.sh"

build_dir=${1:-$ROOT/build/win32}
steps=${REPLAY_STEPS:-200}
delay=${REPLAY_DELAY:-20}
runs=${REPLAY_RUNS:-3}
interval=30  # item 0 of the interval selector
SWITCH_CENTRE=(245 559)  # 按钮5
SLOT1_CENTRE=(424 489)   # 选择框94

wine_bench_start "$build_dir"

# Key steps "A" to "Z" over and over, each after the same delay; the fields
# are separated by "←→" and every step ends with one.
new_app_dir
expected=""
for ((i = 0; i < steps; i++)); do
  code=$((65 + i % 26))
  letter=$(printf "\\x$(printf %x "$code")")
  expected+=$(tr 'A-Z' 'a-z' <<<"$letter")
  to_gbk "$((i + 1))←→按键←→$letter←→$code←→←→←→$delay←→"$'\r\n'
done >"$APP_DIR/数据1.txt"
{
  to_gbk "[编辑框内容]"$'\r\n'
  to_gbk "记录=F9"$'\r\n'
  to_gbk "模拟=F10"$'\r\n'
  to_gbk "停止=F11"$'\r\n'
} >"$APP_DIR/zira热键配置.ini"

start_app "$APP_DIR" >/dev/null
choose_interval 0 "$interval"
click_client "$APP_TITLE" "${SWITCH_CENTRE[@]}"
click_client "$APP_TITLE" "${SLOT1_CENTRE[@]}"  # ticked at start: untick,
click_client "$APP_TITLE" "${SLOT1_CENTRE[@]}"  # and tick again, which loads it

# The replay hotkey pauses one interval, the worker another, then each step
# waits its delay before its key.
floor=$((2 * interval + steps * delay))
keys() { awk '$2 == "char"' "$TARGET_LOG" | wc -l; }
all_keys_in() { (($(keys) >= steps)); }

printf 'steps %d at %d ms, interval %d ms; floor to the last key %d ms\n' \
  "$steps" "$delay" "$interval" "$floor"
printf '%-4s %10s %7s %14s  %s\n' run "last ms" ratio "keys arrived" "in order"
for ((run = 1; run <= runs; run++)); do
  press_into_fresh_target "$run" F10 all_keys_in "$floor"
  last=$(awk '$2 == "char" { at = $1 } END { print at }' "$TARGET_LOG")
  elapsed=$((${last:-$PRESSED} - PRESSED))
  [[ "$(target_input)" == "$expected" ]] && in_order=yes || in_order=NO
  printf '%-4d %10d %7s %9d/%-4d  %s\n' "$run" "$elapsed" "$(ratio "$elapsed" "$floor")" \
    "$(keys)" "$steps" "$in_order"
  stop_target
done
stop_app
