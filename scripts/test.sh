#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (GUI tests headless) twice: in the normal build
# (build/), then in the AddressSanitizer + UndefinedBehaviorSanitizer build (build-sanitize/), where
# the differential tests also try more random texts, and last the commands that run on a worker
# thread in the ThreadSanitizer build (build-thread/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

echo "Sanitizer build (address, undefined) in build-sanitize/"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERNALITH_SANITIZE=ON \
  -DVERNALITH_BUILD_BENCH=OFF >/dev/null
cmake --build build-sanitize -j "$(nproc)"
(cd build-sanitize && UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

# The GUI tests that run commands on a worker thread and stop them, or open and save files there; the
# sanitizer options for Qt's uninstrumented libraries come with each test's environment
# (tests/CMakeLists.txt).
thread_tests=(responsive_command_test command_test automatic_processing_test text_commands_test
  correction_commands_test command_map_test document_test)
echo "ThreadSanitizer build of the command tests in build-thread/"
cmake -S . -B build-thread -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERNALITH_SANITIZE=thread \
  -DVERNALITH_BUILD_BENCH=OFF >/dev/null
cmake --build build-thread -j "$(nproc)" --target "${thread_tests[@]}"
(IFS='|' && cd build-thread && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" \
  -R "^(${thread_tests[*]})\$")
