#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (GUI tests headless) twice: in the normal build
# (build/), then in the AddressSanitizer + UndefinedBehaviorSanitizer build (build-sanitize/), where
# the differential tests also try more random texts.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

echo "Sanitizer build (address, undefined) in build-sanitize/"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERNALITH_SANITIZE=ON \
  -DVERNALITH_BUILD_BENCH=OFF >/dev/null
cmake --build build-sanitize -j "$(nproc)"
cd build-sanitize
UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
