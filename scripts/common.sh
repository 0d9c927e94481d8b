# Shared by the scripts: project root, root-or-sudo, and the build step.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# build DIR [cmake args...]: configures (once) and builds a tree.
build() {
  local dir=$1; shift
  cmake -S "$root" -B "$dir" "$@"
  cmake --build "$dir" -j"$(nproc)"
}
