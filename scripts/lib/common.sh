# Shared steps of scripts/run, scripts/test, scripts/bench and scripts/screenshots.
# Source it; it defines functions only.

ZVX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
ZVX_WINE_ROOT="${ZVX_WINE_ROOT:-$ZVX_ROOT/build/wine}"

# Debian packages the build and the tests need. wine32 is the i386 package.
ZVX_PACKAGES=(cmake make g++ g++-mingw-w64-i686 binutils-mingw-w64-i686
              wine wine32:i386 fonts-wine xvfb xauth x11-utils xdotool doctest-dev
              zip git)

zvx_log() { printf '== %s\n' "$*" >&2; }

# Installs whatever of the package list (and of the extra arguments) is missing.
zvx_install_packages() {
  local wanted=("${ZVX_PACKAGES[@]}" "$@") missing=() p
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    zvx_ensure_i386
    return
  fi
  zvx_log "installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "zvx: these Debian packages are missing and installing them needs root: ${missing[*]}" >&2
    return 1
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  zvx_ensure_i386
}

# Wine runs the program as 32-bit x86 code. Some virtual machines cannot run
# 32-bit code at all (the kernel refuses 32-bit ELF files with "Exec format
# error", and a 64-bit process cannot enter a 32-bit code segment either).
# There every 32-bit process runs under qemu's user-mode emulator, which the
# kernel starts for it through binfmt_misc. Debian 12's qemu 7.2 crashes in
# Wine's start-up; Debian 13's qemu 10 runs the whole test suite, and its
# binary is static, so it is taken from its package as it is.
ZVX_QEMU_I386=/usr/local/lib/zonarium/qemu-i386
zvx_ensure_i386() {
  /usr/lib/wine/wine --version >/dev/null 2>&1 && return 0
  zvx_log "this machine cannot run 32-bit x86 code: running Wine under qemu-i386"
  if [ "$(id -u)" -ne 0 ]; then
    echo "zvx: emulating 32-bit x86 code needs root (binfmt_misc)" >&2
    return 1
  fi
  if [ ! -x "$ZVX_QEMU_I386" ]; then
    local work
    work="$(mktemp -d)"
    # A private package list, so that the system's apt sources stay as they are.
    mkdir -p "$work/lists/partial" "$work/archives/partial"
    echo "deb [arch=amd64] http://deb.debian.org/debian trixie main" >"$work/sources.list"
    local apt_private=(-o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
                       -o Dir::State::Lists="$work/lists" -o Dir::Cache::Archives="$work/archives"
                       -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache= -o APT::Architectures::=amd64
                       -o APT::Sandbox::User=root)
    apt-get "${apt_private[@]}" update -qq
    (cd "$work" && apt-get "${apt_private[@]}" download -qq qemu-user:amd64)
    dpkg -x "$work"/qemu-user_*.deb "$work/root"
    install -D -m 0755 "$work/root/usr/bin/qemu-i386" "$ZVX_QEMU_I386"
    rm -rf "$work"
  fi
  [ -e /proc/sys/fs/binfmt_misc/register ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  [ -e /proc/sys/fs/binfmt_misc/zonarium-i386 ] && echo -1 >/proc/sys/fs/binfmt_misc/zonarium-i386
  # 32-bit little-endian x86 executables and shared objects; F opens the
  # emulator now, so that it serves every process and mount namespace.
  printf '%s' ':zonarium-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$ZVX_QEMU_I386"':POCF' \
    >/proc/sys/fs/binfmt_misc/register
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "zvx: Wine's 32-bit loader does not start, not even under qemu-i386" >&2
    return 1
  fi
}

zvx_wine_env() {
  export WINEARCH=win32
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Wine copies its system files into every prefix, about 590 MB each. The
# project's prefixes share them instead: each is made from one base prefix,
# with Wine's files that never change (libraries, programs, drivers, fonts,
# code pages, the style) hard-linked and everything else copied, so that the
# registry (*.reg), the .ini files and whatever a test writes stay each
# prefix's own.
ZVX_SHARED_FILES='.*\.\(dll\|exe\|drv\|sys\|vxd\|ocx\|cpl\|acm\|ax\|ds\|tlb\|nls\|fon\|ttf\|msstyles\|manifest\)'

# The base prefix: Wine's defaults and its fonts, never run in by itself.
zvx_make_base_prefix() {
  local base="$ZVX_WINE_ROOT/base"
  [ -f "$base/.zvx-ready" ] && return 0
  zvx_wine_env
  zvx_log "creating the base Wine prefix $base"
  rm -rf "$base"
  mkdir -p "$base"
  (
    export WINEPREFIX="$base"
    wineboot -i </dev/null >/dev/null 2>&1
    # Debian's Wine registers its own fonts ("MS Sans Serif" among them) in
    # the prefix's registry but does not find their files, so dialogs would
    # fall back to a wider font and lose their designed size.
    cp -n /usr/share/wine/fonts/* "$base/drive_c/windows/Fonts/" 2>/dev/null || true
    # The registry is on disk only once the server has ended.
    wineserver -w
  ) >/dev/null 2>&1 </dev/null
  touch "$base/.zvx-ready"
}

# zvx_make_prefix LOOK: creates the Wine prefix of one desktop look on first use.
#   classic  - a fresh prefix: no "Control Panel\Appearance" key, so the
#              buttons choose the classic look
#   styled   - an appearance scheme other than "Windows Standard": visual styles
#   unstyled - the same scheme, but visual styles switched off in Wine, so
#              OpenThemeData fails
#   hostile  - a fresh prefix like classic, whose tests write malformed
#              registry values themselves and remove them again
#   desktop  - the prefix scripts/run starts the program in: Wine's defaults
#   bench    - as classic, for scripts/bench alone, so that benchmarks and test
#              runs never share (or stop) each other's wineserver
#   screens-classic, screens-styled - as classic and styled, for scripts/screenshots
# The test prefixes hand web and mail addresses to tests/support/shell-log
# instead of a real browser or mail program, and have the crash dialog off.
zvx_make_prefix() {
  local look="$1"
  local prefix="$ZVX_WINE_ROOT/$look"
  [ -f "$prefix/.zvx-ready" ] && return 0
  zvx_make_base_prefix
  zvx_wine_env
  zvx_log "creating Wine prefix $prefix"
  rm -rf "$prefix"
  cp -al "$ZVX_WINE_ROOT/base" "$prefix"
  rm -f "$prefix/.zvx-ready"
  find "$prefix" -type f ! -iregex "$ZVX_SHARED_FILES" -exec sh -c \
    'for f; do cp -p "$f" "$f.own" && mv -f "$f.own" "$f"; done' sh {} +
  (
    export WINEPREFIX="$prefix"
    local logger="$ZVX_ROOT/tests/support/shell-log"
    if [ "$look" != desktop ]; then
      # Xvfb has no window manager: Wine then draws the window frames itself.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
      wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d "$logger" /f
      wine reg add 'HKCU\Software\Wine\WineBrowser' /v Mailers /t REG_SZ /d "$logger" /f
    fi
    case "$look" in
      desktop) ;;
      classic|bench|screens-classic) ;;
      hostile) ;;
      styled|screens-styled)
        wine reg add 'HKCU\Control Panel\Appearance' /v Current /t REG_SZ /d 'Zonarium Slate' /f ;;
      unstyled)
        wine reg add 'HKCU\Control Panel\Appearance' /v Current /t REG_SZ /d 'Zonarium Slate' /f
        wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d 0 /f
        wine reg copy 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager\Control Panel\Colors' 'HKCU\Control Panel\Colors' /f ;;
      *) echo "zvx: unknown look $look" >&2; exit 1 ;;
    esac
    wineserver -w
  ) >/dev/null 2>&1 </dev/null
  touch "$prefix/.zvx-ready"
}

# Starts a persistent wineserver and Wine's services for a prefix with their
# output detached, so that ctest does not wait on pipes they inherited.
# The desktop process (explorer.exe /desktop) is one of them: the first program
# that needs it starts it with that program's output, and it ends a moment
# after the last other program of the prefix. Started by a test, it would keep
# that test's output pipe, and ctest, waiting while other tests of the prefix
# run. So a command interpreter that reads its commands from a FIFO starts
# the services and the desktop, and then stays, waiting for more, as a user
# of the desktop until the server is stopped.
zvx_start_wine() {
  local prefix="$ZVX_WINE_ROOT/$1"
  local keeper="$prefix/.zvx-keeper" ready="$prefix/.zvx-desktop-ready" i
  zvx_wine_env
  WINEPREFIX="$prefix" wineserver -p </dev/null >/dev/null 2>&1 || true  # already running
  rm -f "$keeper" "$ready"
  mkfifo "$keeper"
  WINEPREFIX="$prefix" wine cmd.exe /q <>"$keeper" >/dev/null 2>&1 &
  # One line: the interpreter cannot put back what it read past a line's end.
  printf 'wineboot -i & echo.>"Z:%s"\r\n' "${ready//\//\\}" >"$keeper"
  for i in $(seq 600); do [ -e "$ready" ] && return 0; sleep 0.2; done
  zvx_log "Wine's desktop in $prefix did not start within 2 minutes"
}

zvx_stop_wine() {
  local prefix="$ZVX_WINE_ROOT/$1"
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
}

# zvx_build_windows [TARGET...]: everything, or only the targets named.
zvx_build_windows() {
  cmake --preset windows >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build --preset windows -j "$(nproc)" --target "$@"
  else
    cmake --build --preset windows -j "$(nproc)"
  fi
}

zvx_build_native() {
  cmake --preset native >/dev/null
  cmake --build --preset native -j "$(nproc)"
}
