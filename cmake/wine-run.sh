#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest. Its output goes through a file,
# not a pipe: Wine's background services inherit the pipe and would keep CTest
# waiting long after the program has ended.
#
# Now and then Wine fails to start a program at all: it exits at once with an
# error and without a word from the program. Only then is the program started
# once more; a program that ran and failed is never run again.
run_once() {
  out=$(mktemp)
  wine "$@" >"$out" 2>&1 </dev/null
  status=$?
}
run_once "$@"
if [ "$status" -ne 0 ] && [ ! -s "$out" ]; then
  rm -f "$out"
  echo "Wine ended with $status before the program printed anything: starting it once more"
  run_once "$@"
fi
cat "$out"
rm -f "$out"
exit $status
