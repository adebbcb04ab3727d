#!/usr/bin/env bash
# The engine faces never create, read or write the settings file, and write no log, whatever
# options come with --xboard or --uci.
#   xboard_leaves_no_files.sh <program> [--uci]
set -euo pipefail
program="$1"
face="${2:---xboard}"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/work" "$dir/home"
cd "$dir/work"
if [ "$face" = "--uci" ]; then
  commands='uci\nposition startpos\ngo depth 2\nisready\nquit\n'
  answer='^readyok$'
else
  commands='xboard\nprotover 2\nsd 2\ngo\nquit\n'
  answer='^feature done=1$'
fi
printf "$commands" |
  HOME="$dir/home" XDG_CONFIG_HOME= APPDATA= "$program" "$face" --log --settings-to-home-directory \
    > "$dir/out.txt"
grep -q "$answer" "$dir/out.txt"
left="$(find "$dir/work" "$dir/home" -mindepth 1)"
if [ -n "$left" ]; then
  echo "files left by $face: $left"
  exit 1
fi
echo "1 passed, 0 failed"
