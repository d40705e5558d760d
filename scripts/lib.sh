# Shared steps of scripts/run and scripts/test: packages, a virtual display, Wine.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest libbenchmark-dev
  clang-format g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine32:i386 wine64 xvfb xdotool x11-utils
  imagemagick fonts-wqy-microhei python3 libstb-dev pkgconf
  libopencv-dev qemu-user-static)

# Installs whatever of PACKAGES is missing (needs root on a fresh Debian 12).
ensure_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  dpkg --print-foreign-architectures | grep -q i386 || dpkg --add-architecture i386
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Starts Xvfb on a free display number unless DISPLAY is already usable.
# Sets XVFB_PID when it started one.
start_xvfb() {
  XVFB_PID=
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=91
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  stop_xvfb
  return 1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}

# Some virtual machines cannot run 32-bit code at all (the kernel refuses to
# start 32-bit executables, Wine's 32-bit loader among them). There the
# Windows tests run as a 64-bit build of the same sources under Wine's 64-bit
# loader, and the 32-bit program runs under CPU emulation
# (scripts/emulate32.sh). HOTFILL_EMULATE_32BIT=1 treats a machine that runs
# 32-bit code as one that cannot, to try that path.
runs_32bit_code() {
  if [ "${HOTFILL_EMULATE_32BIT:-0}" = 1 ] && [ -z "${HOTFILL_EMULATED:-}" ]; then return 1; fi
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Sets WINDOWS_PRESET to the preset whose tests run here directly.
choose_windows_build() {
  [ -n "${WINDOWS_PRESET:-}" ] && return 0
  if runs_32bit_code; then
    WINDOWS_PRESET=win32
    return 0
  fi
  WINDOWS_PRESET=win64
  echo "This machine cannot run 32-bit programs: Windows tests use the 64-bit build," \
    "and the 32-bit program runs under CPU emulation." >&2
  # `wine` and the tools that call it (wineboot, ...) start the 64-bit loader.
  local shim="$ROOT/build/wine64-bin"
  mkdir -p "$shim"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
      >"$shim/$name"
    chmod +x "$shim/$name"
  done
  export PATH="$shim:$PATH"
}

# A Wine prefix of the project's own, made once and reused, warmed up so
# that tests do not wait for wineserver.
prepare_wine() {
  choose_windows_build
  export WINEPREFIX="${WINEPREFIX:-$ROOT/build/wineprefix-$WINDOWS_PRESET}"
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEDEBUG=-all
  # Wine maps file names through the locale's charset: without a UTF-8 locale
  # (a plain root login has no LANG) no file or folder with a Chinese name can
  # be created or opened. C.UTF-8 is always there on Debian.
  [ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    # No sound device here: keep Wine from complaining about ALSA.
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d '' /f >/dev/null 2>&1
    # Window captions in a font that has Chinese characters.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Tahoma /t REG_SZ \
      /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
    # Without a window manager, hiding a window otherwise stalls for about 2 s.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    # The services of a prefix's first boot stay half started (the first
    # out-of-process COM server then never answers): start them afresh.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  wineserver -p </dev/null >/dev/null 2>&1 || true  # fails when one already runs
  wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
}

stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
}
