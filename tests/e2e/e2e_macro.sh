#!/usr/bin/env bash
# The macro recorder under the real program: clicks, typed keys and a drag on
# the target are recorded through the input hooks, saved to slot 1 by the
# stop, loaded again after the recorder was switched off and on, and replayed
# twice into a fresh target, which receives the same input twice.
# 反撇号键粘贴 is on until the recorder is switched on, and the screenshot
# hotkey keeps a find-image picture during the recording: neither a copy of
# the drag, the hotkey nor the capture window's clicks become steps, and the
# replay opens no capture and leaves the data table, 找图 and the slot as
# they were. Closing during a replay lets go of the button the replay holds.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

# Client centres (96-DPI units) of the main window's controls.
SWITCH_CENTRE=(245 559)    # 按钮5 at 203,548 84x22
SLOT1_CENTRE=(424 489)     # 选择框94 at 418,483 12x12
SLOT2_CENTRE=(424 505)     # 选择框95 at 418,499 12x12
PASSES_CENTRE=(256 526)    # 组合框64 at 221,516 70x20
DRAG_COPY_CENTRE=(171 27)  # 按钮66 at 131,15 80x24
VK_F8=0x77
CAPTURE_CLASS=hotfill.popup

new_app_dir
{
  to_gbk "[编辑框内容]"$'\r\n'
  to_gbk "记录=F9"$'\r\n'
  to_gbk "模拟=F10"$'\r\n'
  to_gbk "停止=F11"$'\r\n'
  to_gbk "截图=F8"$'\r\n'
} >"$APP_DIR/zira热键配置.ini"
start_app "$APP_DIR"

switch_reads() { [[ "$(app_text_at "${SWITCH_CENTRE[@]}")" == "$1" ]]; }
drag_copy_reads() { [[ "$(app_text_at "${DRAG_COPY_CENTRE[@]}")" == "$1" ]]; }
capture_is() { [[ "$(probe class-shown "$CAPTURE_CLASS")" == "$1" ]]; }
# The row counts of the two list views, the data table and the record table, smaller first.
row_counts() { probe lists "$APP_TITLE" | awk '{ print $2 }' | sort -n | xargs; }
buttons_are() { [[ "$(probe buttons)" == "$1" ]]; }
tip_shown() { probe tips | grep -qxF "$1"; }

# drag_client TITLE X1 Y1 X2 Y2: a left drag between two client points (96-DPI units).
drag_client() {
  local from to
  from=$(probe point "$1" "$2" "$3") || fail "no window titled '$1' to drag in"
  to=$(probe point "$1" "$4" "$5") || fail "no window titled '$1' to drag in"
  # shellcheck disable=SC2086  # "x y" splits into the two coordinates
  xdotool mousemove $from mousedown 1 sleep 0.1 mousemove $to sleep 0.1 mouseup 1 ||
    fail "xdotool could not drag from $from to $to"
}

note "load the screenshot hotkey F8 and switch 反撇号键粘贴 on"
click_client "$APP_TITLE" "${LOAD_HOTKEYS_CENTRE[@]}"
expect_within 10 "F8 is registered" hotkey_is taken 0 "$VK_F8"
click_client "$APP_TITLE" "${DRAG_COPY_CENTRE[@]}"
expect_within 10 "反撇号键粘贴 is on" drag_copy_reads 关闭复制

note "switch the recorder on (slot 1 is ticked at start): 反撇号键粘贴 goes off"
click_client "$APP_TITLE" "${SWITCH_CENTRE[@]}"
expect_within 10 "the switch reads 关zira" switch_reads 关zira
expect_within 10 "反撇号键粘贴 is off" drag_copy_reads 反撇号键粘贴

note "record a click, typed keys, a drag over field 2 and a screenshot of the target's caption"
start_target "$E2E_ROOT/target1.log"
focus_target_for_keys
press F9
sleep 0.5
click_client "$TARGET_TITLE" "${TARGET_FIELD1_CENTRE[@]}"
sleep 0.3
type_text "ab"
press Tab
type_text "c"
sleep 0.3
drag_client "$TARGET_TITLE" 13 72 200 72  # over field 2's text (at 10,60 360x24)
sleep 0.3
press F8
expect_within 10 "the capture window is shown" capture_is shown
sleep 1  # the info panel slides in; the input goes to the window meanwhile
find_window "$TARGET_TITLE"
left=$((WIN_LEFT + 40)) top=$((WIN_TOP + 5)) right=$((WIN_LEFT + 160)) bottom=$((WIN_CLIENT_Y - 5))
((bottom - top >= 8)) || fail "the target's caption is too low to capture ($WIN_TOP to $WIN_CLIENT_Y)"
note "drag out $left,$top to $right,$bottom and double-click inside"
xdotool mousemove "$left" "$top" mousedown 1 mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) \
  mousemove "$right" "$bottom" mouseup 1
sleep 0.3
xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click --repeat 2 --delay 100 1
expect_within 10 "the capture window is gone" capture_is none
sleep 0.5
focus_foreground
press F9
expect_within 10 "slot 1 saved" test -s "$APP_DIR/数据1.txt"
recorded=$(iconv -f GBK -t UTF-8 "$APP_DIR/数据1.txt" | tr -d '\r' | sed 's/←→/|/g')
note "recorded: $(tr '\n' '|' <<<"$recorded")"
for step in 左键按下 左键放开 '按键|A|65' '按键|B|66' '按键|Tab|9' '按键|C|67'; do
  grep -q "$step" <<<"$recorded" || fail "the slot file lacks the step $step"
done
grep -q "F9\|F8\|Ctrl+" <<<"$recorded" && fail "a hotkey or a copy was recorded"
assert_eq 4 "$(grep -c '|鼠标|' <<<"$recorded")" "mouse steps (the click and the drag only)"
assert_eq 1 "$(grep -c '|找图|' <<<"$recorded")" "find-image steps"
assert_eq 9 "$(wc -l <<<"$recorded")" "steps (a click, four keys, a drag, a find-image step)"
stop_target
first_input=$(target_input)
note "the first target received: $first_input"
cp "$APP_DIR/数据1.txt" "$E2E_ROOT/slot1-recorded.txt"
find_images=$(ls "$APP_DIR/找图")
assert_eq 1 "$(wc -l <<<"$find_images")" "pictures under 找图 ($find_images)"

note "switch off and on, load slot 1, two passes"
activate "$APP_TITLE"
click_client "$APP_TITLE" "${SWITCH_CENTRE[@]}"
expect_within 10 "the switch reads 开zira" switch_reads 开zira
# At once: the system takes it for a double click on the coloured button.
click_client "$APP_TITLE" "${SWITCH_CENTRE[@]}"
expect_within 10 "the switch reads 关zira" switch_reads 关zira
click_client "$APP_TITLE" "${SLOT1_CENTRE[@]}"  # untick
click_client "$APP_TITLE" "${SLOT1_CENTRE[@]}"  # tick: loads the slot
choose "passes" "${PASSES_CENTRE[@]}" 1 2

note "replay into a fresh target: the find-image step clicks the target's caption"
start_target "$E2E_ROOT/target2.log"
focus_target_for_keys
press F10
expected=$(repeat_text 2 "$first_input")
replayed() {
  capture_is none || fail "a capture window opened during the replay"
  [[ "$(target_input)" == "$expected" ]]
}
expect_within 20 "the target received the recorded input twice" replayed
expect_within 20 "the replay ended" tip_shown "●模拟结束！"
capture_is none || fail "a capture window opened during the replay"
assert_eq "$find_images" "$(ls "$APP_DIR/找图")" "pictures under 找图 after the replay"
cmp -s "$E2E_ROOT/slot1-recorded.txt" "$APP_DIR/数据1.txt" || fail "the replay changed slot 1"
assert_eq "0 9" "$(row_counts)" "rows of the data table and steps of the record table after the replay"
stop_target

note "close during a replay that holds the left button down"
{
  to_gbk "1←→鼠标←→左键按下←→513←→30←→500←→100←→"$'\r\n'
  to_gbk "2←→按键←→A←→65←→←→←→8000←→"$'\r\n'
  to_gbk "3←→鼠标←→左键放开←→514←→30←→500←→100←→"$'\r\n'
} >"$APP_DIR/数据2.txt"
activate "$APP_TITLE"
click_client "$APP_TITLE" "${SLOT2_CENTRE[@]}"  # ticks slot 2 and loads it
press F10
expect_within 10 "the replay holds the left button down" buttons_are left
stop_app
expect_within 2 "no mouse button is down after the close" buttons_are none
note "passed"
