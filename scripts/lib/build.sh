# The CMake builds, the tests they define, and git data of the clone.

# zvx_build_windows [TARGET...]: everything, or only the targets named.
zvx_build_windows() {
  cmake --preset windows >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build --preset windows -j "$(nproc)" --target "$@"
  else
    cmake --build --preset windows -j "$(nproc)"
  fi
}

# zvx_list_tests CTEST-ARGS...: the Windows tests that ctest would run with
# these arguments, as its JSON listing: each test's command and properties.
zvx_list_tests() { ctest --preset windows --show-only=json-v1 "$@"; }

# zvx_test_targets LISTING: the build targets of the tests listed, one per
# line: every program (NAME.exe) and library (libNAME.a) of the build tree
# that a test runs or reads, as CMake names them after their targets.
zvx_test_targets() {
  local build="$ZVX_ROOT/build/windows/" word
  grep -o '"[^"]*"' <<<"$1" | tr -d '"' | tr '=|' '\n\n' | while read -r word; do
    case "$word" in
      "$build"*.exe) word="${word##*/}"; echo "${word%.exe}" ;;
      "$build"*/lib*.a) word="${word##*/lib}"; echo "${word%.a}" ;;
    esac
  done | sort -u
}

zvx_build_native() {
  cmake --preset native >/dev/null
  cmake --build --preset native -j "$(nproc)"
}

# zvx_git ARGS...: git in this clone, whoever owns it (scripts/lib/git-in).
zvx_git() { "$ZVX_ROOT/scripts/lib/git-in" "$ZVX_ROOT" "$@"; }
