#!/usr/bin/env bash
# Installs what is missing, builds, and starts Veltmark with the given arguments
# (./run.sh --xboard starts the engine face).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/scripts/install-dependencies.sh" >&2
# Without the tests, configuring does not look for GoogleTest, which only the tests need.
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DVELTMARK_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build" -j "$(nproc)" --target veltmark >&2
# The build folder carries a data directory (share/veltmark/: models, board image, font) that is
# searched before the system's.
export XDG_DATA_DIRS="$root/build/share:${XDG_DATA_DIRS:-/usr/local/share/:/usr/share/}"
exec "$root/build/veltmark" "$@"
