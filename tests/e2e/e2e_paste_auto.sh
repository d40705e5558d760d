#!/usr/bin/env bash
# 自动横向粘贴 under the real program: one press pastes rows with their Tabs
# until a row marked 暂停, the next press goes on to the end of the table. A
# press during a run stops it after the row in progress, and a later press
# resumes at the next row: every row arrives once, whole, in order.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

new_app_dir
write_slot "$APP_DIR" A "r1" "1★★★F6" "r2" "1★暂停★★" "r3" "1★★★" "r4" "1★★★" "r5" "1★★★"
# No Tab but an Enter, which the target ignores: every row lands in field 1,
# so the field shows the order and completeness of the rows.
write_numbered_slot "$APP_DIR" B 's%02g' 20 "★★回车★F6" "★★回车★"
long_rows=("${NUMBERED_ROWS[@]}")

start_app "$APP_DIR"
open_slot A 5
choose_paste_mode 1 自动横向粘贴
start_target "$E2E_ROOT/target.log"
focus_target_for_keys

note "a run stops after the 暂停 row"
press F6
expect_within 10 "the first run fills r1 r2" target_fields_are r1 r2
expect_within 5 "the Tab after r2 moves to field 3" target_focus_is 3
sleep 0.5  # several intervals: time enough for a run that did not stop to paste r3
target_fields_are r1 r2 || fail "the run went on after the 暂停 row: $(target_fields | tr '\n' '|')"

note "the next press goes on to the end"
press F6
expect_within 10 "the second run fills r3 r4 r5" target_fields_are r1 r2 r3 r4 r5
expect_within 5 "the Tab after r5 wraps to field 1" target_focus_is 1
assert_eq "$(repeat_text 5 '<Ctrl+V><Tab>')" "$(target_input)" "what the target received"
stop_target

note "a press during a run stops it after the row in progress"
open_slot B 20
choose_interval 17 200
start_target "$E2E_ROOT/target-long.log"
focus_target_for_keys
rows_received() { target_input | grep -o '<Enter>' | wc -l; }
rows_received_reach() { (($(rows_received) >= $1)); }
rows_joined() { local IFS=; echo "${long_rows[*]:0:$1}"; }
press F6
expect_within 10 "the run pastes s01 and s02" rows_received_reach 2
press F6
# A row takes over 600 ms at this interval: a quiet second and a half means
# the run has ended.
expect_within 20 "the run ends" target_quiet_for 1500
stopped_after=$(rows_received)
note "stopped after $stopped_after rows"
((stopped_after < 20)) || fail "the second press did not stop the run"
assert_eq "$(repeat_text "$stopped_after" '<Ctrl+V><Enter>')" "$(target_input)" \
  "what the target received before the stop (whole rows only)"
assert_eq "$(rows_joined "$stopped_after")" "$(target_fields | head -n 1)" "field 1 after the stop"

note "the next press resumes at the next row"
press F6
expect_within 30 "the resumed run pastes the remaining rows" rows_received_reach 20
expect_within 20 "the run ends" target_quiet_for 1500
assert_eq "$(repeat_text 20 '<Ctrl+V><Enter>')" "$(target_input)" "what the target received in all"
target_fields_are "$(rows_joined 20)" || fail "the fields at the end: $(target_fields | tr '\n' '|')"

stop_target
stop_app
note "passed"
