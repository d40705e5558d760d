#!/usr/bin/env bash
# Entries coming in: a text file dragged from another program onto the data
# table is split by the chosen import mode, and text selected in another
# program is captured with the back-quote key. The rows are checked through
# the slot files that 保存B and 保存C write.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

IMPORT_MODE_CENTRE=(99 54)  # 导入方式 at 23,44 152x20
SEPARATOR_CENTRE=(41 90)    # 分割符 at 23,79 36x23
TABLE_CENTRE=(227 272)      # 超级列表框1 at 14,109 426x326

# slot_saves_as LETTER ENTRIES: clicks 保存<LETTER> (253,442 34x23, one every
# 36 units) and checks its entries file byte for byte against ENTRIES in GBK.
slot_saves_as() {
  local index=$(($(printf '%d' "'$1") - 65))
  to_gbk "$2" >"$E2E_ROOT/expected-$1.txt"
  click_client "$APP_TITLE" $((253 + 36 * index + 17)) 453
  expect_same_bytes 10 "$E2E_ROOT/expected-$1.txt" "$APP_DIR/保存$1.txt"
}

new_app_dir
start_app "$APP_DIR"

note "a file dropped on the table in 空格分割录入"
choose "import mode" "${IMPORT_MODE_CENTRE[@]}" 5 "空格分割录入"
to_gbk $'甲 乙\r\n丙  丁' >"$E2E_ROOT/words.txt"
drop_point=$(probe point "$APP_TITLE" "${TABLE_CENTRE[@]}")
read -r drop_x drop_y <<<"$drop_point"
wine "$(dirname "$PROBE_EXE")/e2e_dragfiles.exe" "$drop_x" "$drop_y" "Z:$E2E_ROOT/words.txt" \
  </dev/null >>"$E2E_ROOT/wine.log" 2>&1 || fail "the table refused the dropped file"
expect_within 10 "the dropped words are four rows" rows_shown 4
slot_saves_as B "甲★乙★丙★丁★"

note "a selection captured with the back-quote key in 自定义分割符录入"
choose "import mode" "${IMPORT_MODE_CENTRE[@]}" 1 "自定义分割符录入"
click_client "$APP_TITLE" "${SEPARATOR_CENTRE[@]}"
type_text ","
start_target "$E2E_ROOT/target.log"
focus_target_for_keys
type_text "red,green,blue"
expect_within 10 "the target's field holds the text" target_fields_are "red,green,blue"
press ctrl+Home ctrl+shift+End grave
expect_within 10 "the captured text is three more rows" rows_shown 7
slot_saves_as C "甲★乙★丙★丁★red★green★blue★"
note "passed"
