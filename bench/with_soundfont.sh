#!/bin/sh
# Usage: bench/with_soundfont.sh SOUNDFONT PROGRAM
# Starts PROGRAM in a mount namespace of its own in which the SoundFont folders hold SOUNDFONT
# alone, as the default General MIDI SoundFont; nothing outside the namespace sees the change.
set -e
as_root=
[ "$(id -u)" -eq 0 ] || as_root=--map-root-user
# Inside, the SoundFont is opened before its folder is hidden, then shown again through that
# descriptor.
exec unshare --mount $as_root sh -ec '
    exec 3<"$1"
    for folder in /usr/share/sounds /usr/share/soundfonts; do
        [ ! -d "$folder" ] || mount -t tmpfs none "$folder"
    done
    mkdir -p /usr/share/sounds/sf2
    : >/usr/share/sounds/sf2/default-GM.sf2
    mount --no-canonicalize --bind /proc/self/fd/3 /usr/share/sounds/sf2/default-GM.sf2
    exec 3<&-
    exec "$2"' sh "$1" "$2"
