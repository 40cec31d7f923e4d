#!/usr/bin/env bash
# `parlantographer-cli list` as a process over homes of records on disk (written by
# `list_bench --make-home`): the peak memory of `list` and `list --json` over 20,000 records
# (aim: at most 40 MB for `list --json`), beside a command that reads no record, and the file
# system calls made per record over 4,000 records (aim: at most 6), counted by strace on every
# call that names a record file. Each figure is taken five times: min, median and max.
# Usage: bench/list_process.sh [build folder, default build/release]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cli=$build/cli/parlantographer-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data PARLANTOGRAPHER_CARDS= \
  PARLANTOGRAPHER_AUDIO=sim
"$build/bench/list_bench" --make-home="$work/h20000" --records=20000
"$build/bench/list_bench" --make-home="$work/h4000" --records=4000

# min, median and max of the numbers on standard input
spread() { sort -n | awk '{ v[NR] = $1 } END { printf "min %s  median %s  max %s", v[1], v[int((NR + 1) / 2)], v[NR] }'; }
peak_kb() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; }

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for command in "config list" "list" "list --json"; do
  # shellcheck disable=SC2086 # the command's words
  echo "peak memory, 20,000 records, $command (KB): $(for _ in 1 2 3 4 5; do
    PARLANTOGRAPHER_HOME=$work/h20000 peak_kb "$cli" $command; done | spread)"
done

if command -v strace >/dev/null; then
  for command in "list" "list --json"; do
    counts=$(for _ in 1 2 3 4 5; do
      # shellcheck disable=SC2086
      PARLANTOGRAPHER_HOME=$work/h4000 strace -f -y -o "$work/trace" "$cli" $command >/dev/null
      grep -cE '/Data/[^">/]+' "$work/trace" | awk '{ printf "%.2f\n", $1 / 4000 }'
    done)
    echo "file system calls per record, 4,000 records, $command: $(echo "$counts" | spread)" \
      "(aim <= 6)"
  done
  grep -E '/Data/[^">/]+' "$work/trace" | sed -E 's/^[0-9]+ +([a-z0-9_]+)\(.*/\1/' | sort | uniq -c
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
