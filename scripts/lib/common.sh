# Shared steps of scripts/run, scripts/test, scripts/check, scripts/bench,
# scripts/screenshots and scripts/check-distro. Source it; it defines variables and functions only,
# each concern in a file of its own beside this one:
#   install.sh   packages, commands as root, the machine's Debian mirror
#   emulator.sh  whether 32-bit code runs, and the qemu-i386 fallback
#   wine.sh      Wine's environment, the prefixes, servers started and stopped
#   build.sh     the CMake builds, the tests they define, git data of the clone

ZVX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
ZVX_WINE_ROOT="${ZVX_WINE_ROOT:-$ZVX_ROOT/build/wine}"

zvx_log() { printf '== %s\n' "$*" >&2; }

source "$ZVX_ROOT/scripts/lib/install.sh"
source "$ZVX_ROOT/scripts/lib/emulator.sh"
source "$ZVX_ROOT/scripts/lib/wine.sh"
source "$ZVX_ROOT/scripts/lib/build.sh"
