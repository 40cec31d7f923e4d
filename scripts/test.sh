#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once normally, then once
# under the address and undefined-behaviour sanitizers; the tests of the threaded code
# (audio, platform, browser) run once more under the thread sanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
source scripts/audio-server.sh
start_audio_server

run_preset() {
  local preset=$1
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
}

# The debug build with tests and benchmarks, where any compiler warning fails the build.
run_preset ci
if [ "${PARLANTOGRAPHER_SKIP_ASAN:-0}" != 1 ]; then
  run_preset asan
fi
# Builds only the test programs it runs.
if [ "${PARLANTOGRAPHER_SKIP_TSAN:-0}" != 1 ]; then
  run_preset tsan
fi
if [ "${PARLANTOGRAPHER_SKIP_FUZZ:-0}" != 1 ]; then
  bash scripts/fuzz.sh
fi
