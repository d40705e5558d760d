#!/usr/bin/env bash
# Pictures with text and 不同页粘贴 under the real program: a row holding a
# picture and a text pastes a picture of the file's size into one field and
# the text into the next; after the last row, marked, the table stays whole
# and the next press starts again at row 1; with the bullseye dropped on a
# field of the target, a back-quote capture lands in that field.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

TRANSFER_CENTRE=(297 27)     # 按钮10 at 265,15 64x24
PICKER_CENTRE=(42 559)       # 图片框_探测, the bullseye, at 29,546 26x26
TARGET_FIELD3_CENTRE=(190 122)

new_app_dir
convert -size 3x2 xc:red "BMP3:$APP_DIR/red.bmp"
picture="Z:$(tr '/' '\\' <<<"$APP_DIR/red.bmp")"
write_slot "$APP_DIR" A "#$picture#名字" "1★★★F6" "#$picture#李四" "1★★★"
printf '2\r\n' >"$APP_DIR/选择框.txt"  # row 2 marked
start_app "$APP_DIR"
open_slot A 2
choose_paste_mode 12 单快捷键图文粘贴

note "a row of a picture and a text"
start_target "$E2E_ROOT/target1.log"
focus_target_for_keys
press F6
pasted_both() { grep -q " picture 3x2 1$" "$TARGET_LOG" && target_fields_are "" "名字"; }
expect_within 15 "the picture went into field 1 and the text into field 2" pasted_both
press F6
second_row() { grep -q " picture 3x2 3$" "$TARGET_LOG" && target_fields_are "" "名字" "" "李四"; }
expect_within 15 "the marked last row went into fields 3 and 4" second_row
sleep 1
rows_shown 2 || fail "the table lost its rows after its marked last row"
press F6
started_over() { target_fields_are "名字" "名字" "" "李四"; }
expect_within 15 "the next press delivered row 1 again" started_over
rows_shown 2 || fail "the table lost its rows"
stop_target

note "不同页粘贴: the bullseye on field 3, a capture from field 1"
start_target "$E2E_ROOT/target2.log"
activate "$APP_TITLE"
click_client "$APP_TITLE" "${TRANSFER_CENTRE[@]}"
read -r from_x from_y <<<"$(probe point "$APP_TITLE" "${PICKER_CENTRE[@]}")"
read -r to_x to_y <<<"$(probe point "$TARGET_TITLE" "${TARGET_FIELD3_CENTRE[@]}")"
xdotool mousemove "$from_x" "$from_y" mousedown 1 sleep 0.3 mousemove "$to_x" "$to_y" sleep 0.3 \
  mouseup 1
sleep 1
focus_target_for_keys
type_text "moved"
press ctrl+Home ctrl+shift+End grave
carried() { [[ "$(target_fields | sed -n 3p)" == moved ]]; }
expect_within 15 "field 3 received the capture" carried
stop_target
stop_app
note "passed"
