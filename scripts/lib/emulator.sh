# Whether this machine runs 32-bit x86 code, and the fallback where it cannot.
#
# Wine runs the program as 32-bit x86 code. Some x86-64 virtual machines
# cannot run 32-bit code at all (the kernel refuses 32-bit ELF files with
# "Exec format error", and a 64-bit process cannot enter a 32-bit code
# segment either). There every 32-bit process runs under qemu's user-mode
# emulator, which the kernel starts for it through binfmt_misc. Debian 12's
# qemu 7.2 crashes in Wine's start-up; Debian 13's qemu 10 runs the whole
# test suite, and its binary is static, so it is taken from its package as it
# is, whatever the machine's own release. What this makes, and its undo: the
# README, "The emulator".
ZVX_QEMU_I386=/usr/local/lib/zonarium/qemu-i386
ZVX_QEMU_DEB=pool/main/q/qemu/qemu-user_10.0.13+ds-0+deb13u1_amd64.deb
ZVX_QEMU_DEB_SHA256=ca6ede739327a20ae5a3498230c8a3a9a072c586e131bc6bcc1201eb1725e336
ZVX_QEMU_I386_SHA256=3378bb95493e33dc6cb215a8d89c4aeb58d12201b817413a4c0449ffa5abb443
ZVX_BINFMT=/proc/sys/fs/binfmt_misc
ZVX_WINE_LOADER=/usr/lib/wine/wine

# Root runs this fixed text; the paths and the sum are its arguments:
#   $1 the unpacked binary, or "" when the installed one is right already,
#   $2 where it goes, $3 its SHA-256, $4 the binfmt_misc folder.
# The binary is installed under a temporary name beside its place and renamed
# only when its sum is right. The rule: 32-bit little-endian x86 executables
# and shared objects. Its only flag, F, opens the emulator at registration,
# so that it serves every mount namespace and chroot; no C (setuid programs
# would run with their owner's rights inside the emulator, under the calling
# user's QEMU_* variables), no P or O, which Wine does not need.
ZVX_REGISTER_SCRIPT='set -e
if [ -n "$1" ]; then
  install -D -m 0755 "$1" "$2.new"
  if ! echo "$3  $2.new" | sha256sum -c --quiet; then rm -f "$2.new"; exit 1; fi
  mv -f "$2.new" "$2"
fi
echo "$3  $2" | sha256sum -c --quiet
if [ ! -e "$4/register" ]; then mount -t binfmt_misc binfmt_misc "$4"; echo "zvx: mounted binfmt_misc on $4" >&2; fi
printf "%s" ":zonarium-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$2:F" >"$4/register"'

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

# zvx_try_i386 FILE: runs the probe.
zvx_try_i386() { "$1"; }

# zvx_run_i386 [FOLDER]: runs a 32-bit x86 program that only exits, written
# here, so that the question "does this machine run 32-bit code" needs no
# package. It lies in a folder of its own in FOLDER (default build/; scripts
# running at once do not remove each other's), and runs under LC_ALL=C, so
# that the kernel's refusal reads the same in every language. Prints the
# shell's complaint when it fails.
zvx_run_i386() {
  local parent="${1:-$ZVX_ROOT/build}" dir status=0 out
  mkdir -p "$parent"
  dir="$(mktemp -d "$parent/i386-probe.XXXXXX")" || return 1
  # ELF header, one PT_LOAD program header mapping the file at 0x08048000,
  # then xor ebx,ebx; mov eax,1 (exit); int 0x80.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$dir/probe"
  chmod 0700 "$dir/probe"
  out="$(export LC_ALL=C; zvx_try_i386 "$dir/probe" 2>&1)" || status=$?
  rm -rf "$dir"
  [ $status -eq 0 ] && return 0
  printf '%s\n' "$out"
  return $status
}

# zvx_wine_starts: whether Wine's 32-bit loader runs.
zvx_wine_starts() { "$ZVX_WINE_LOADER" --version >/dev/null 2>&1; }

# zvx_fetch_qemu DIR: Debian 13's qemu-user package from the machine's own
# mirror, unpacked into DIR/root.
zvx_fetch_qemu() {
  local mirror
  mirror="$(zvx_debian_mirror)" || return 1
  zvx_log "downloading ${ZVX_QEMU_DEB##*/} from $mirror"
  # apt's own downloader: the machine's proxy settings, and the sum checked.
  if ! /usr/lib/apt/apt-helper -o APT::Sandbox::User="$(id -un)" download-file \
       "$mirror/$ZVX_QEMU_DEB" "$1/qemu-user.deb" "SHA256:$ZVX_QEMU_DEB_SHA256" >&2; then
    echo "zvx: could not fetch $mirror/$ZVX_QEMU_DEB with its pinned sum. When Debian 13 has replaced that qemu-user version, set ZVX_QEMU_DEB, ZVX_QEMU_DEB_SHA256 and ZVX_QEMU_I386_SHA256 in scripts/lib/emulator.sh to the current one (its Filename and SHA256 in the trixie Packages index, and the sum of its usr/bin/qemu-i386)" >&2
    return 1
  fi
  dpkg-deb -x "$1/qemu-user.deb" "$1/root"
}

# zvx_ensure_i386: succeeds when Wine's 32-bit code runs here, natively or
# under the emulator, which it registers where that is both needed and safe.
zvx_ensure_i386() {
  local refusal status=0
  refusal="$(zvx_run_i386)" || status=$?
  if [ $status -eq 0 ]; then
    zvx_wine_starts && return 0
    echo "zvx: this machine runs 32-bit programs, but Wine's 32-bit loader ($ZVX_WINE_LOADER, package wine32:i386) does not start; reinstall it" >&2
    return 1
  fi
  case "$refusal" in
    *"Exec format error"*) ;;
    *"Permission denied"*)
      # build/ is on a file system that executes nothing (noexec): the probe
      # cannot tell. Wine's own files lie elsewhere, and it only reads the
      # program's.
      zvx_wine_starts && return 0
      echo "zvx: Wine's 32-bit loader ($ZVX_WINE_LOADER) does not start, and whether this machine runs 32-bit code cannot be told: $ZVX_ROOT/build does not execute programs (noexec). Reinstall wine32:i386, or run from a clone on a file system that executes programs" >&2
      return 1 ;;
    *) echo "zvx: a 32-bit test program failed to run: $refusal" >&2; return 1 ;;
  esac
  local machine handler
  machine="$(uname -m)"
  if [ "$machine" != x86_64 ]; then
    echo "zvx: this $machine machine does not run 32-bit x86 programs; Wine needs them, and the emulator fallback serves x86-64 machines only" >&2
    return 1
  fi
  if handler="$(zvx_i386_handler)"; then
    echo "zvx: the kernel refuses 32-bit programs although the handler $ZVX_BINFMT/$handler is registered for them; left as it is" >&2
    return 1
  fi
  zvx_log "this machine cannot run 32-bit x86 code: running Wine under qemu-i386"

  local work="" binary=""
  if ! echo "$ZVX_QEMU_I386_SHA256  $ZVX_QEMU_I386" | sha256sum -c --status 2>/dev/null; then
    work="$(mktemp -d "${TMPDIR:-/tmp}/zvx-qemu.XXXXXX")" || return 1
    if ! zvx_fetch_qemu "$work"; then
      rm -rf "$work"
      return 1
    fi
    binary="$work/root/usr/bin/qemu-i386"
  fi
  status=0
  zvx_as_root sh -c "$ZVX_REGISTER_SCRIPT" zvx-register "$binary" "$ZVX_QEMU_I386" "$ZVX_QEMU_I386_SHA256" "$ZVX_BINFMT" || status=$?
  [ -n "$work" ] && rm -rf "$work"
  if [ $status -ne 0 ]; then
    echo "zvx: the emulator was not registered (a wrong sum leaves nothing installed)" >&2
    return $status
  fi
  if ! zvx_run_i386 >/dev/null || ! zvx_wine_starts; then
    echo "zvx: Wine's 32-bit loader does not start, not even under qemu-i386: removing the emulator's registration again" >&2
    zvx_as_root sh -c 'echo -1 >"$1"' zvx-unregister "$ZVX_BINFMT/zonarium-i386"
    return 1
  fi
}
