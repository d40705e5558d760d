#!/usr/bin/env bash
# A find-image step under the real program: a piece of the target's screen
# (field 3 with its text) is kept in 找图 as a 24-bit BMP, and replaying a
# macro of that one step clicks the centre of where the piece is on the
# screen, which gives field 3 the focus.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
for tool in import convert; do
  command -v "$tool" >/dev/null || fail "$tool (ImageMagick) is not installed"
done

SWITCH_CENTRE=(245 559)       # 按钮5 at 203,548 84x22
SLOT1_CENTRE=(424 489)        # 选择框94 at 418,483 12x12
FIELD3_CENTRE=(190 122)       # the target's field 3 at 10,110 360x24
PIECE_CORNER=(12 113)         # client point where the kept piece starts
PIECE_SIZE=(60 18)

new_app_dir
mkdir -p "$APP_DIR/找图"
{
  to_gbk "[编辑框内容]"$'\r\n'
  to_gbk "记录=F9"$'\r\n'
  to_gbk "模拟=F10"$'\r\n'
  to_gbk "停止=F11"$'\r\n'
} >"$APP_DIR/zira热键配置.ini"
to_gbk "1←→找图←→piece.bmp←→←→←→←→10←→"$'\r\n' >"$APP_DIR/数据1.txt"

note "the target shows a text in field 3; the caret goes back to field 1"
start_target "$E2E_ROOT/target.log"
focus_target_for_keys
click_client "$TARGET_TITLE" "${FIELD3_CENTRE[@]}"
sleep 0.3
type_text "find me here"
click_client "$TARGET_TITLE" "${TARGET_FIELD1_CENTRE[@]}"
expect_within 10 "field 1 has the focus" target_focus_is 1

note "keep the piece of field 3 as a picture of 找图"
read -r piece_x piece_y <<<"$(probe point "$TARGET_TITLE" "${PIECE_CORNER[@]}")"
import -window root "$E2E_ROOT/screen.png"
convert "$E2E_ROOT/screen.png" -crop "${PIECE_SIZE[0]}x${PIECE_SIZE[1]}+$piece_x+$piece_y" +repage \
  -type TrueColor "BMP3:$APP_DIR/找图/piece.bmp"
centre_x=$((piece_x + PIECE_SIZE[0] / 2))
centre_y=$((piece_y + PIECE_SIZE[1] / 2))

start_app "$APP_DIR"
switch_reads() { [[ "$(app_text_at "${SWITCH_CENTRE[@]}")" == "$1" ]]; }
click_client "$APP_TITLE" "${SWITCH_CENTRE[@]}"
expect_within 10 "the switch reads 关zira" switch_reads 关zira
click_client "$APP_TITLE" "${SLOT1_CENTRE[@]}"  # untick
click_client "$APP_TITLE" "${SLOT1_CENTRE[@]}"  # tick: loads the slot

note "replay: the step finds the piece and clicks its centre ($centre_x,$centre_y)"
xdotool mousemove 5 5
press F10
expect_within 20 "field 3 got the focus from the click" target_focus_is 3
pointer=$(xdotool getmouselocation | awk '{ sub("x:", "", $1); sub("y:", "", $2); print $1, $2 }')
assert_eq "$centre_x $centre_y" "$pointer" "the pointer after the click"
stop_target
stop_app
note "passed"
