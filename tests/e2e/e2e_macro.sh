#!/usr/bin/env bash
# The macro recorder under the real program: clicks and typed keys on the
# target are recorded through the input hooks, saved to slot 1 by the stop,
# loaded again after the recorder was switched off and on, and replayed twice
# into a fresh target, which receives the same input twice.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

# Client centres (96-DPI units) of the macro panel's controls.
SWITCH_CENTRE=(245 559)   # 按钮5 at 203,548 84x22
SLOT1_CENTRE=(424 489)    # 选择框94 at 418,483 12x12
PASSES_CENTRE=(256 526)   # 组合框64 at 221,516 70x20

new_app_dir
{
  to_gbk "[编辑框内容]"$'\r\n'
  to_gbk "记录=F9"$'\r\n'
  to_gbk "模拟=F10"$'\r\n'
  to_gbk "停止=F11"$'\r\n'
} >"$APP_DIR/zira热键配置.ini"
start_app "$APP_DIR"

switch_reads() { [[ "$(app_text_at "${SWITCH_CENTRE[@]}")" == "$1" ]]; }

note "switch the recorder on (slot 1 is ticked at start)"
click_client "$APP_TITLE" "${SWITCH_CENTRE[@]}"
expect_within 10 "the switch reads 关zira" switch_reads 关zira

note "record a click and typed keys on the target"
start_target "$E2E_ROOT/target1.log"
focus_target_for_keys
press F9
sleep 0.5
click_client "$TARGET_TITLE" "${TARGET_FIELD1_CENTRE[@]}"
sleep 0.3
type_text "ab"
press Tab
type_text "c"
sleep 0.3
press F9
expect_within 10 "slot 1 saved" test -s "$APP_DIR/数据1.txt"
recorded=$(iconv -f GBK -t UTF-8 "$APP_DIR/数据1.txt" | tr -d '\r' | sed 's/←→/|/g')
note "recorded: $(tr '\n' '|' <<<"$recorded")"
for step in 左键按下 左键放开 '按键|A|65' '按键|B|66' '按键|Tab|9' '按键|C|67'; do
  grep -q "$step" <<<"$recorded" || fail "the slot file lacks the step $step"
done
grep -q "F9\|120" <<<"$recorded" && fail "the record hotkey was recorded"
stop_target
first_input=$(target_input)
note "the first target received: $first_input"

note "switch off and on, load slot 1, two passes"
activate "$APP_TITLE"
click_client "$APP_TITLE" "${SWITCH_CENTRE[@]}"
expect_within 10 "the switch reads 开zira" switch_reads 开zira
# At once: the system takes it for a double click on the coloured button.
click_client "$APP_TITLE" "${SWITCH_CENTRE[@]}"
expect_within 10 "the switch reads 关zira" switch_reads 关zira
click_client "$APP_TITLE" "${SLOT1_CENTRE[@]}"  # untick
click_client "$APP_TITLE" "${SLOT1_CENTRE[@]}"  # tick: loads the slot
choose "passes" "${PASSES_CENTRE[@]}" 1 2

note "replay into a fresh target"
start_target "$E2E_ROOT/target2.log"
focus_target_for_keys
press F10
expected=$(repeat_text 2 "$first_input")
replayed() { [[ "$(target_input)" == "$expected" ]]; }
expect_within 20 "the target received the recorded input twice" replayed
stop_target
stop_app
note "passed"
