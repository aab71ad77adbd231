#!/usr/bin/env bash
# What a distribution checks before it takes the package: the desktop entry, the AppStream data,
# and lintian on the Debian package that cpack builds from a configured build tree. Fails on any
# error or warning.
# Usage: packaging/check.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")

failed=0
# expect_clean <name> <command...>: the command must succeed without printing anything worse than
# a note (lines starting "I:" or "P:", and the validator's closing verdict).
expect_clean() {
    local name=$1 output status=0
    shift
    output=$("$@" 2>&1) || status=$?
    local complaints
    complaints=$(grep -vE '^(I|P): |^ |^$|Validation was successful|root privileges' <<<"$output" ||
        true)
    if [ "$status" -ne 0 ] || [ -n "$complaints" ]; then
        echo "$name: not clean (exit $status)"
        echo "$output"
        failed=1
    else
        echo "$name: clean"
    fi
}

expect_clean desktop-file-validate desktop-file-validate packaging/virelo.desktop
expect_clean "appstreamcli validate" appstreamcli validate --no-net \
    packaging/example.virelo.Virelo.metainfo.xml

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -B "$scratch" >"$scratch/cpack.log") || {
    cat "$scratch/cpack.log"
    exit 1
}
expect_clean lintian lintian --fail-on error,warning "$scratch"/*.deb
# The music font is needed, not one of a choice: without its signs no key can be offered.
depends=$(dpkg-deb -f "$scratch"/*.deb Depends)
if grep -qE '(^|, )fonts-oflb-euterpe(,|$)' <<<"$depends"; then
    echo "Depends: the music font"
else
    echo "Depends lacks fonts-oflb-euterpe on its own: $depends"
    failed=1
fi
exit "$failed"
