#!/usr/bin/env bash
# Installs what is missing, builds the release, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
# Only the program itself: the tests and benchmarks are the test script's business.
cmake --build --preset release --target parlantographer
exec ./build/release/app/parlantographer "$@"
