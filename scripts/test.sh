#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under the address and
# undefined-behaviour sanitizers; the tests of the threaded code (audio, platform, browser)
# run once more under the thread sanitizer; then the fuzz targets run for a bounded time.
# One sanitized build serves where a plain and a sanitized one did: the same tests catch
# more, in about two thirds of the time.
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

# The debug build with tests and benchmarks under the address and undefined-behaviour
# sanitizers, where any compiler warning fails the build.
run_preset ci
# Builds only the test programs it runs.
if [ "${PARLANTOGRAPHER_SKIP_TSAN:-0}" != 1 ]; then
  run_preset tsan
fi
if [ "${PARLANTOGRAPHER_SKIP_FUZZ:-0}" != 1 ]; then
  bash scripts/fuzz.sh
fi
