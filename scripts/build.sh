#!/usr/bin/env bash
# Configures and builds one tree: build.sh <build-dir> [extra CMake arguments...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$1"
shift
# ./run.sh leaves the tests switched off in build/.
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVELTMARK_BUILD_TESTS=ON "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
