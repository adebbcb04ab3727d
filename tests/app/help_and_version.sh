#!/usr/bin/env bash
# --help and --version answer on standard output and exit 0 before a window or an engine starts:
# there is no display and no data here, so either would fail, and nothing may be left behind.
set -euo pipefail
program="$1"
version="$2"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/work" "$dir/home"
cd "$dir/work"
failures=0
checks=0
run() {
  env -i HOME="$dir/home" SDL_VIDEODRIVER=x11 XDG_DATA_DIRS="$dir/none" "$program" "$@" \
    >"$dir/out" 2>"$dir/err" </dev/null
}
check() {
  checks=$((checks + 1))
  if ! "$@"; then
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
  fi
}

check run --help
check test ! -s "$dir/err"
for option in --xboard --uci --log --settings-to-home-directory --fen --help --version; do
  check grep -qE -- "^  $option( |$)" "$dir/out"
done
longest="$(awk '{ if (length > n) n = length } END { print n }' "$dir/out")"
check test "$longest" -le 80

check run --version
check test "$(cat "$dir/out")" = "veltmark $version"
check test ! -s "$dir/err"
# Asked for together with the engine, the answer is still text and an exit.
check run --xboard --version
check test "$(cat "$dir/out")" = "veltmark $version"
check run --help --uci
check grep -q "^Usage: veltmark" "$dir/out"

# A position that cannot be read is named before any window opens, and the program fails.
check test "$(run --fen "8/8/8/8/8/8/8/8 w - - 0 1" && echo started || echo $?)" = 2
check grep -q "^veltmark: the position given with --fen cannot be read: " "$dir/err"
check test "$(run --fen && echo started || echo $?)" = 2
check grep -q "^veltmark: --fen needs a position" "$dir/err"

check test -z "$(find "$dir/work" "$dir/home" -mindepth 1)"
echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
