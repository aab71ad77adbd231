#!/usr/bin/env bash
# Start-up time of virelo against a bare Qt window, and what loading its SoundFont adds to it, on a
# private X server.
# Usage: bench/run_startup.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup.sh
. bench/lib.sh

install_missing "${VIRELO_BUILD_PACKAGES[@]}" "${VIRELO_RUN_PACKAGES[@]}" xvfb libx11-dev \
    libxdamage-dev
dir=${1:-build}
[ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" --target virelo bench_bare_window bench_startup

# One settings folder for all starts: the warm-up start writes it, the measured ones read it.
scratch=$(mktemp -d)
cleanup() {
    stop_private_xvfb
    rm -rf "$scratch"
}
trap cleanup EXIT
start_private_xvfb "$scratch"
use_scratch_home "$scratch"

"$dir/bench/bench_startup" "$dir/bench/bench_bare_window" "$dir/bin/virelo"

# The program has no switch to skip its SoundFont, so both starts below go through the same
# wrapper into a mount namespace of their own: one with the SoundFont folders hidden, the other
# with only an unused folder hidden.
echo
if ! namespaces_work; then
    echo "no mount namespaces here: what the SoundFont load adds to start-up is not measured"
    exit 0
fi
hidden=()
for folder in /usr/share/sounds /usr/share/soundfonts; do
    [ -d "$folder" ] && hidden+=("$folder")
done
if [ ${#hidden[@]} -eq 0 ]; then
    echo "no SoundFont folders here: what the SoundFont load adds to start-up is not measured"
    exit 0
fi
virelo=$(realpath "$dir/bin/virelo")
mkdir "$scratch/unused"
wrapper "$scratch/virelo-with-soundfont" "$PWD/bench/hide_folders.sh" "$virelo" "$scratch/unused"
wrapper "$scratch/virelo-without-soundfont" "$PWD/bench/hide_folders.sh" "$virelo" "${hidden[@]}"
"$dir/bench/bench_startup" "$scratch/virelo-without-soundfont" "$scratch/virelo-with-soundfont"
