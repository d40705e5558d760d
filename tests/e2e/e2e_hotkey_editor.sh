#!/usr/bin/env bash
# The hotkey editor of the 自定义快捷键 cells under the real program, keys
# sent by xdotool as fast as a quick typist: Ctrl+V, Ctrl+C and a key another
# row holds are refused (the cell ends empty and the key stays free for other
# programs), a free combination is kept and registered.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

# Client centre of row r's 自定义快捷键 cell: x 377, y 138 + 17 r (96 DPI,
# measured on the table at 14,109 with its header and 17-pixel rows).
HOTKEY_CELL_X=377
hotkey_cell_y() { echo $((138 + 17 * $1)); }
editor_shows() { [[ "$(app_text_at "$HOTKEY_CELL_X" "$1")" == "$2" ]]; }
TABLE_EMPTY_AREA=(200 300)  # below the rows: a click there ends the editing
SAVE_B_CENTRE=(306 453)     # 保存B at 289,442 34x23

new_app_dir
write_slot "$APP_DIR" A a "1★★★F6" b "1★★★F7" c "1★★★F8" d "1★★★F9" e "1★★★F10"
start_app "$APP_DIR"
open_slot A 5

# row, the keys pressed in its editor (it first shows the row's old hotkey)
cases=("1 ctrl+v" "2 ctrl+c" "3 F6" "4 ctrl+shift+F5")
old_hotkeys=(F6 F7 F8 F9 F10)
for case in "${cases[@]}"; do
  read -r row keys <<<"$case"
  y=$(hotkey_cell_y "$row")
  note "row $((row + 1)): $keys"
  double_click_client "$APP_TITLE" "$HOTKEY_CELL_X" "$y"
  expect_within 10 "the editor opens over row $((row + 1))" editor_shows "$y" "${old_hotkeys[row]}"
  sleep 0.3  # Wine resyncs the key state after a focus change
  press "$keys"
  sleep 0.3  # the editor's key handlers pause between keys
  click_client "$APP_TITLE" "${TABLE_EMPTY_AREA[@]}"
done

note "save the rows to slot B"
click_client "$APP_TITLE" "${SAVE_B_CENTRE[@]}"
expect_within 10 "slot B's row settings are written" test -f "$APP_DIR/跳快数据B.txt"
printf '%s\r\n' "1★★★F6" "1★★★" "1★★★" "1★★★" "1★★★Ctrl+Shift+F5" |
  iconv -f UTF-8 -t GBK >"$E2E_ROOT/expected-rows.txt"
expect_same_bytes 5 "$E2E_ROOT/expected-rows.txt" "$APP_DIR/跳快数据B.txt"

note "load the hotkeys"
click_client "$APP_TITLE" "${LOAD_HOTKEYS_CENTRE[@]}"
expect_within 10 "the hotkeys are loaded" hotkeys_loaded
sleep 0.3  # the toggle's caption changes before the keys are registered
# RegisterHotKey's modifier flags: Ctrl 2, Shift 4.
expect_within 5 "Ctrl+Shift+F5 is registered" hotkey_is taken 6 0x74
hotkey_is free 2 0x56 || fail "Ctrl+V is taken from other programs"
hotkey_is free 2 0x43 || fail "Ctrl+C is taken from other programs"

stop_app
note "passed"
