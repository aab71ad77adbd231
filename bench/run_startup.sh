#!/usr/bin/env bash
# Start-up time of virelo against a bare Qt window, on a private X server.
# Usage: bench/run_startup.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup.sh

install_missing "${VIRELO_BUILD_PACKAGES[@]}" "${VIRELO_RUN_PACKAGES[@]}" xvfb libx11-dev \
    libxdamage-dev
dir=${1:-build}
[ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" --target virelo bench_bare_window bench_startup

# One settings folder for all starts: the warm-up start writes it, the measured ones read it.
scratch=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

# The first free display from :77 on; Xvfb writes the number to fd 3 once it accepts clients.
display=77
while :; do
    if [ ! -e "/tmp/.X$display-lock" ] && [ ! -e "/tmp/.X11-unix/X$display" ]; then
        Xvfb ":$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -displayfd 3 \
            3>"$scratch/ready" 2>"$scratch/xvfb.log" &
        xvfb=$!
        while kill -0 "$xvfb" 2>/dev/null && [ ! -s "$scratch/ready" ]; do sleep 0.05; done
        [ -s "$scratch/ready" ] && break
        wait "$xvfb" || true
        xvfb=
    fi
    display=$((display + 1))
    [ "$display" -lt 200 ] || {
        echo "No free X display found" >&2
        exit 1
    }
done

mkdir -m 700 "$scratch/runtime"
env DISPLAY=":$display" QT_QPA_PLATFORM=xcb HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" \
    XDG_RUNTIME_DIR="$scratch/runtime" \
    "$dir/bench/bench_startup" "$dir/bench/bench_bare_window" "$dir/bin/virelo"
