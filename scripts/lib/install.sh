# Installing: the Debian packages, the one command that runs as root for
# them, and the machine's own Debian mirror.

# Debian packages the build and the tests need. wine32 is the i386 package.
ZVX_PACKAGES=(cmake make g++ g++-mingw-w64-i686 binutils-mingw-w64-i686
              wine wine32:i386 fonts-wine xvfb xauth x11-utils xdotool doctest-dev
              zip git)
# What scripts/screenshots needs, and scripts/run would like, for pictures
# of a virtual display.
ZVX_SCREENSHOT_PACKAGES=(imagemagick)

# The installation as root runs this fixed text, the packages its arguments,
# so that nothing the user's environment holds becomes part of a command:
#   zvx-install NEEDED... [-- EXTRA...]
# It adds the i386 architecture when a package asks for it, and reads the
# package lists anew: an update that fails (a mirror in mid-sync, a source
# that cannot be reached) is tried again three times 10 s apart, then the
# lists at hand serve. A lock that another package manager holds (on a fresh
# machine, the daily apt jobs do for the first minutes) is waited for, up to
# 10 minutes, saying which: apt's lists and download locks by trying again
# every 5 s, since apt gives up on them at once; dpkg's lock through apt's
# own DPkg::Lock::Timeout. Only a failed installation of a needed package
# fails, naming what apt said of it and of the lists; the extras are
# installed after the needed ones, on their own, since apt installs all of
# one command or none, and a failure there is only reported. When an index
# failed and the lists at hand do not fit together (packages of two
# architectures that must match, one of them missing its updates), the
# needed ones are tried again as the release itself has them (-t CODENAME).
# Everything runs under LC_ALL=C, for apt's messages are read.
#
# Written one statement a line, each closed so that the lines can be joined:
# sudo logs the command on one line, as it is (scripts/check-distro
# compares), and the text holds no backslash and no single quote, which
# sudo's log and the printed command would render differently.
ZVX_INSTALL_SCRIPT="$(sed 's/^ *//' <<'SCRIPT' | paste -sd ' '
set -f;
export LC_ALL=C DEBIAN_FRONTEND=noninteractive;
say() { echo "zvx: $*" >&2; };
errors() { printf "%s" "$1" | grep "^E: " | sed "s/^/    /" >&2; };
needed=""; extras=""; into=needed;
for p do
  if [ "$p" = -- ]; then into=extras;
  elif [ "$into" = needed ]; then needed="$needed $p";
  else extras="$extras $p"; fi;
done;
attempt() {
  polls=0; told="";
  while :; do
    out=$("$@" 2>&1); rc=$?;
    lock=$(printf "%s" "$out" | grep -m 1 "^E: Could not get lock ");
    [ "$rc" -ne 0 ] && [ -n "$lock" ] || return 0;
    holder="another process";
    case "$lock" in *"held by process "*) holder=${lock#*held by }; esac;
    lock=${lock#E: Could not get lock }; lock=${lock%% *}; lock=${lock%.};
    case "$lock" in
      */lists/lock) what="apt lists lock $lock"; dpkg=0;;
      */archives/lock) what="apt download lock $lock"; dpkg=0;;
      */dpkg/lock*) what="dpkg lock $lock"; dpkg=1;;
      *) what=$lock; dpkg=0;;
    esac;
    if [ "$dpkg" = 1 ] && [ "$dpkgwait" = 1 ] || [ "$polls" -ge 120 ]; then
      say "the $what is still held by $holder after 10 minutes: giving up"; return 0;
    fi;
    [ "$told" = "$lock" ] || say "waiting for the $what, held by $holder: another package manager is at work (on a fresh machine the daily apt jobs are, for some minutes); up to 10 minutes";
    told=$lock;
    if [ "$dpkg" = 1 ]; then dpkgwait=1; set -- "$@" -o DPkg::Lock::Timeout=600;
    else polls=$((polls + 1)); sleep 5; fi;
  done;
};
dpkgwait=0;
get() {
  if [ "$dpkgwait" = 1 ]; then set -- -o DPkg::Lock::Timeout=600 "$@"; fi;
  attempt apt-get install -y -q --no-install-recommends "$@";
};
case "$needed$extras " in *":i386 "*)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386 || exit; fi;
esac;
stale=""; tries=1;
while :; do
  attempt apt-get update -q;
  [ "$rc" -eq 0 ] && { stale=""; break; };
  stale=$out;
  if [ -n "$lock" ] || [ "$tries" -ge 4 ]; then
    say "apt-get update failed; going on with the package lists at hand:"; errors "$stale"; break;
  fi;
  say "apt-get update failed (try $tries of 4); trying again in 10 s:"; errors "$out";
  tries=$((tries + 1)); sleep 10;
done;
if [ -n "$needed" ]; then
  get $needed;
  if [ "$rc" -ne 0 ] && [ -n "$stale" ]; then
    release=$(. /etc/os-release 2>/dev/null; echo "${VERSION_CODENAME:-}");
    if [ -n "$release" ]; then
      say "the package lists at hand do not fit together (an index failed above): trying again with the packages of $release itself, whose security updates come with the next apt-get upgrade";
      get -t "$release" $needed;
    fi;
  fi;
  if [ "$rc" -ne 0 ]; then
    say "could not install$needed:"; errors "$out";
    if [ -n "$stale" ]; then say "apt-get update had failed, so the package lists may be old or incomplete:"; errors "$stale"; fi;
    say "what you can do: try again in a few minutes (a mirror in mid-sync and a busy package manager pass), or see what apt-get update says of the sources in /etc/apt";
    exit "$rc";
  fi;
fi;
if [ -n "$extras" ]; then
  get $extras;
  if [ "$rc" -ne 0 ]; then say "could not install the extra$extras, going on without:"; errors "$out"; fi;
fi
SCRIPT
)"

# zvx_shell_words ARGS...: the arguments as a shell reads them back, words
# with anything but plain characters in single quotes.
zvx_shell_words() {
  local shown="" arg
  for arg; do
    if [[ "$arg" =~ ^[A-Za-z0-9_./:=@+-]+$ ]]; then
      shown+=" $arg"
    else
      shown+=" '${arg//\'/\'\\\'\'}'"
    fi
  done
  printf '%s\n' "${shown# }"
}

# zvx_as_root CMD...: runs one command as root, through sudo unless this is
# root already, and prints it first, so that the user sees what runs with
# root's rights. Only installing uses it; building, Wine and the program run
# as the user, so that nothing in the clone becomes root's.
zvx_as_root() {
  local shown
  shown="$(zvx_shell_words "$@")"
  if [ "$(id -u)" -eq 0 ]; then
    zvx_log "as root: $shown"
    "$@"
    return
  fi
  if ! command -v sudo >/dev/null; then
    echo "zvx: this step needs root, and sudo is not installed; run it as root: $shown" >&2
    return 1
  fi
  zvx_log "as root: sudo $shown"
  sudo "$@"
}

# zvx_installed PACKAGE: whether dpkg has it installed.
zvx_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# zvx_install_packages [PACKAGE...] [-- EXTRA...]: installs whatever of the
# package list and of the packages named is missing, in one command as root,
# the extras after "--" on their own terms (see ZVX_INSTALL_SCRIPT); then
# makes sure that Wine's 32-bit code runs.
zvx_install_packages() {
  local needed=() extras=() into=needed p
  for p in "${ZVX_PACKAGES[@]}" "$@"; do
    if [ "$p" = -- ]; then into=extras; continue; fi
    zvx_installed "$p" && continue
    if [ $into = needed ]; then needed+=("$p"); else extras+=("$p"); fi
  done
  if [ ${#extras[@]} -gt 0 ]; then
    zvx_log "installing if it can be had: ${extras[*]}"
    extras=(-- "${extras[@]}")
  fi
  if [ $((${#needed[@]} + ${#extras[@]})) -gt 0 ]; then
    [ ${#needed[@]} -eq 0 ] || zvx_log "installing: ${needed[*]}"
    zvx_as_root sh -c "$ZVX_INSTALL_SCRIPT" zvx-install "${needed[@]}" "${extras[@]}" || return
  fi
  zvx_ensure_i386
}

# zvx_debian_mirror: the base URI of the machine's own Debian archive, as apt
# itself knows it: the index targets whose Release file says Origin and
# Label "Debian" (not the security archive, not a third party's "stable").
# A mirror+file: source names a file of mirrors, which debootstrap cannot
# read; its first mirror is taken.
zvx_debian_mirror() {
  local uri list line
  uri="$(apt-get indextargets --format '$(REPO_URI)' 'Origin: Debian' 'Label: Debian' 'Target-Of: deb' 2>/dev/null |
           head -1)" || true
  if [ -z "$uri" ]; then
    echo "zvx: apt knows no Debian archive among its sources, or has not read their Release files yet (apt-get update)" >&2
    return 1
  fi
  uri="${uri%/}"
  if [[ "$uri" == mirror+file:* ]]; then
    list="${uri#mirror+file:}"
    list="${list#//}"
    uri=""
    # One mirror a line: its URI, then tab-separated attributes; # comments.
    while IFS=$' \t' read -r line _; do
      case "$line" in ''|'#'*) continue ;; esac
      uri="${line%/}"
      break
    done <"$list"
    if [ -z "$uri" ]; then
      echo "zvx: the mirror list $list of apt's Debian source names no mirror" >&2
      return 1
    fi
  fi
  case "$uri" in
    http://*|https://*|ftp://*|file://*) printf '%s\n' "$uri" ;;
    *) echo "zvx: the Debian archive $uri is not one debootstrap can fetch from" >&2; return 1 ;;
  esac
}
