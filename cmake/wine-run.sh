#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest. Its output goes through a file,
# not a pipe: Wine's background services inherit the pipe and would keep CTest
# waiting long after the program has ended.
out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
status=$?
cat "$out"
rm -f "$out"
exit $status
