# Shared steps of scripts/run, scripts/test, scripts/bench and scripts/screenshots.
# Source it; it defines functions only.

ZVX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
ZVX_WINE_ROOT="${ZVX_WINE_ROOT:-$ZVX_ROOT/build/wine}"

# Debian packages the build and the tests need. wine32 is the i386 package.
ZVX_PACKAGES=(cmake make g++ g++-mingw-w64-i686 binutils-mingw-w64-i686
              wine wine32:i386 fonts-wine xvfb xauth x11-utils xdotool doctest-dev
              zip git)

zvx_log() { printf '== %s\n' "$*" >&2; }

# zvx_as_root CMD...: runs one command as root, through sudo unless this is
# root already, and prints it first, so that the user sees what runs with
# root's rights. Only the installation steps use it; building, Wine and the
# program run as the user, so that nothing in the clone becomes root's.
zvx_as_root() {
  local shown="" arg
  # As a shell would read it back: words with anything but plain characters
  # in single quotes.
  for arg; do
    if [[ "$arg" =~ ^[A-Za-z0-9_./:=@+-]+$ ]]; then
      shown+=" $arg"
    else
      shown+=" '${arg//\'/\'\\\'\'}'"
    fi
  done
  if [ "$(id -u)" -eq 0 ]; then
    zvx_log "as root:$shown"
    "$@"
    return
  fi
  if ! command -v sudo >/dev/null; then
    echo "zvx: this step needs root, and sudo is not installed; run it as root:$shown" >&2
    return 1
  fi
  zvx_log "as root: sudo$shown"
  sudo "$@"
}

# Installs whatever of the package list (and of the extra arguments) is
# missing, in one command as root.
zvx_install_packages() {
  local wanted=("${ZVX_PACKAGES[@]}" "$@") missing=() p
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    zvx_log "installing: ${missing[*]}"
    zvx_as_root sh -c "set -e; dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386; apt-get update -qq; DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends ${missing[*]} >/dev/null"
  fi
  zvx_ensure_i386
}

# zvx_debian_mirror: the URI of the machine's own Debian archive, the first
# enabled "deb" source (deb822 or one-line) of a plain release suite (no
# -security or -updates), so that the scripts name no package host.
zvx_debian_mirror() {
  local uri
  uri="$(
    {
      for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        # One stanza per paragraph; fields may span continuation lines, which
        # these three do not use.
        awk 'BEGIN { RS = ""; FS = "\n" }
             { types = uris = suites = ""; enabled = "yes"
               for (i = 1; i <= NF; i++) {
                 line = $i; sub(/#.*/, "", line)
                 if (match(line, /^[A-Za-z-]+:/)) {
                   key = tolower(substr(line, 1, RLENGTH - 1)); value = substr(line, RLENGTH + 1)
                   if (key == "types") types = value
                   else if (key == "uris") uris = value
                   else if (key == "suites") suites = value
                   else if (key == "enabled") enabled = value
                 }
               }
               if (types ~ /(^|[ \t])deb([ \t]|$)/ && enabled !~ /no/) {
                 n = split(suites, s, /[ \t]+/); split(uris, u, /[ \t]+/)
                 first = u[1]; if (first == "") first = u[2]
                 for (j = 1; j <= n; j++) if (s[j] != "" && s[j] !~ /[-\/]/) { print first; break }
               }
             }' "$f"
      done
      for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        sed -e 's/#.*//' -e 's/\[[^]]*\]//' "$f" |
          awk '$1 == "deb" && $3 != "" && $3 !~ /[-\/]/ { print $2 }'
      done
    } | head -1
  )"
  if [ -z "$uri" ]; then
    echo "zvx: found no Debian archive among the apt sources (/etc/apt/sources.list, /etc/apt/sources.list.d)" >&2
    return 1
  fi
  printf '%s\n' "${uri%/}"
}

# Wine runs the program as 32-bit x86 code. Some virtual machines cannot run
# 32-bit code at all (the kernel refuses 32-bit ELF files with "Exec format
# error", and a 64-bit process cannot enter a 32-bit code segment either).
# There every 32-bit process runs under qemu's user-mode emulator, which the
# kernel starts for it through binfmt_misc. Debian 12's qemu 7.2 crashes in
# Wine's start-up; Debian 13's qemu 10 runs the whole test suite, and its
# binary is static, so it is taken from its package as it is, whatever the
# machine's own release. Undo: echo -1 >/proc/sys/fs/binfmt_misc/zonarium-i386
# and delete the binary.
ZVX_QEMU_I386=/usr/local/lib/zonarium/qemu-i386
ZVX_QEMU_DEB=pool/main/q/qemu/qemu-user_10.0.13+ds-0+deb13u1_amd64.deb
ZVX_QEMU_DEB_SHA256=ca6ede739327a20ae5a3498230c8a3a9a072c586e131bc6bcc1201eb1725e336
ZVX_QEMU_I386_SHA256=3378bb95493e33dc6cb215a8d89c4aeb58d12201b817413a4c0449ffa5abb443
ZVX_BINFMT=/proc/sys/fs/binfmt_misc

# zvx_i386_handler: the name of a registered, enabled binfmt_misc handler
# for 32-bit x86 ELF programs, if there is one.
zvx_i386_handler() {
  local entry magic
  for entry in "$ZVX_BINFMT"/*; do
    case "${entry##*/}" in register|status|'*') continue ;; esac
    grep -qx enabled "$entry" 2>/dev/null || continue
    magic="$(sed -n 's/^magic //p' "$entry" 2>/dev/null)"
    # ELF, 32-bit, little-endian; e_machine (bytes 18-19) EM_386.
    if [ "${magic:0:10}" = 7f454c4601 ] && [ "${magic:36:4}" = 0300 ]; then
      printf '%s\n' "${entry##*/}"
      return 0
    fi
  done
  return 1
}

# zvx_run_i386: runs a 32-bit x86 program that only exits, written here, so
# that the question "does this machine run 32-bit code" needs no package.
# Prints the shell's complaint when the kernel refuses it.
zvx_run_i386() {
  local probe="$ZVX_ROOT/build/i386-probe" status=0 out
  mkdir -p "$ZVX_ROOT/build"
  # ELF header, one PT_LOAD program header mapping the file at 0x08048000,
  # then xor ebx,ebx; mov eax,1 (exit); int 0x80.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
  chmod 0755 "$probe"
  out="$("$probe" 2>&1)" || status=$?
  rm -f "$probe"
  [ $status -eq 0 ] && return 0
  printf '%s\n' "$out"
  return $status
}

zvx_ensure_i386() {
  local refusal
  if refusal="$(zvx_run_i386)"; then
    if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
      echo "zvx: this machine runs 32-bit programs, but Wine's 32-bit loader (/usr/lib/wine/wine, package wine32:i386) does not start; reinstall it" >&2
      return 1
    fi
    return 0
  fi
  case "$refusal" in
    *"Exec format error"*) ;;
    *) echo "zvx: a 32-bit test program failed to run: $refusal" >&2; return 1 ;;
  esac
  local handler
  if handler="$(zvx_i386_handler)"; then
    echo "zvx: the kernel refuses 32-bit programs although the handler $ZVX_BINFMT/$handler is registered for them; left as it is" >&2
    return 1
  fi
  zvx_log "this machine cannot run 32-bit x86 code: running Wine under qemu-i386"

  local work="" steps="set -e"
  if ! echo "$ZVX_QEMU_I386_SHA256  $ZVX_QEMU_I386" | sha256sum -c --status 2>/dev/null; then
    local mirror
    mirror="$(zvx_debian_mirror)" || return 1
    work="$(mktemp -d "${TMPDIR:-/tmp}/zvx-qemu.XXXXXX")"
    zvx_log "downloading ${ZVX_QEMU_DEB##*/} from $mirror"
    # apt's own downloader: the machine's proxy settings, and the sum checked.
    if ! /usr/lib/apt/apt-helper -o APT::Sandbox::User="$(id -un)" download-file \
         "$mirror/$ZVX_QEMU_DEB" "$work/qemu-user.deb" "SHA256:$ZVX_QEMU_DEB_SHA256" >&2; then
      echo "zvx: could not fetch $mirror/$ZVX_QEMU_DEB with its pinned sum. When Debian 13 has replaced that qemu-user version, set ZVX_QEMU_DEB, ZVX_QEMU_DEB_SHA256 and ZVX_QEMU_I386_SHA256 in scripts/lib/common.sh to the current one (its Filename and SHA256 in the trixie Packages index, and the sum of its usr/bin/qemu-i386)" >&2
      rm -rf "$work"
      return 1
    fi
    dpkg-deb -x "$work/qemu-user.deb" "$work/root"
    steps+="; install -D -m 0755 $work/root/usr/bin/qemu-i386 $ZVX_QEMU_I386"
  fi
  # 32-bit little-endian x86 executables and shared objects; F opens the
  # emulator now, so that it serves every process and mount namespace.
  steps+="; echo '$ZVX_QEMU_I386_SHA256  $ZVX_QEMU_I386' | sha256sum -c --quiet"
  steps+="; [ -e $ZVX_BINFMT/register ] || mount -t binfmt_misc binfmt_misc $ZVX_BINFMT"
  steps+="; printf '%s' ':zonarium-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$ZVX_QEMU_I386:POCF' >$ZVX_BINFMT/register"
  local status=0
  zvx_as_root sh -c "$steps" || status=$?
  [ -n "$work" ] && rm -rf "$work"
  [ $status -eq 0 ] || return $status
  if ! zvx_run_i386 >/dev/null || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "zvx: Wine's 32-bit loader does not start, not even under qemu-i386: removing the emulator's registration again" >&2
    zvx_as_root sh -c "echo -1 >$ZVX_BINFMT/zonarium-i386"
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
      scale125|scale150|scale200|screens-scale150)
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
