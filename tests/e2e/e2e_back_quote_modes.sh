#!/usr/bin/env bash
# The back-quote copy modes under the real program: 同页粘贴 collects a
# selection of the target into the same-page editor and keeps it in the file
# named by the editor's first line; 反撇号键粘贴 copies a mouse drag over
# the target's text and the back-quote key pastes it into another field; with
# the cut option a drag deletes what it copied, and a drag over nothing
# selectable deletes nothing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

SAME_PAGE_CENTRE=(238 27)       # 按钮104 at 212,15 52x24
SELECTION_COPY_CENTRE=(171 27)  # 按钮66 at 131,15 80x24
EDITOR_POINT=(200 200)          # 编辑框25 over the data table
TARGET_FIELD2_CENTRE=(190 72)   # field 2 at 10,60 360x24
CUT_OPTION_CENTRE=(190 54)      # 选择框14 at 184,48 12x12

new_app_dir
start_app "$APP_DIR"
caption_is() { [[ "$(app_text_at "$1" "$2")" == "$3" ]]; }

note "同页粘贴: a capture lands in the file of the first line"
click_client "$APP_TITLE" "${SAME_PAGE_CENTRE[@]}"
expect_within 10 "the button reads 同页保存" caption_is "${SAME_PAGE_CENTRE[@]}" 同页保存
click_client "$APP_TITLE" "${EDITOR_POINT[@]}"
type_text "list"
press Return
start_target "$E2E_ROOT/target.log"
focus_target_for_keys
type_text "hello"
press ctrl+Home ctrl+shift+End grave
file="$APP_DIR/同页粘贴/list.txt"
expect_within 10 "the collection is saved" test -s "$file"
assert_eq "list|hello|" "$(tr '\r\n' '|' <"$file" | tr -s '|')" "the same-page file"

note "反撇号键粘贴: a drag copies, the back-quote key pastes"
activate "$APP_TITLE"
click_client "$APP_TITLE" "${SELECTION_COPY_CENTRE[@]}"
expect_within 10 "the button reads 关闭复制" caption_is "${SELECTION_COPY_CENTRE[@]}" 关闭复制
focus_target_for_keys
read -r x y <<<"$(probe point "$TARGET_TITLE" 14 22)"
xdotool mousemove "$x" "$y" mousedown 1 sleep 0.2 mousemove $((x + 150)) "$y" sleep 0.2 mouseup 1
sleep 1
click_client "$TARGET_TITLE" "${TARGET_FIELD2_CENTRE[@]}"
sleep 0.3
press grave
fields_hold_hello_twice() { [[ "$(target_fields | head -n 2 | tr '\n' '|')" == "hello|hello|" ]]; }
expect_within 10 "field 2 holds the dragged text" fields_hold_hello_twice

note "反撇号键粘贴 with the cut option"
activate "$APP_TITLE"
click_client "$APP_TITLE" "${CUT_OPTION_CENTRE[@]}"
focus_target_for_keys
press Home
drag_across() {
  read -r x y <<<"$(probe point "$TARGET_TITLE" "$1" "$2")"
  xdotool mousemove "$x" "$y" mousedown 1 sleep 0.2 mousemove $((x + 300)) "$y" sleep 0.2 mouseup 1
  sleep 1
}
drag_across 14 45  # between fields 1 and 2: the caret stays before field 1's "h"
assert_eq "hello|hello|" "$(target_fields | head -n 2 | tr '\n' '|')" "the fields after a drag over nothing"
drag_across 14 22
field1_is_cut() { [[ "$(target_fields | head -n 2 | tr '\n' '|')" == "|hello|" ]]; }
expect_within 10 "the drag over field 1 cut its text" field1_is_cut
stop_target
stop_app
note "passed"
