#!/usr/bin/env bash
# Runs a command in which Wine runs 32-bit Windows programs under CPU
# emulation, for machines that cannot run 32-bit code:
#
#   scripts/emulate32.sh COMMAND [ARGS...]
#
# The command runs in a private user and mount namespace whose own
# binfmt_misc hands every 32-bit x86 executable to qemu-user (kernels since
# 6.7 give each user namespace its own binfmt_misc: nothing changes for the
# rest of the machine). Every Wine process of the command starts inside, and
# the namespace lives until the last of them has ended. Wine uses a prefix of
# its own there (build/wineprefix-win32-emulated), warmed up before the
# command and with its wineserver ended after it: a process that crashes
# under the emulator leaves a debugger hanging that would otherwise keep the
# wineserver alive.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PRELOAD_NAME=libhf_noreplace.so
PRELOAD_DIR=$ROOT/build/emulate32

# The preload library for 32-bit processes, and an empty one of the same name
# for 64-bit processes, which see the same LD_PRELOAD. ld.so expands $LIB to
# the folder of the process's own libraries (lib/i386-linux-gnu, ...).
build_preload() {
  local source=$ROOT/scripts/noreplace_preload.c
  local lib32=$PRELOAD_DIR/lib/$(gcc -m32 -print-multiarch)/$PRELOAD_NAME
  local lib64=$PRELOAD_DIR/lib/$(gcc -print-multiarch)/$PRELOAD_NAME
  if [ ! -f "$lib32" ] || [ "$source" -nt "$lib32" ]; then
    mkdir -p "$(dirname "$lib32")"
    gcc -m32 -nostdlib -shared -fPIC -O2 -fno-stack-protector -Wall -Wextra -Werror \
      -o "$lib32" "$source"
  fi
  if [ ! -f "$lib64" ]; then
    mkdir -p "$(dirname "$lib64")"
    gcc -nostdlib -shared -o "$lib64" -x c /dev/null
  fi
}

# Hands 32-bit x86 executables (ELF class 32, machine 386, executable or
# shared object) to qemu. F opens the emulator now, so it is found from any
# mount namespace and any root.
register_emulator() {
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf '%s' ":hotfill-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" \
    >/proc/sys/fs/binfmt_misc/register
}

if [ "${1:-}" != --inside ]; then
  [ $# -gt 0 ] || {
    echo "usage: $0 COMMAND [ARGS...]" >&2
    exit 2
  }
  build_preload
  exec unshare --user --map-root-user --mount --fork "$0" --inside "$@"
fi
shift
set +e  # from here on, the command's own status is what counts

register_emulator || {
  echo "$0: cannot register the emulator (it needs Linux 6.7 or later)" >&2
  exit 1
}
export LD_PRELOAD="$PRELOAD_DIR/\$LIB/$PRELOAD_NAME${LD_PRELOAD:+ $LD_PRELOAD}"
# Whatever the caller chose for its own Wine runs does not hold here: Wine's
# own launcher picks the 32-bit loader for 32-bit programs.
PATH=$(tr ':' '\n' <<<"$PATH" | grep -vx "$ROOT/build/wine64-bin" | paste -sd:)
unset WINELOADER WINDOWS_PRESET
export WINEPREFIX=$ROOT/build/wineprefix-win32-emulated
# The end-to-end tests' deadlines: emulated programs take up to 3 times as long.
export E2E_TIME_SCALE=3
export HOTFILL_EMULATED=1

source "$ROOT/scripts/lib.sh"
fresh_prefix=0
[ -f "$WINEPREFIX/system.reg" ] || fresh_prefix=1
prepare_wine
if [ "$fresh_prefix" = 1 ]; then
  # No debugger for crashed programs: under the emulator it hangs, and keeps
  # the crashed program's test waiting until its time limit.
  for view in 32 64; do
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
      /f /reg:$view >/dev/null 2>&1
  done
fi
"$@"
status=$?
stop_wine
exit "$status"
