#!/usr/bin/env bash
# Slot files under the real program: what slot A loads is saved to slot B byte
# for byte (Chinese text, an entry with a line break inside, an empty entry,
# empty row settings); the main window sits at its fixed place; a second start
# from the same folder ends by itself and leaves one main window.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

# Client rectangles (96-DPI units) of the slot buttons.
OPEN_A_CENTRE=(40 453)   # 打开A at 23,442 34x23
SAVE_B_CENTRE=(306 453)  # 保存B at 289,442 34x23

app_dir=$E2E_ROOT/app
mkdir "$app_dir"
cp "$HOTFILL_EXE" "$app_dir/hotfill.exe"

entries=("甲乙" $'two\r\nlines' "" "中文 and ASCII 123" "，。！全角")
row_settings=("2★暂停★回车★Ctrl+F1" "★★★" "1★★回车★" "★暂停★★Ctrl+F2" "3★★★")
for entry in "${entries[@]}"; do
  to_gbk "$entry★"
done >"$app_dir/保存A.txt"
for row in "${row_settings[@]}"; do
  to_gbk "$row"$'\r\n'
done >"$app_dir/跳快数据A.txt"

start_app "$app_dir"

read -r screen_width screen_height <<<"$(screen_size)"
scaled() { echo $(($1 * WIN_DPI / 96)); }
frame_width=$((WIN_RIGHT - WIN_LEFT))
frame_height=$((WIN_BOTTOM - WIN_TOP))
assert_eq "$(scaled 460)x$(scaled 627)" "${frame_width}x${frame_height}" "main window outer size"
assert_eq "$((screen_width - frame_width - $(scaled 20))),$((screen_height - $(scaled 680)))" \
  "$WIN_LEFT,$WIN_TOP" "main window position on a ${screen_width}x${screen_height} screen"

table_shows() { probe lists "$APP_TITLE" | grep -q " $1\$"; }

note "open slot A"
click_client "$APP_TITLE" "${OPEN_A_CENTRE[@]}"
expect_within 10 "the table shows the ${#entries[@]} entries of slot A" table_shows "${#entries[@]}"

note "save slot B"
click_client "$APP_TITLE" "${SAVE_B_CENTRE[@]}"
expect_within 10 "slot B files written" test -f "$app_dir/保存B.txt" -a -f "$app_dir/跳快数据B.txt"
expect_same_bytes 5 "$app_dir/保存A.txt" "$app_dir/保存B.txt"
expect_same_bytes 5 "$app_dir/跳快数据A.txt" "$app_dir/跳快数据B.txt"

note "second start from the same folder"
launch "$app_dir"
expect_within 15 "the second instance (PID $LAUNCHED_PID) ended by itself" process_ended "$LAUNCHED_PID"
assert_eq 1 "$(window_count "$APP_TITLE")" "main windows after the second start"
process_running "$APP_PID" || fail "the first instance ended when the second one started"

note "close"
stop_app
note "passed"
