#!/usr/bin/env bash
# The Word and Excel working modes under the real program, against the
# stand-in office application (hf_office_server, built beside the Windows
# tests) registered under the ProgIDs the program looks for. The stand-in
# logs every call it answers; each log is compared line by line with the
# calls the modes must make, in order, and its contents file shows where the
# captures went. Cases: Word captures, a Word the user closed, Excel
# captures along rows of two columns, the stand-in found under the other
# office suite's name, Excel pressed while it runs, and a document or
# workbook closed with Ctrl+W, a word processor that hangs in a paste while
# the back-quote key is pressed again and the focus moves on, and the
# program closed during a capture.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

SERVER_EXE=$(realpath "$(dirname "$PROBE_EXE")/../hf_office_server.exe")
[[ -f "$SERVER_EXE" ]] || fail "office server not found: $SERVER_EXE (build hf_office_server)"
WORD_CLSID="{7C277E33-0F47-4462-B674-4314E84BB661}"
SHEET_CLSID="{5F81FD39-44BB-4C5B-83D5-792BF46993E4}"
STANDIN_CLSID="{8A6149F6-B87E-43B0-83A9-50E059EA19E0}"
HANG_CLSID="{3D0C6A8E-5B1F-4C27-9E64-0F2A7B9D1C35}"
FAKE_WINDOW_CLASS=HotfillFakeOffice
WORD_CENTRE=(347 27)   # 按钮word at 330,15 34x24
EXCEL_CENTRE=(382 27)  # 按钮excel at 365,15 34x24
SEPARATOR_CENTRE=(41 90)         # 分割符 at 23,79 36x23
TARGET_FIELD2_CENTRE=(190 72)    # field 2 at 10,60 360x24
HANG_RELEASE=$E2E_ROOT/hang.release  # once it exists, the hung paste goes on

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# register PROGID CLSID word|sheet LOG [ARG...]: the stand-in answers for PROGID.
register() {
  probe register "$1" "$2" "$(windows_path "$SERVER_EXE")" "$3" "$2" "$(windows_path "$4")" \
    "${@:5}" || fail "cannot register $1"
}

unregister_all() {
  probe unregister Word.Application "$WORD_CLSID"
  probe unregister Excel.Application "$SHEET_CLSID"
  probe unregister KET.Application "$STANDIN_CLSID"
  probe unregister Word.Application "$HANG_CLSID"
}

office_cleanup() {
  touch "$HANG_RELEASE"
  probe close-class "$FAKE_WINDOW_CLASS" 10000 >/dev/null || true
  unregister_all || true
}
# The registrations and the stand-in's windows go before the usual cleanup,
# which still sees how the script ended.
cleanup_all() {
  local status=$?
  office_cleanup
  (exit "$status")
  e2e_cleanup
}
trap cleanup_all EXIT
unregister_all

# capture TEXT: types TEXT into the target's field 1 over what it holds,
# selects it and presses the back-quote key.
capture() {
  focus_target_for_keys
  press ctrl+Home ctrl+shift+End
  type_text "$1"
  press ctrl+Home ctrl+shift+End grave
}

# expect_lines SECONDS FILE WHAT LINE...: waits until FILE holds exactly these lines.
expect_lines() {
  local seconds=$1 file=$2 what=$3
  shift 3
  printf '%s\n' "$@" >"$file.expected"
  wait_for "$seconds" cmp -s "$file.expected" "$file" && return 0
  diff -u "$file.expected" "$file" >&2 || true
  fail "$what"
}
# expect_log LOG LINE...: the calls so far. The first start of a server in a
# new Wine prefix can take many seconds.
expect_log() {
  expect_lines 60 "$1" "the calls in $(basename "$1") differ from the expected ones" "${@:2}"
}
# expect_contents LOG LINE...: what the stand-in's documents hold.
expect_contents() {
  expect_lines 15 "$1.contents" "the documents of $(basename "$1") hold something else" "${@:2}"
}

tip_shown() { probe tips | grep -qxF "$1"; }

word_start=(create "get Documents" "call Add -> 文档1" "put Visible true")
# word_capture TEXT: the calls of one capture into Word.
word_capture() {
  WORD_CALLS=("get Selection" "call Paste -> \"$1\"" "get Selection" 'call TypeText "\r\n"')
}
excel_start=(create "get ActiveWorkbook -> nothing" "get Workbooks" "call Add -> 工作簿1"
  "get ActiveSheet" "put Visible true" 'get Range "A1"' 'call PasteSpecial -> "欢迎使用！"')
# used_size ROWS COLUMNS: the calls that read the used range's size.
used_size() {
  USED_CALLS=("get ActiveSheet" "get UsedRange" "get Rows" "get Count -> $1" "get Columns"
    "get Count -> $2")
}
# paste_at ADDRESS TEXT: the calls that paste into a cell.
paste_at() { PASTE_CALLS=("get Range \"$1\"" "call PasteSpecial -> \"$2\""); }

new_app_dir
start_target "$E2E_ROOT/target.log"
start_app "$APP_DIR"

note "Word: the button starts it with a new document, each capture is pasted and a line break typed"
word_log=$E2E_ROOT/word.log
register Word.Application "$WORD_CLSID" word "$word_log"
click_client "$APP_TITLE" "${WORD_CENTRE[@]}"
expected=("${word_start[@]}")
expect_log "$word_log" "${expected[@]}"
for text in alpha beta; do
  capture "$text"
  word_capture "$text"
  expected+=("${WORD_CALLS[@]}")
  expect_log "$word_log" "${expected[@]}"
done
expect_contents "$word_log" '文档1 "alpha\r\nbeta\r\n"'

note "Word closed by the user: the next capture starts it again with a new document"
probe close "假文字处理 - 文档1" 20000 || fail "the word processor's window did not close"
capture gamma
word_capture gamma
expected+=("user closes the application" "${word_start[@]}" "${WORD_CALLS[@]}")
expect_log "$word_log" "${expected[@]}"
expect_contents "$word_log" '文档1 "gamma\r\n"'

note "Word's document closed with Ctrl+W, Word still running"
activate "假文字处理 - 文档1"
press ctrl+w
expected+=("user closes 文档1")
expect_log "$word_log" "${expected[@]}"
capture delta
word_capture delta
expected+=("get Selection -> error 0x800A1098" "get Documents" "get Count -> 0" "get Documents"
  "call Add -> 文档2" "put Visible true" "${WORD_CALLS[@]}")
expect_log "$word_log" "${expected[@]}"
expect_within 10 "a hint says a new document took the capture" \
  tip_shown "●Word中的文档已关闭，已新建文档！"
in_new_document() { grep -qxF '文档2 "delta\r\n"' "$word_log.contents"; }
expect_within 15 "the capture went into a new document" in_new_document

note "Excel: the greeting in A1, then captures along rows of two columns below the used range"
sheet_log=$E2E_ROOT/sheet.log
register Excel.Application "$SHEET_CLSID" sheet "$sheet_log"
activate "$APP_TITLE"
click_client "$APP_TITLE" "${EXCEL_CENTRE[@]}"
expected=("${excel_start[@]}")
expect_log "$sheet_log" "${expected[@]}"
capture a
used_size 1 1
paste_at A2 a
expected+=("${USED_CALLS[@]}" "${PASTE_CALLS[@]}")
expect_log "$sheet_log" "${expected[@]}"
capture b
paste_at B2 b
expected+=("${PASTE_CALLS[@]}")
expect_log "$sheet_log" "${expected[@]}"
capture c
used_size 2 2
paste_at A3 c
expected+=("${USED_CALLS[@]}" "${PASTE_CALLS[@]}")
expect_log "$sheet_log" "${expected[@]}"
expect_contents "$sheet_log" '工作簿1 Sheet1 A1 "欢迎使用！"' '工作簿1 Sheet1 A2 "a"' \
  '工作簿1 Sheet1 B2 "b"' '工作簿1 Sheet1 A3 "c"'

note "Excel's workbook closed with Ctrl+W, Excel still running"
activate "假表格 - 工作簿1"
press ctrl+w
expected+=("user closes 工作簿1")
expect_log "$sheet_log" "${expected[@]}"
capture d
used_size 1 1
paste_at A2 d
# B3 was next, the second column of the row c started; the new workbook starts a row.
expected+=('get Range "B3" -> error 0x800A03EC' "get Workbooks" "get Count -> 0"
  "get ActiveWorkbook -> nothing" "get Workbooks" "call Add -> 工作簿2" "get ActiveSheet"
  "put Visible true" "${USED_CALLS[@]}" "${PASTE_CALLS[@]}")
expect_log "$sheet_log" "${expected[@]}"
in_new_workbook() { grep -qxF '工作簿2 Sheet1 A2 "d"' "$sheet_log.contents"; }
expect_within 15 "the capture went into a new workbook" in_new_workbook
probe close-class "$FAKE_WINDOW_CLASS" 20000 >/dev/null || fail "the stand-in windows did not close"

note "Excel missing, the other suite's spreadsheet answers: the same calls and a hint naming it"
probe unregister Excel.Application "$SHEET_CLSID"
standin_log=$E2E_ROOT/standin.log
register KET.Application "$STANDIN_CLSID" sheet "$standin_log"
activate "$APP_TITLE"
click_client "$APP_TITLE" "${EXCEL_CENTRE[@]}"
expect_within 10 "the hint names the stand-in" tip_shown "●未找到Excel，已启动WPS表格！"
expected=("${excel_start[@]}")
expect_log "$standin_log" "${expected[@]}"
capture e
used_size 1 1
paste_at A2 e
expected+=("${USED_CALLS[@]}" "${PASTE_CALLS[@]}")
expect_log "$standin_log" "${expected[@]}"

note "Excel pressed again while it runs: a sheet in the open workbook, then a workbook of its own"
activate "$APP_TITLE"
click_client "$APP_TITLE" "${EXCEL_CENTRE[@]}"
expected+=(create "get ActiveWorkbook" "get Sheets" "call Add -> Sheet2" "get Workbooks"
  "call Add -> 工作簿2" "get ActiveSheet" "put Visible true" 'get Range "A1"'
  'call PasteSpecial -> "欢迎使用！"')
expect_log "$standin_log" "${expected[@]}"
expect_contents "$standin_log" '工作簿1 Sheet1 A1 "欢迎使用！"' '工作簿1 Sheet1 A2 "e"' \
  '工作簿2 Sheet1 A1 "欢迎使用！"'

note "Word hangs in a paste; two more presses and a move to another field: a hint in seconds, nothing sent later"
hang_log=$E2E_ROOT/hang.log
rm -f "$HANG_RELEASE"
register Word.Application "$HANG_CLSID" word "$hang_log" hang-paste "$(windows_path "$HANG_RELEASE")"
activate "$APP_TITLE"
click_client "$APP_TITLE" "${WORD_CENTRE[@]}"
expect_log "$hang_log" "${word_start[@]}"
copies() { grep -c ' char U+0003 ' "$TARGET_LOG" || true; }
copies_before=$(copies)
capture hung
press grave grave
pressed_at=$(now_ms)
expect_log "$hang_log" "${word_start[@]}" "get Selection" "hangs in a paste"
# The main window answers a click while the paste hangs.
click_client "$APP_TITLE" "${SEPARATOR_CENTRE[@]}"
expect_within 2 "the main window answers a click during the hang" tip_shown "●输入自定义分割字符！"
activate "$TARGET_TITLE"
click_client "$TARGET_TITLE" "${TARGET_FIELD2_CENTRE[@]}"
expect_within 8 "a hint says the word processor did not answer" \
  tip_shown "●Word没有响应，内容仍在剪贴板！"
(($(now_ms) - pressed_at < 8000)) || fail "the hint came $(($(now_ms) - pressed_at)) ms after the presses"
expect_within 5 "a hint says the waiting press was dropped" \
  tip_shown "●上一次复制还未完成，这次按键未执行！"
touch "$HANG_RELEASE"  # the word processor answers at last
expect_log "$hang_log" "${word_start[@]}" "get Selection" "hangs in a paste" 'call Paste -> "hung"'
sleep 3
expect_log "$hang_log" "${word_start[@]}" "get Selection" "hangs in a paste" 'call Paste -> "hung"'
assert_eq $((copies_before + 1)) "$(copies)" "Ctrl+C the target received"
probe close-class "$FAKE_WINDOW_CLASS" 20000 >/dev/null || fail "the stand-in windows did not close"

note "The window closed during a capture: nothing more reaches the word processor"
closing_log=$E2E_ROOT/closing.log
register Word.Application "$WORD_CLSID" word "$closing_log"
activate "$APP_TITLE"
click_client "$APP_TITLE" "${WORD_CENTRE[@]}"
expect_log "$closing_log" "${word_start[@]}"
choose_interval 25 1000  # the paste would follow the copy by three seconds
capture f
sleep 0.5
stop_app
expect_log "$closing_log" "${word_start[@]}"

stop_target
note "passed"
