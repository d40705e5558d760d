#!/usr/bin/env bash
# 手动横向粘贴 under the real program: each press of the row's hotkey, while
# another program has the focus, pastes the current row and its Tab there and
# moves on; after the last row the first comes again. The hotkey is held by the
# program while loaded and is free for others once the program has closed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

new_app_dir
write_slot "$APP_DIR" A "alpha" "1★★★F6" "beta" "1★★★" "gamma" "1★★★"

start_app "$APP_DIR"
hotkey_is free 0 $VK_F6 || fail "F6 is taken before the slot's hotkeys are loaded"
open_slot A 3
hotkey_is taken 0 $VK_F6 || fail "F6 is free while the slot's hotkeys are loaded"

start_target "$E2E_ROOT/target.log"
focus_target_for_keys

# Each press lands in the field the previous Tab moved to: wait for that Tab.
expected=()
for entry in alpha beta gamma alpha; do
  expected+=("$entry")
  press F6
  expect_within 10 "press ${#expected[@]} leaves the fields as: ${expected[*]}" \
    target_fields_are "${expected[@]}"
  expect_within 10 "the Tab after '$entry' moves to field $((${#expected[@]} + 1))" \
    target_focus_is $((${#expected[@]} + 1))
done
assert_eq "$(repeat_text 4 '<Ctrl+V><Tab>')" "$(target_input)" "what the target received"

stop_app
expect_within 5 "F6 is free for other programs after the program closed" hotkey_is free 0 $VK_F6
note "passed"
