#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it: control fields, file list, the
# unpacked engine started through its plugin file and answering a short transcript, the window's
# data found in the unpacked tree, the desktop entry, the AppStream metadata, the manual page, and
# lintian.
#   debian_package.sh <build folder> <project version>
set -euo pipefail
build="$1"
version="$2"

for tool in cpack dpkg-deb lintian desktop-file-validate appstreamcli man; do
  if ! command -v "$tool" >/dev/null; then
    echo "missing $tool (scripts/install-dependencies.sh installs it)" >&2
    exit 1
  fi
done

work="$(mktemp -d)"
enginePid=""
cleanup() {
  if [ -n "$enginePid" ]; then
    kill "$enginePid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  exit 1
fi
arch="$(dpkg --print-architecture)"
deb="$work/out/veltmark_${version}_${arch}.deb"
if [ ! -f "$deb" ]; then
  echo "no $(basename "$deb"); made: $(ls "$work/out")" >&2
  exit 1
fi

# Control fields. libc6 and libstdc++6 can only have come from the binary (shlibdeps).
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = veltmark ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), project $version"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^\>]+@[^\>]+\>$ ]] || fail "Maintainer: $(field Maintainer)"
[ -n "$(field Description | sed -n 2p)" ] || fail "the description has no long part"
depends=", $(field Depends),"
for needed in fonts-liberation libc6 libstdc++6; do
  [[ "$depends" == *", $needed "* || "$depends" == *", $needed,"* ]] ||
    fail "Depends lacks $needed: $(field Depends)"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
zcat "$root/usr/share/doc/veltmark/changelog.gz" | head -1 | grep -qF "veltmark ($version) " ||
  fail "the changelog's latest entry is not version $version"

# File list: everything that must be there, and nothing outside the package's own places.
icons=(16 24 32 48 64 128 256)
metainfo=usr/share/metainfo/example.veltmark.Veltmark.metainfo.xml
expected=(usr/games/veltmark usr/share/applications/veltmark.desktop "$metainfo"
  usr/share/man/man6/veltmark.6.gz usr/share/games/plugins/xboard/veltmark.eng
  usr/share/games/plugins/logos/veltmark.png
  usr/share/doc/veltmark/copyright usr/share/doc/veltmark/changelog.gz
  usr/share/veltmark/fonts/LiberationSans-Regular.ttf usr/share/veltmark/textures/board.gif)
for model in board king queen rook bishop knight pawn; do
  expected+=("usr/share/veltmark/gfx/$model.lwo")
done
for model in king queen rook bishop knight pawn; do
  expected+=("usr/share/veltmark/gfx/coarse/$model.lwo")
done
for size in "${icons[@]}"; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/veltmark.png")
done
for path in "${expected[@]}"; do
  [ -e "$root/$path" ] || [ -L "$root/$path" ] || fail "missing /$path"
done
while IFS= read -r path; do
  case "$path" in
    usr/games/veltmark | usr/share/veltmark/* | usr/share/applications/veltmark.desktop | "$metainfo" | \
      usr/share/icons/hicolor/*/apps/veltmark.png | usr/share/man/man6/veltmark.6.gz | \
      usr/share/games/plugins/xboard/veltmark.eng | usr/share/games/plugins/logos/veltmark.png | \
      usr/share/doc/veltmark/*) ;;
    *) fail "unexpected file /$path" ;;
  esac
done < <(cd "$root" && find . ! -type d -printf '%P\n')

# The icons are the size their folder says, the logo the size GUIs show.
pngSize() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}'; }
for size in "${icons[@]}"; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/veltmark.png"
  [ "$(pngSize "$icon")" = "${size}x${size}" ] || fail "$icon is $(pngSize "$icon")"
done
[ "$(pngSize "$root/usr/share/games/plugins/logos/veltmark.png")" = 100x50 ] || fail "logo size"

# The font is a link into fonts-liberation; in the unpacked tree that package's file is put where
# the system has it.
fontLink="$root/usr/share/veltmark/fonts/LiberationSans-Regular.ttf"
systemFont=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
mkdir -p "$root$(dirname "$systemFont")"
ln -s "$systemFont" "$root$systemFont"
[ "$(readlink -f "$fontLink")" = "$(readlink -f "$root$systemFont")" ] ||
  fail "the font links to $(readlink "$fontLink")"

# The engine, started by the command line of its plugin file with the package's program on PATH.
eng="$root/usr/share/games/plugins/xboard/veltmark.eng"
# XBoard reads the file's first line as its format header: the installed file must be ours as
# committed, header included.
cmp -s "$eng" "$(dirname "${BASH_SOURCE[0]}")/../../packaging/veltmark.eng" ||
  fail "the installed plugin file differs from packaging/veltmark.eng"
engineCommand="$(sed -n 2p "$eng")"
mkdir "$work/home" "$work/cwd" "$work/empty"
cleanEnv=(env -i HOME="$work/home" PATH="$root/usr/games:/usr/bin:/bin" XDG_DATA_DIRS="$root/usr/share")
mkfifo "$work/to" "$work/from"
(cd "$work/cwd" && exec "${cleanEnv[@]}" sh -c "exec $engineCommand") <"$work/to" >"$work/from" &
enginePid=$!
exec 3>"$work/to" 4<"$work/from"
printf 'xboard\nprotover 2\nnew\nsd 3\ne2e4\n' >&3
reply=""
while IFS= read -r -t 30 line <&4; do
  echo "$line" >>"$work/transcript"
  if [[ "$line" == "move "* ]]; then
    reply="$line"
    break
  fi
done
printf 'quit\n' >&3
exec 3>&-
status=0
wait "$enginePid" || status=$?
enginePid=""
exec 4<&-
grep -qx 'feature done=1' "$work/transcript" || fail "no feature announcement"
[[ "$reply" =~ ^move\ [a-h][1-8][a-h][1-8]$ ]] || fail "no reply to e2e4: '$reply'"
[ "$status" -eq 0 ] || fail "the engine ended with status $status"
[ -z "$(find "$work/cwd" "$work/home" -mindepth 1)" ] || fail "the engine left files behind"
if [ "$failures" -gt 0 ]; then
  cat "$work/transcript" >&2
fi

# The window face loads its data before it needs a display: from the unpacked tree it gets past
# loading; with an empty data directory it names what is missing. There is no display, and SDL is
# held to X11 so that it cannot fall back to drawing in the terminal.
windowErrors() {
  (cd "$work/cwd" && env -i HOME="$work/home" SDL_VIDEODRIVER=x11 XDG_DATA_DIRS="$1" timeout 20 \
    "$root/usr/games/veltmark" 2>&1 >/dev/null) || true
}
dataProblem='data file|model file|cannot read the image|cannot open the font'
grep -qE "$dataProblem" <<<"$(windowErrors "$work/empty")" ||
  fail "without data the window face did not complain"
withData="$(windowErrors "$root/usr/share")"
if grep -qE "$dataProblem" <<<"$withData"; then
  fail "the window face cannot load the package's data: $withData"
fi

# Desktop entry: valid, and naming the package's program and icon.
entry="$root/usr/share/applications/veltmark.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the desktop entry"
exe="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")"
[ -x "$root/usr/games/$exe" ] || fail "Exec=$exe is not the package's program"
[ "$(sed -n 's/^Icon=//p' "$entry")" = veltmark ] || fail "Icon is not the package's icon"
# Started from the menu, the working directory is the home folder: the settings go to the
# configuration directory instead.
grep -qx 'Exec=veltmark --settings-to-home-directory %f' "$entry" ||
  fail "the menu entry does not keep the settings in the configuration directory, or takes no file"
# A file manager offers the program for PGN files.
grep -qx 'MimeType=application/x-chess-pgn;' "$entry" || fail "the entry does not open PGN files"

# AppStream metadata: valid, and naming the package's program, desktop entry and version.
appstreamcli validate --no-net "$root/$metainfo" >"$work/appstream.txt" 2>&1 ||
  fail "appstreamcli rejects the metadata: $(cat "$work/appstream.txt")"
binary="$(sed -n 's|.*<binary>\(.*\)</binary>.*|\1|p' "$root/$metainfo")"
[ -n "$binary" ] && [ -x "$root/usr/games/$binary" ] || fail "provides binary '$binary'"
grep -qF '<mediatype>application/x-chess-pgn</mediatype>' "$root/$metainfo" ||
  fail "the metadata does not say that the program opens PGN files"
launchable="$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$root/$metainfo")"
[ -f "$root/usr/share/applications/$launchable" ] || fail "launchable '$launchable'"
changelogDate="$(zcat "$root/usr/share/doc/veltmark/changelog.gz" | sed -n 's/^ -- .*>  //p' | head -1)"
release="<release version=\"$version\" date=\"$(date -u -d "$changelogDate" +%F)\"/>"
grep -qF "$release" "$root/$metainfo" || fail "the metadata lacks the changelog's $release"

# Manual page: renders without a warning and covers the options.
page="$root/usr/share/man/man6/veltmark.6.gz"
LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" \
  >/dev/null 2>"$work/man.err" || fail "man cannot render the page"
[ ! -s "$work/man.err" ] || fail "man warns: $(cat "$work/man.err")"
rendered="$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null | col -b)"
for option in --xboard --log --settings-to-home-directory --help --version --fen games.pgn \
  current-game.pgn XDG_DATA_DIRS XDG_CONFIG_HOME; do
  grep -qF -- "$option" <<<"$rendered" || fail "the manual page does not mention $option"
done

# lintian: errors fail the test; the rest is shown.
lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>/dev/null || true
cat "$work/lintian.txt"
if grep -q '^E:' "$work/lintian.txt"; then
  fail "lintian reports errors"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "the package $(basename "$deb") passed"
