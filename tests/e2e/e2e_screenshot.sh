#!/usr/bin/env bash
# The screenshot hotkey under the real program: F9 typed into the settings
# file's 截图 line and loaded by 加载热键; a press opens the capture window, a
# drag and a double click keep that part of the screen under 截图 as a BMP of
# the dragged size and add the row "#" + its path, saved to slot A; Esc on
# the next capture of the series ends it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

VK_F9=0x78
CAPTURE_CLASS=hotfill.popup

new_app_dir
to_gbk $'[编辑框内容]\r\n截图=F9\r\n' >"$APP_DIR/zira热键配置.ini"

start_app "$APP_DIR"

note "load the screenshot hotkey"
click_client "$APP_TITLE" "${LOAD_HOTKEYS_CENTRE[@]}"
expect_within 10 "F9 is registered" hotkey_is taken 0 "$VK_F9"

capture_is() { [[ "$(probe class-shown "$CAPTURE_CLASS")" == "$1" ]]; }

note "press F9: the capture window opens"
press F9
expect_within 10 "the capture window is shown" capture_is shown
sleep 1  # the info panel slides in; the input goes to the window meanwhile

# Corners of the selection, both included: 61 x 41 pixels.
left=200 top=150 right=260 bottom=190
note "drag from $left,$top to $right,$bottom and double-click inside"
xdotool mousemove "$left" "$top" mousedown 1 mousemove 230 170 mousemove "$right" "$bottom" mouseup 1
sleep 0.3
xdotool mousemove 230 170 click --repeat 2 --delay 100 1

picture_saved() { [[ -n "$(ls -A "$APP_DIR/截图" 2>/dev/null)" ]]; }
expect_within 10 "a picture is saved under 截图" picture_saved
expect_within 10 "the table shows one row" rows_shown 1

note "the series goes on with the next capture; Esc ends it"
expect_within 10 "the next capture window is shown" capture_is shown
sleep 1
focus_foreground
xdotool key Escape
expect_within 10 "the capture window is gone" capture_is none

mapfile -t pictures < <(ls "$APP_DIR/截图")
assert_eq 1 "${#pictures[@]}" "pictures under 截图 (${pictures[*]})"
picture=${pictures[0]}
[[ "$picture" =~ ^[0-9]+年[0-9]+月[0-9]+日[0-9时分秒]*\.bmp$ ]] || fail "capture named '$picture'"
path=$APP_DIR/截图/$picture
# BMP: "BM", width at byte 18 and height at byte 22 (32-bit little-endian), 24 bits at 28.
assert_eq "BM" "$(head -c 2 "$path")" "file signature"
assert_eq "61 41 24" "$(od -A n -t u4 -j 18 -N 8 "$path" | xargs) $(od -A n -t u2 -j 28 -N 2 "$path" | xargs)" \
  "width, height and bits of the capture"
assert_eq $((54 + (61 * 3 + 61 % 4) * 41)) "$(stat -c %s "$path")" "capture file size"

# The row, as the table was saved to the open slot A: "#" + the Windows path.
windows_path="Z:${path//\//\\}"
expected_entries=$(printf '#%s★' "$windows_path")
expect_within 10 "slot A holds the image entry" \
  bash -c '[[ "$(iconv -f GBK -t UTF-8 "$1")" == "$2" ]]' _ "$APP_DIR/保存A.txt" "$expected_entries"
rows_shown 1 || fail "the table no longer shows one row"

note "close"
stop_app
note "passed"
