# Installing: the Debian packages, the one command that runs as root for
# them, and the machine's own Debian mirror.

# Debian packages the build and the tests need. wine32 is the i386 package.
ZVX_PACKAGES=(cmake make g++ g++-mingw-w64-i686 binutils-mingw-w64-i686
              wine wine32:i386 fonts-wine xvfb xauth x11-utils xdotool doctest-dev
              zip git)
# What scripts/run adds for the screenshot of the virtual display.
ZVX_SCREENSHOT_PACKAGES=(imagemagick)

# The installation as root runs this fixed text, the packages its arguments
# ("$@"), so that nothing the user's environment holds becomes part of a
# command. One line: sudo logs it as it is (scripts/check-distro compares).
ZVX_INSTALL_SCRIPT='set -e; dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386; apt-get update -qq; DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >/dev/null'

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

# zvx_install_packages [PACKAGE...]: installs whatever of the package list
# and of the arguments is missing, in one command as root; then makes sure
# that Wine's 32-bit code runs.
zvx_install_packages() {
  local wanted=("${ZVX_PACKAGES[@]}" "$@") missing=() p
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    zvx_log "installing: ${missing[*]}"
    zvx_as_root sh -c "$ZVX_INSTALL_SCRIPT" zvx-install "${missing[@]}"
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
