#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite: the Release build with every test,
# then the unit tests again under AddressSanitizer + UndefinedBehaviorSanitizer and the threaded
# engine tests under ThreadSanitizer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$root"
scripts/install-dependencies.sh

scripts/build.sh build
(cd build && ctest --output-on-failure -j "$(nproc)")

scripts/build.sh build-asan -DVELTMARK_SANITIZE=address,undefined
(cd build-asan && ctest --output-on-failure -j "$(nproc)" -L unit)
