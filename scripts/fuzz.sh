#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each for a bounded time over
# a copy of its seed corpus (tests/fuzz/corpus/<target>). PARLANTOGRAPHER_FUZZ_SECONDS sets the
# time per target (default 45). A crash or a broken property fails the script and leaves the
# input that caused it in build/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${PARLANTOGRAPHER_FUZZ_SECONDS:-45}
build=build/fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DPARLANTOGRAPHER_BUILD_FUZZ=ON -DPARLANTOGRAPHER_BUILD_TESTS=OFF \
  -DPARLANTOGRAPHER_BUILD_BENCH=OFF -DPARLANTOGRAPHER_BUILD_GUI=OFF >/dev/null

targets=(recordheader pimreaders catalogue recordinfoedit)
cmake --build "$build" --target "${targets[@]/%/_fuzz}"

mkdir -p "$build/findings"
# The targets write their files below TMPDIR: a folder of this run, in memory where possible
# (every sync of a rewrite is then cheap), removed at the end.
memory=/tmp
if [ -d /dev/shm ] && [ -w /dev/shm ]; then memory=/dev/shm; fi
scratch=$(mktemp -d "$memory/parlantographer-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# One target per core at a time: each is a single process, and a CI machine has two cores.
fuzz_one() {
  local target=$1 work
  work=$(mktemp -d)
  cp -r "tests/fuzz/corpus/$target/." "$work/"
  # libspeex reports broken streams on stderr; only the fuzzer's own verdict counts.
  if ! TMPDIR="$scratch" ASAN_OPTIONS=detect_leaks=0 "$build/tests/fuzz/${target}_fuzz" \
    -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/findings/${target}-" "$work" \
    2>"$build/$target.log"; then
    rm -rf "$work"
    return 1
  fi
  rm -rf "$work"
}
jobs=${PARLANTOGRAPHER_FUZZ_JOBS:-$(nproc)}
failed=()
for ((i = 0; i < ${#targets[@]}; i += jobs)); do
  batch=("${targets[@]:i:jobs}")
  echo "fuzzing ${batch[*]} for ${seconds}s"
  pids=()
  for target in "${batch[@]}"; do
    fuzz_one "$target" &
    pids+=($!)
  done
  for j in "${!pids[@]}"; do
    wait "${pids[$j]}" || failed+=("${batch[$j]}")
  done
done
for target in "${targets[@]}"; do
  grep -E "^stat::number_of_executed_units|^Done" "$build/$target.log" | sed "s/^/$target: /" || true
done
for target in "${failed[@]}"; do
  echo "fuzz target $target failed:"
  tail -n 40 "$build/$target.log"
done
[ "${#failed[@]}" -eq 0 ]
