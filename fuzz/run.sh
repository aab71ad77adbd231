#!/usr/bin/env bash
# Runs every fuzz target for the given seconds, starting from its seeds in fuzz/corpus/<target>/.
# New inputs are kept in <build>/corpus/, inputs that crash or hang in <build>/findings/.
# Usage: fuzz/run.sh <fuzz build tree> [seconds per target, default 10]
set -euo pipefail
build=$1
seconds=${2:-10}
seeds=$(cd "$(dirname "$0")" && pwd)/corpus

status=0
for target in timetext midiplayer browsercommand pianosoundfont; do
    mkdir -p "$build/corpus/$target" "$build/findings"
    log=$build/$target.log
    # An input that takes half a minute hangs: none needs more than a second even on a busy machine.
    if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=30 \
        -artifact_prefix="$build/findings/$target-" "$build/corpus/$target" "$seeds/$target" \
        >"$log" 2>&1; then
        echo "fuzz_$target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log")"
    else
        echo "fuzz_$target found a problem:" >&2
        tail -n 40 "$log" >&2
        status=1
    fi
done
exit $status
