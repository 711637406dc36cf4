# The CMake builds, and git data of the clone.

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

# zvx_git ARGS...: git in this clone, whoever owns it (scripts/lib/git-in).
zvx_git() { "$ZVX_ROOT/scripts/lib/git-in" "$ZVX_ROOT" "$@"; }
