#!/usr/bin/env bash
# The screenshot hotkey under the real program: F9 typed into the settings
# file's 截图 line and loaded by 加载热键; a press opens the capture window, a
# drag and a double click keep that part of the screen under 截图 as a BMP of
# the dragged size and add the row "#" + its path, saved to slot A; Esc on
# the next capture of the series ends it. With the recorder on (macro mode)
# a capture goes under 找图 and becomes a find-image step of slot 1.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

VK_F9=0x78
CAPTURE_CLASS=hotfill.popup

new_app_dir
to_gbk $'[编辑框内容]\r\n记录=F2\r\n模拟=F3\r\n停止=F4\r\n截图=F9\r\n' >"$APP_DIR/zira热键配置.ini"

start_app "$APP_DIR"

note "load the screenshot hotkey"
click_client "$APP_TITLE" "${LOAD_HOTKEYS_CENTRE[@]}"
expect_within 10 "F9 is registered" hotkey_is taken 0 "$VK_F9"

capture_is() { [[ "$(probe class-shown "$CAPTURE_CLASS")" == "$1" ]]; }

note "press F9: the capture window opens"
press F9
expect_within 10 "the capture window is shown" capture_is shown
sleep 1  # the info panel slides in; the input goes to the window meanwhile

# select_and_save LEFT TOP RIGHT BOTTOM: drags out the selection between the
# corners (both included) and double-clicks inside it.
select_and_save() {
  local middle_x=$((($1 + $3) / 2)) middle_y=$((($2 + $4) / 2))
  note "drag from $1,$2 to $3,$4 and double-click inside"
  xdotool mousemove "$1" "$2" mousedown 1 mousemove "$middle_x" "$middle_y" mousemove "$3" "$4" mouseup 1
  sleep 0.3
  xdotool mousemove "$middle_x" "$middle_y" click --repeat 2 --delay 100 1
}

# bmp_size FILE: "WIDTH HEIGHT BITS" from the BMP header (width at byte 18,
# height at 22, 32-bit little-endian; bits per pixel at 28).
bmp_size() {
  echo "$(od -A n -t u4 -j 18 -N 8 "$1" | xargs) $(od -A n -t u2 -j 28 -N 2 "$1" | xargs)"
}

select_and_save 200 150 260 190  # 61 x 41 pixels

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
assert_eq "BM" "$(head -c 2 "$path")" "file signature"
assert_eq "61 41 24" "$(bmp_size "$path")" "width, height and bits of the capture"
assert_eq $((54 + (61 * 3 + 61 % 4) * 41)) "$(stat -c %s "$path")" "capture file size"

# The row, as the table was saved to the open slot A: "#" + the Windows path.
windows_path="Z:${path//\//\\}"
expected_entries=$(printf '#%s★' "$windows_path")
expect_within 10 "slot A holds the image entry" \
  bash -c '[[ "$(iconv -f GBK -t UTF-8 "$1")" == "$2" ]]' _ "$APP_DIR/保存A.txt" "$expected_entries"
rows_shown 1 || fail "the table no longer shows one row"

note "macro mode: switch the recorder on, the record table shows"
RECORDER_SWITCH_CENTRE=(245 559)  # 按钮5 at 203,548 84x22
click_client "$APP_TITLE" "${RECORDER_SWITCH_CENTRE[@]}"
expect_within 10 "the recorder's stop hotkey F4 is registered" hotkey_is taken 0 0x73
press F9
expect_within 10 "the capture window is shown" capture_is shown
sleep 1
select_and_save 400 300 429 319  # 30 x 20 pixels
expect_within 10 "the capture window is gone" capture_is none
# The list views in the order they were made: the data table, then the record table.
record_steps_shown() { [[ "$(probe lists "$APP_TITLE" | awk 'NR == 2 { print $2 }')" == "$1" ]]; }
expect_within 10 "the record table shows one step" record_steps_shown 1
mapfile -t finds < <(ls "$APP_DIR/找图")
assert_eq 1 "${#finds[@]}" "pictures under 找图 (${finds[*]})"
assert_eq "30 20 24" "$(bmp_size "$APP_DIR/找图/${finds[0]}")" "width, height and bits of the find-image picture"
# The step as slot 1 keeps it: number, kind, picture name, three empty cells, delay.
expected_step=$(printf '1←→找图←→%s←→←→←→←→200←→' "${finds[0]}")
expect_within 10 "slot 1 holds the find-image step" \
  bash -c '[[ "$(iconv -f GBK -t UTF-8 "$1" | tr -d "\r")" == "$2" ]]' _ "$APP_DIR/数据1.txt" "$expected_step"

note "close"
stop_app
note "passed"
