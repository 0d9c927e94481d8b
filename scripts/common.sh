# SPDX-License-Identifier: Apache-2.0
# Shared by the scripts: project root, root-or-sudo, the build step and the
# step timer.
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

# step NAME COMMAND [ARGS...]: runs one step of a longer run under a heading
# and records how long it took. A failing step ends the script (set -e);
# call step_report from an EXIT trap to print the table either way.
_step_times=()
_step_current=""
_step_start=0
step() {
  _step_current=$1; shift
  _step_start=$SECONDS
  printf '\n==> %s\n' "$_step_current"
  "$@"
  _step_times+=("$(_step_line "$_step_current" $((SECONDS - _step_start)) "")")
  printf '==> %s: done in %s\n' "$_step_current" "$(_step_duration $((SECONDS - _step_start)))"
  _step_current=""
}

_step_duration() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }
_step_line() { printf '  %-44s %8s  %s' "$1" "$(_step_duration "$2")" "$3"; }

step_report() {
  local status=$?
  if [ -n "$_step_current" ]; then
    _step_times+=("$(_step_line "$_step_current" $((SECONDS - _step_start)) "FAILED")")
  fi
  printf '\nStep times (total %s):\n' "$(_step_duration "$SECONDS")"
  printf '%s\n' "${_step_times[@]}"
  return $status
}
