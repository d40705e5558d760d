#!/usr/bin/env bash
# The paste target and the input helpers themselves: keys typed with xdotool
# after focus_target land in field 1, Tab moves on to field 2, the target logs
# the characters and the Tab it received, and focus_target brings the caret
# back to field 1.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

start_target "$E2E_ROOT/target.log"
focus_target
type_text "ab"
press Tab
type_text "c"
expect_within 10 "the fields hold 'ab' and 'c'" target_fields_are "ab" "c"

events() { awk '$2 == "char" || $2 == "key" { $1 = ""; print substr($0, 2) }' "$TARGET_LOG"; }
assert_eq $'char U+0061 1\nchar U+0062 1\nkey Tab 1\nchar U+0063 2' "$(events)" "events the target logged"

focus_target
type_text "d"
expect_within 10 "field 1 holds 'abd'" target_fields_are "abd" "c"

stop_target
assert_eq $'field 1 abd\nfield 2 c' "$(grep -E '^[0-9]+ field [12] ' "$TARGET_LOG" | cut -d' ' -f2-)" "final texts of fields 1 and 2"
note "passed"
