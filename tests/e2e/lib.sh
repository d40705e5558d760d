# shellcheck shell=bash
# Helpers of the end-to-end scripts: run the program under Wine on an X
# display, locate its windows with the probe helper, click with xdotool and
# fail with a clear message. Every wait polls against a deadline.
#
# A script sources this file and calls `e2e_init "$@"` with the arguments
# CTest passes: the program's exe and probe.exe.

APP_TITLE="2019墨川一键复制粘贴工具免费版V12.12"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

note() { echo "-- $*"; }

now_ms() { date +%s%3N; }

# Every deadline is multiplied by E2E_TIME_SCALE (a whole number, 1 unless
# set): programs under CPU emulation (scripts/emulate32.sh) take longer.
TIME_SCALE=${E2E_TIME_SCALE:-1}

# wait_for SECONDS COMMAND...: true once COMMAND succeeds, false at the deadline.
wait_for() {
  local deadline=$(($(now_ms) + $1 * 1000 * TIME_SCALE))
  shift
  until "$@"; do
    (($(now_ms) < deadline)) || return 1
    sleep 0.1
  done
}

# expect_within SECONDS WHAT COMMAND...: fails the test if COMMAND never succeeds.
expect_within() {
  local seconds=$1 what=$2
  shift 2
  wait_for "$seconds" "$@" || fail "after $((seconds * TIME_SCALE))s still not: $what"
}

assert_eq() {
  [[ "$2" == "$1" ]] || fail "$3: expected '$1', got '$2'"
}

# Waits until two files are identical; on failure shows both as hex bytes.
expect_same_bytes() {
  local seconds=$1 expected=$2 actual=$3
  wait_for "$seconds" cmp -s "$expected" "$actual" && return 0
  echo "expected ($expected):" >&2
  od -A d -t x1 "$expected" >&2
  echo "actual ($actual):" >&2
  od -A d -t x1 "$actual" >&2 || true
  fail "$(basename "$actual") differs from $(basename "$expected")"
}

to_gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }

probe() { wine "$PROBE_EXE" "$@" </dev/null; }

# e2e_init HOTFILL_EXE PROBE_EXE: checks the environment, makes the work folder
# E2E_ROOT (kept when the test fails) and cleans up on exit.
e2e_init() {
  [[ $# -eq 2 ]] || fail "usage: $0 HOTFILL_EXE PROBE_EXE"
  HOTFILL_EXE=$1
  PROBE_EXE=$2
  [[ -n "${DISPLAY:-}" ]] || fail "DISPLAY is not set (start Xvfb and export DISPLAY)"
  [[ -n "${WINEPREFIX:-}" ]] || fail "WINEPREFIX is not set (export it before running the tests)"
  [[ -f "$HOTFILL_EXE" ]] || fail "program not found: $HOTFILL_EXE"
  [[ -f "$PROBE_EXE" ]] || fail "probe not found: $PROBE_EXE"
  local tool
  for tool in wine xdotool xdpyinfo iconv cmp od; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
  done
  export WINEDEBUG=${WINEDEBUG:--all}
  # Wine turns the UTF-8 title arguments and file names into UTF-16 by the locale.
  [[ "$(locale charmap 2>/dev/null)" == "UTF-8" ]] || export LC_ALL=C.UTF-8
  E2E_ROOT=$(mktemp -d /tmp/hotfill-e2e.XXXXXX)
  STARTED_PIDS=()
  trap e2e_cleanup EXIT
}

e2e_cleanup() {
  local status=$? pid
  for pid in "${STARTED_PIDS[@]}"; do
    process_ended "$pid" && continue
    echo "cleanup: ending leftover process $pid" >&2
    kill -TERM "$pid" 2>/dev/null || true
    wait_for 5 process_ended "$pid" || kill -KILL "$pid" 2>/dev/null || true
  done
  if ((status == 0)); then
    rm -rf "$E2E_ROOT"
  else
    echo "work folder kept for inspection: $E2E_ROOT" >&2
  fi
}

# True when the process is gone or a zombie (nothing may reap ended Wine processes).
process_ended() {
  local state
  state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 0
  [[ -z "$state" || "$state" == Z ]]
}

process_running() { ! process_ended "$1"; }

# launch DIR: starts DIR/hotfill.exe from DIR in the background; its PID in LAUNCHED_PID.
launch() {
  local dir=$1
  (cd "$dir" && exec wine ./hotfill.exe) </dev/null >>"$E2E_ROOT/wine.log" 2>&1 &
  LAUNCHED_PID=$!
  STARTED_PIDS+=("$LAUNCHED_PID")
}

# start_app DIR: starts the program under test and waits for its main window.
start_app() {
  launch "$1"
  APP_PID=$LAUNCHED_PID
  note "started $1/hotfill.exe as PID $APP_PID"
  find_window "$APP_TITLE" 30000
}

# find_window TITLE [TIMEOUT_MS]: sets WIN_HWND, WIN_LEFT, WIN_TOP, WIN_RIGHT,
# WIN_BOTTOM (frame), WIN_CLIENT_X, WIN_CLIENT_Y (client origin) and WIN_DPI.
find_window() {
  local found
  found=$(probe find "$1" $((${2:-10000} * TIME_SCALE))) || fail "no window titled '$1'"
  # shellcheck disable=SC2034  # read by the scripts
  read -r WIN_HWND WIN_LEFT WIN_TOP WIN_RIGHT WIN_BOTTOM WIN_CLIENT_X WIN_CLIENT_Y WIN_DPI <<<"$found"
}

window_count() { probe count "$1"; }

# Gives the X keyboard focus to the window Win32 reports as foreground: a click
# activates a Wine window but does not move the X focus, and keys go to X focus.
focus_foreground() {
  local xid
  read -r _ xid _ <<<"$(probe foreground)"
  [[ -n "$xid" && "$xid" != 0 ]] && xdotool windowfocus "$xid"
  return 0
}

# activate TITLE: makes the window the foreground window and gives it the X focus.
activate() {
  probe activate "$1" >/dev/null || fail "cannot bring '$1' to the foreground"
  focus_foreground
}

# click_client TITLE X Y: left click at the client point (X, Y) given in 96-DPI units.
click_client() {
  local point x y
  point=$(probe point "$1" "$2" "$3") || fail "no window titled '$1' to click"
  read -r x y <<<"$point"
  xdotool mousemove "$x" "$y" click 1 || fail "xdotool could not click at $x,$y"
  focus_foreground
}

# double_click_client TITLE X Y: a double click at the client point (96-DPI units).
double_click_client() {
  local point x y
  point=$(probe point "$1" "$2" "$3") || fail "no window titled '$1' to double-click"
  read -r x y <<<"$point"
  xdotool mousemove "$x" "$y" click --repeat 2 --delay 100 1 ||
    fail "xdotool could not double-click at $x,$y"
  focus_foreground
}

# screen_size: prints "WIDTH HEIGHT" of the X screen.
screen_size() {
  xdpyinfo | awk '/dimensions:/ { split($2, size, "x"); print size[1], size[2] }'
}

# stop_app: closes the main window and waits for the program's process to end.
stop_app() {
  probe close "$APP_TITLE" $((20000 * TIME_SCALE)) || fail "main window did not close"
  expect_within 20 "program process $APP_PID ended after its window closed" process_ended "$APP_PID"
}

# The paste target: e2e_target.exe (built next to the probe), a window of five
# fields that logs what it receives (see tests/e2e/target.cpp for the format).
TARGET_TITLE="hotfill target"
TARGET_FIELD1_CENTRE=(190 22)  # client point of field 1 (at 10,10 360x24; 96 DPI)

# start_target LOG: starts the target logging to LOG and waits until it is shown;
# sets TARGET_PID, TARGET_LOG and TARGET_HWND.
start_target() {
  local exe
  exe=$(dirname "$PROBE_EXE")/e2e_target.exe
  [[ -f "$exe" ]] || fail "target not found: $exe"
  TARGET_LOG=$1
  rm -f "$TARGET_LOG" "$TARGET_LOG.fields"
  # Wine maps the Unix root to drive Z:.
  wine "$exe" "Z:$TARGET_LOG" </dev/null >>"$E2E_ROOT/wine.log" 2>&1 &
  TARGET_PID=$!
  STARTED_PIDS+=("$TARGET_PID")
  expect_within 30 "the target window is shown" grep -qs " ready " "$TARGET_LOG"
  TARGET_HWND=$(awk '$2 == "ready" { print $3 }' "$TARGET_LOG")
  note "started the target as PID $TARGET_PID, window $TARGET_HWND"
}

# focus_target: makes the target the foreground window with the X focus and
# clicks into field 1, so the caret is there.
focus_target() {
  activate "$TARGET_TITLE"
  click_client "$TARGET_TITLE" "${TARGET_FIELD1_CENTRE[@]}"
  # Now and then Wine loses the click (the caret stays in another field):
  # click once more, later than a double click would be.
  wait_for 1 target_focus_is 1 && return 0
  sleep 0.6
  click_client "$TARGET_TITLE" "${TARGET_FIELD1_CENTRE[@]}"
}

# target_fields: prints the target's field texts, one per line (\\, \r and \n
# inside a text are escaped).
target_fields() { cat "$TARGET_LOG.fields"; }

# target_fields_are TEXT...: true when the fields hold exactly these texts
# (missing ones are empty).
target_fields_are() {
  local expected=("$@")
  while ((${#expected[@]} < 5)); do expected+=(""); done
  [[ "$(target_fields 2>/dev/null)" == "$(printf '%s\n' "${expected[@]}")" ]]
}

# press KEYS...: xdotool key names (Tab, ctrl+v, F2), sent to the window that
# Win32 reports as foreground after giving it the X focus.
press() {
  focus_foreground
  xdotool key --delay 30 "$@" || fail "xdotool could not press $*"
}

# type_text TEXT: types keyboard-map characters the way press sends keys
# (characters outside the keyboard map lose the first one: paste those).
type_text() {
  focus_foreground
  xdotool type --delay 30 "$1" || fail "xdotool could not type '$1'"
}

# stop_target: closes the target, which then logs its final field texts.
stop_target() {
  probe close "$TARGET_TITLE" $((20000 * TIME_SCALE)) || fail "the target window did not close"
  expect_within 20 "target process $TARGET_PID ended" process_ended "$TARGET_PID"
}

# The program's data files and hotkeys, and the controls a paste run needs
# (client centres in 96-DPI units).
LOAD_HOTKEYS_CENTRE=(213 90)  # 加载热键 at 187,79 52x23, reads 卸载热键 while loaded
INTERVAL_CENTRE=(232 54)      # 组合框2 at 206,44 52x20
PASTE_MODE_CENTRE=(347 54)    # 组合框66 at 263,44 168x20
# shellcheck disable=SC2034  # read by the scripts
VK_F6=0x75

# new_app_dir: a folder holding a copy of the program, in APP_DIR.
new_app_dir() {
  APP_DIR=$E2E_ROOT/app
  mkdir -p "$APP_DIR"
  cp "$HOTFILL_EXE" "$APP_DIR/hotfill.exe"
}

# write_slot DIR LETTER ENTRY SETTINGS [ENTRY SETTINGS ...]: the slot's files
# in GBK; SETTINGS are the row's columns 2 to 5 joined by ★ ("1★暂停★回车★F6").
write_slot() {
  local dir=$1 letter=$2
  shift 2
  : >"$dir/保存$letter.txt"
  : >"$dir/跳快数据$letter.txt"
  while (($# >= 2)); do
    to_gbk "$1★" >>"$dir/保存$letter.txt"
    to_gbk "$2"$'\r\n' >>"$dir/跳快数据$letter.txt"
    shift 2
  done
}

# write_numbered_slot DIR LETTER FORMAT COUNT FIRST_SETTINGS SETTINGS: a slot of
# COUNT rows named by the printf FORMAT (s%02g: s01, s02, ...), the first with
# FIRST_SETTINGS (its hotkey), the others with SETTINGS. The names are left in
# NUMBERED_ROWS.
write_numbered_slot() {
  local dir=$1 letter=$2 settings=$6 row
  mapfile -t NUMBERED_ROWS < <(seq -f "$3" 1 "$4")
  local slot=("${NUMBERED_ROWS[0]}" "$5")
  for row in "${NUMBERED_ROWS[@]:1}"; do slot+=("$row" "$settings"); done
  write_slot "$dir" "$letter" "${slot[@]}"
}

app_text_at() { probe text "$APP_TITLE" "$1" "$2"; }

rows_shown() { probe lists "$APP_TITLE" | grep -q " $1\$"; }

hotkeys_loaded() { [[ "$(app_text_at "${LOAD_HOTKEYS_CENTRE[@]}")" == 卸载热键 ]]; }

# open_slot LETTER ROWS: clicks 打开<LETTER> and waits until its ROWS rows are
# shown and their hotkeys are loaded. The toggle's caption changes before the
# keys are registered, one every 10 ms after 60 ms: a short settle covers that.
open_slot() {
  local letter=$1 rows=$2 index
  index=$(($(printf '%d' "'$letter") - 65))
  # 打开A to 打开E at 23,442 34x23, one every 36 units.
  click_client "$APP_TITLE" $((23 + 36 * index + 17)) 453
  expect_within 10 "slot $letter shows its $rows rows" rows_shown "$rows"
  expect_within 10 "the hotkeys of slot $letter are loaded" hotkeys_loaded
  sleep 0.3
}

# choose WHAT X Y INDEX ITEM: picks item INDEX of the main window's drop-down
# list at the client point and checks that it is ITEM.
choose() {
  local chosen
  chosen=$(probe select "$APP_TITLE" "$2" "$3" "$4") || fail "cannot choose $1 item $4"
  assert_eq "$5" "$chosen" "$1 item $4"
}

choose_paste_mode() { choose "paste mode" "${PASTE_MODE_CENTRE[@]}" "$1" "$2"; }
choose_interval() { choose "interval" "${INTERVAL_CENTRE[@]}" "$1" "$2"; }

# hotkey_is STATE MOD VK: true when the hotkey is STATE: "free" when another
# program could register it now, "taken" when it cannot.
hotkey_is() { [[ "$(probe hotkey-free "$2" "$3")" == "$1" ]]; }

# point_at TITLE X Y: rests the pointer on the client point (96-DPI units) without clicking.
point_at() {
  local point x y
  point=$(probe point "$1" "$2" "$3") || fail "no window titled '$1' to point at"
  read -r x y <<<"$point"
  xdotool mousemove "$x" "$y" || fail "xdotool could not move the pointer to $x,$y"
}

# focus_target_for_keys: focus_target, then the pause Wine needs to resync the
# key state after a focus change before keys arrive intact.
focus_target_for_keys() {
  focus_target
  sleep 0.3
}

# target_input: what the target received, in order, as one line: characters as
# text, a paste (Ctrl+V's U+0016) as <Ctrl+V>, logged keys as <Tab>, <Enter> ...
target_input() {
  local escaped
  escaped=$(awk '
    $2 == "char" && $3 == "U+0016" { printf "<Ctrl+V>"; next }
    $2 == "char" { printf "\\u%s", substr($3, 3) }
    $2 == "key" { printf "<%s>", $3 }' "$TARGET_LOG")
  printf '%b\n' "$escaped"
}

# target_quiet_for MS: true when the target logged nothing for the last MS ms.
target_quiet_for() {
  local last
  last=$(awk 'END { print $1 }' "$TARGET_LOG")
  (($(now_ms) - last >= $1))
}

# target_focus_is N: true when field N is the one that last got the focus.
target_focus_is() {
  [[ "$(awk '$2 == "focus" { field = $3 } END { print field }' "$TARGET_LOG")" == "$1" ]]
}

# repeat_text COUNT TEXT: TEXT COUNT times in one line.
repeat_text() {
  local n
  for ((n = 0; n < $1; n++)); do printf '%s' "$2"; done
  echo
}
