# Shared by the benchmark scripts: a private X server and a scratch home for the programs they
# measure, so that neither the user's desktop nor their settings take part.

# start_private_xvfb <scratch-folder>: starts Xvfb on the first free display and exports DISPLAY;
# XVFB_PID holds its process. VIRELO_BENCH_DISPLAYS ("first-last") limits the displays tried.
start_private_xvfb() {
    local scratch=$1
    local range=${VIRELO_BENCH_DISPLAYS:-77-199}
    local display=${range%-*}
    local last=${range#*-}
    for (( ; display <= last; display++)); do
        [ ! -e "/tmp/.X$display-lock" ] && [ ! -e "/tmp/.X11-unix/X$display" ] || continue
        # Xvfb writes the number to fd 3 once it accepts clients.
        Xvfb ":$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -displayfd 3 \
            3>"$scratch/xvfb-ready" 2>"$scratch/xvfb.log" &
        XVFB_PID=$!
        while kill -0 "$XVFB_PID" 2>/dev/null && [ ! -s "$scratch/xvfb-ready" ]; do sleep 0.05; done
        if [ -s "$scratch/xvfb-ready" ]; then
            export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
            return 0
        fi
        # Another server took the display meanwhile.
        wait "$XVFB_PID" || true
        XVFB_PID=
    done
    echo "No free X display in $range" >&2
    return 1
}

stop_private_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    fi
    return 0
}

# use_scratch_home <scratch-folder>: settings and runtime files go there, not to the user's.
use_scratch_home() {
    mkdir -p -m 700 "$1/runtime"
    export HOME=$1 XDG_CONFIG_HOME=$1/config XDG_RUNTIME_DIR=$1/runtime
}

# wrapper <file> <command...>: writes a program to <file> that runs the command, for benchmarks
# that start a program by its file name alone.
wrapper() {
    local file=$1
    shift
    {
        echo '#!/usr/bin/env bash'
        printf 'exec'
        printf ' %q' "$@"
        echo
    } >"$file"
    chmod +x "$file"
}

# namespaces_work: whether mount namespaces can be made here, as the SoundFont switches need.
namespaces_work() {
    unshare --mount true 2>/dev/null || unshare --mount --map-root-user true 2>/dev/null
}
