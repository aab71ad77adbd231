#!/bin/sh
# Usage: bench/hide_folders.sh PROGRAM [FOLDER...]
# Starts PROGRAM in a mount namespace of its own in which an empty folder lies over each FOLDER;
# nothing outside the namespace sees the change.
set -e
program=$1
shift
as_root=
[ "$(id -u)" -eq 0 ] || as_root=--map-root-user
exec unshare --mount $as_root sh -c \
    'program=$1; shift; for f; do mount -t tmpfs none "$f"; done; exec "$program"' sh "$program" "$@"
