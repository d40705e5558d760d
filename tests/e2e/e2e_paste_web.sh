#!/usr/bin/env bash
# 网页强制粘贴 under the real program: each press posts the current row's
# characters to the field under the pointer at that moment, whatever field
# has the focus, and Chinese text arrives intact; the row's Tab still goes to
# the focused field.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

FIELD3_CENTRE=(190 122)  # field 3 at 10,110 360x24

new_app_dir
write_slot "$APP_DIR" A "你好世界" "1★★★F6" "第二行" "1★★★"

start_app "$APP_DIR"
open_slot A 2
choose_paste_mode 8 网页强制粘贴
start_target "$E2E_ROOT/target.log"
focus_target_for_keys  # leaves the pointer over field 1

press F6
expect_within 10 "the first row reaches field 1" target_fields_are "你好世界"
expect_within 5 "the Tab after it moves to field 2" target_focus_is 2

point_at "$TARGET_TITLE" "${FIELD3_CENTRE[@]}"
press F6
expect_within 10 "the second row reaches field 3, under the pointer" \
  target_fields_are "你好世界" "" "第二行"
expect_within 5 "the Tab after it moves from field 2 to field 3" target_focus_is 3
assert_eq "你好世界<Tab>第二行<Tab>" "$(target_input)" "what the target received"

stop_target
stop_app
note "passed"
