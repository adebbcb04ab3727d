#!/usr/bin/env bash
# The engine face never creates, reads or writes the settings file, and writes no log, whatever
# options come with --xboard.
set -euo pipefail
program="$1"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/work" "$dir/home"
cd "$dir/work"
printf 'xboard\nprotover 2\nsd 2\ngo\nquit\n' |
  HOME="$dir/home" XDG_CONFIG_HOME= APPDATA= "$program" --xboard --log --settings-to-home-directory \
    > "$dir/out.txt"
grep -q '^feature done=1$' "$dir/out.txt"
left="$(find "$dir/work" "$dir/home" -mindepth 1)"
if [ -n "$left" ]; then
  echo "files left by --xboard: $left"
  exit 1
fi
echo "1 passed, 0 failed"
