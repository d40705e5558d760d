#!/usr/bin/env bash
# A hurried user under the real program: the hotkey's Shift is still held when
# the delivery starts (the Tab must still go forward), a hotkey held down
# pastes once, and closing the program during a slow run sends nothing more.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

new_app_dir
write_slot "$APP_DIR" A "alpha" "1★★★Shift+F6" "beta" "1★★★" "gamma" "1★★★" "delta" "1★★★"
write_numbered_slot "$APP_DIR" B 'w%02g' 10 "1★★★F7" "1★★★"

start_app "$APP_DIR"
open_slot A 4
start_target "$E2E_ROOT/target.log"
focus_target_for_keys

# hold_shift_and_press SECONDS: Shift+F6, with Shift let go SECONDS after F6.
hold_shift_and_press() {
  focus_foreground
  xdotool keydown shift key F6
  sleep "$1"
  xdotool keyup shift
}

note "Shift let go shortly after the press"
hold_shift_and_press 0.2
expect_within 10 "alpha lands in field 1" target_fields_are alpha
expect_within 5 "the Tab after alpha goes forward to field 2" target_focus_is 2

note "Shift held through the whole delivery"
hold_shift_and_press 1.5
expect_within 10 "beta lands in field 2" target_fields_are alpha beta
expect_within 5 "the Tab after beta goes forward to field 3" target_focus_is 3
assert_eq "$(repeat_text 2 '<Ctrl+V><Tab>')" "$(target_input)" "what the target received"

note "a hotkey held down pastes once"
sleep 0.3  # Wine's key state resync after Shift's release
focus_foreground
xdotool keydown shift keydown F6
sleep 1.5
xdotool keyup F6 keyup shift
expect_within 10 "gamma lands in field 3" target_fields_are alpha beta gamma
sleep 1
target_fields_are alpha beta gamma || fail "a held hotkey pasted more: $(target_fields | tr '\n' '|')"
stop_target

note "closing the program during a slow run"
open_slot B 10
choose_paste_mode 1 自动横向粘贴
choose_interval 25 1000
start_target "$E2E_ROOT/target-slow.log"
focus_target_for_keys
press F7
expect_within 20 "the run pastes w01" target_fields_are w01
probe close "$APP_TITLE" 20000 || fail "main window did not close"
received=$(target_input)
expect_within 20 "program process $APP_PID ended after its window closed" process_ended "$APP_PID"
sleep 3  # three intervals: time enough for a run that went on to paste again
assert_eq "$received" "$(target_input)" "what the target received after the close"
target_fields_are w01 || fail "the fields after the close: $(target_fields | tr '\n' '|')"
stop_target
note "passed"
