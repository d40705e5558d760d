#!/usr/bin/env bash
# 自动账号强制粘贴 under the real program: one press types every row key by
# key into the focused field, with Shift exactly where a character needs it
# (a stuck Shift would turn the Tab into Shift+Tab), Tab after each row;
# characters no key types are left out, blanks at either end are trimmed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

new_app_dir
write_slot "$APP_DIR" A "Ab1!x" "1★★★F6" "Zz@9" "1★★★" "  p中q　" "1★★★"

start_app "$APP_DIR"
open_slot A 3
choose_paste_mode 7 自动账号强制粘贴
start_target "$E2E_ROOT/target.log"
focus_target_for_keys

press F6
expect_within 15 "the rows are typed" target_fields_are "Ab1!x" "Zz@9" "pq"
expect_within 5 "the Tab after the last row moves to field 4" target_focus_is 4
assert_eq "Ab1!x<Tab>Zz@9<Tab>pq<Tab>" "$(target_input)" "what the target received"

stop_target
stop_app
note "passed"
