# Shared by the project's scripts: paths, the Wine prefix and a display.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
native_build="$top/build/native"

# True when the kernel runs 32-bit programs: a 93-byte 32-bit program that
# only exits. Some virtual machines' kernels run none, and there the Windows
# programs are built and tested as 64-bit under Wine's 64-bit loader.
runs_32bit_code() {
  local probe rc=0
  # Not under /tmp, which may forbid running programs.
  mkdir -p "$top/build"
  probe=$(mktemp -p "$top/build")
  printf '%b' '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00' \
    '\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
    '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || rc=1
  rm -f "$probe"
  return $rc
}
# The program ships 32-bit from build/win; the tests run the build of win_arch
# in win_build.
if runs_32bit_code; then
  win_arch=i686
  win_build="$top/build/win"
  export WINEARCH=win32
else
  win_arch=x86_64
  win_build="$top/build/win64"
  export WINEARCH=win64
fi
export WINEPREFIX="${BRISA_WINEPREFIX:-$top/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Starts a private Xvfb (1600x900x24, or the WIDTHxHEIGHT given) on a free
# display when no display is set; it is stopped when the script exits.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local size=${1:-1600x900}
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  local number
  read -r -t 10 number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$number" ]; then echo "Xvfb did not start" >&2; return 1; fi
  export DISPLAY=":$number"
}

# Makes the 32-bit prefix once; later runs reuse it. The skin's face
# "Microsoft YaHei" is drawn with WenQuanYi Micro Hei, which covers Latin,
# Cyrillic and CJK.
ensure_wineprefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w 2>/dev/null || true
  fi
  # A machine that runs no 32-bit code makes no prefix; say so once here
  # rather than failing every test.
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Wine made no 32-bit prefix in $WINEPREFIX: this machine may not run 32-bit programs" \
      "(try: /lib/ld-linux.so.2 --version)" >&2
    return 1
  fi
  if ! grep -q '"Microsoft YaHei"="WenQuanYi Micro Hei"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft YaHei' /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1 || true
    wineserver -w
  fi
  match_window_manager
}

# With no window manager on the display (the private Xvfb), Wine waits two
# seconds for every top-level window it hides; its windows are left
# unmanaged there, and managed again on a desktop with one.
match_window_manager() {
  local want=Y have
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || want=N
  have=$(awk '/^\[Software\\\\Wine\\\\X11 Driver\]/ {s = 1; next} /^\[/ {s = 0} s && /^"Managed"=/ {print substr($0, 12, 1)}' \
    "$WINEPREFIX/user.reg" 2>/dev/null)
  if [ "$have" != "$want" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$want" /f >/dev/null 2>&1 || true
    wineserver -w
  fi
}

configure_win() {
  cmake -S "$top" -B "$win_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-$win_arch.cmake" "$@" >/dev/null
}

# The shipped program is 32-bit whatever the machine runs: build/win/BrisaDSP.exe.
build_shipped_program() {
  win_arch=i686 win_build="$top/build/win" configure_win "$@"
  cmake --build "$top/build/win" --target BrisaDSP
}

configure_native() {
  cmake -S "$top" -B "$native_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISA_NATIVE=ON \
    -DBRISA_WIN_BUILD="$win_build" "$@" >/dev/null
}
