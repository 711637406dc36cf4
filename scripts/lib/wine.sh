# Wine for the project: its environment, the prefixes of the desktop looks
# (made from one base prefix), and servers started and stopped around tests.

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
# Each prefix's .zvx-ready holds the Wine version that made it: a prefix of
# another version (Wine upgraded with the release) is made anew, since its
# hard-linked system files would otherwise be rewritten in place under every
# prefix that shares them.
zvx_wine_version() {
  [ -n "${ZVX_WINE_VERSION:-}" ] || ZVX_WINE_VERSION="$(wine --version 2>/dev/null)" || ZVX_WINE_VERSION=unknown
  printf '%s\n' "$ZVX_WINE_VERSION"
}

# zvx_prefix_ready DIR: whether the prefix exists and was made by this Wine.
zvx_prefix_ready() {
  zvx_wine_version >/dev/null  # asks Wine once per script
  [ -f "$1/.zvx-ready" ] && [ "$(cat "$1/.zvx-ready")" = "$(zvx_wine_version)" ]
}

zvx_make_base_prefix() {
  local base="$ZVX_WINE_ROOT/base"
  zvx_prefix_ready "$base" && return 0
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
  zvx_wine_version >"$base/.zvx-ready"
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
#   bench-scale150 - as bench, at 150%, for scripts/bench's start-up there
#   screens-classic, screens-styled, screens-scale150 - as classic, styled and
#              scale150, for scripts/screenshots
#   scale125, scale150, scale200 - as classic, at 125%, 150% and 200% display
#              scaling (LogPixels 120, 144, 192), with the same fonts
# The test prefixes hand web and mail addresses to tests/support/shell-log
# instead of a real browser or mail program, and have the crash dialog off.
zvx_make_prefix() {
  local look="$1"
  local prefix="$ZVX_WINE_ROOT/$look"
  zvx_prefix_ready "$prefix" && return 0
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
      scale125|scale150|scale200|screens-scale150|bench-scale150)
        # The scale of programs started afterwards; the server writes it out
        # when it ends, below.
        local dpi=$(( ${look##*scale} * 96 / 100 ))
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
        wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f ;;
      unstyled)
        wine reg add 'HKCU\Control Panel\Appearance' /v Current /t REG_SZ /d 'Zonarium Slate' /f
        wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d 0 /f
        wine reg copy 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager\Control Panel\Colors' 'HKCU\Control Panel\Colors' /f ;;
      *) echo "zvx: unknown look $look" >&2; exit 1 ;;
    esac
    wineserver -w
  ) >/dev/null 2>&1 </dev/null
  zvx_wine_version >"$prefix/.zvx-ready"
}

# zvx_test_looks LISTING: the looks whose prefixes the tests of a
# zvx_list_tests listing declare (their WINEPREFIX), one per line.
zvx_test_looks() {
  grep -o '"WINEPREFIX=[^"]*"' <<<"$1" | sed 's|.*/||; s|"$||' | sort -u
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
