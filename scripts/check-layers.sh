#!/usr/bin/env bash
# The layers of src/ are kept by the build's include folders, which cannot see two things: an
# include that climbs out of its folder ("../") and a Qt header of a module the layer must not use
# (a widget in the exercise's core, SQL outside the record). This finds both; it exits non-zero
# and names each offending line. Given a built tree, it also checks that main.cpp, which wires the
# layers through their public headers, sees none of the sound and MIDI back ends' headers.
# Usage: scripts/check-layers.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."

qt_include=$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)

# The Qt modules each layer may include from.
allowed_modules() {
    case $1 in
    training | platform | feedback | input) echo "QtCore" ;;
    history) echo "QtCore QtSql" ;;
    widgets) echo "QtCore QtGui QtWidgets QtSvg" ;;
    settings | help | keyboard | forms) echo "QtCore QtGui QtWidgets" ;;
    statistics) echo "QtCore QtGui QtWidgets QtCharts" ;;
    *) echo "" ;;
    esac
}

# The module a Qt header belongs to: named in the include, or the folder that holds the header.
module_of() {
    local header=$1
    if [[ $header == Qt*/* ]]; then
        echo "${header%%/*}"
        return
    fi
    local found
    found=$(compgen -G "$qt_include/Qt*/$header" | head -n 1 || true)
    [ -n "$found" ] && basename "$(dirname "$found")"
}

failed=0
while IFS= read -r -d '' file; do
    layer=$(cut -d/ -f2 <<<"$file")
    allowed=" $(allowed_modules "$layer") "
    while IFS=: read -r line text; do
        if [[ $text =~ \#include\ *[\"\<][^\"\>]*\.\./ ]]; then
            echo "$file:$line: climbs out of its folder: $text"
            failed=1
        elif [[ $text =~ \#include\ *\<(Q[A-Za-z/]*)\> ]]; then
            module=$(module_of "${BASH_REMATCH[1]}")
            if [ -n "$module" ] && [[ $allowed != *" $module "* ]]; then
                echo "$file:$line: $module is not for the $layer layer: $text"
                failed=1
            fi
        fi
    done < <(grep -n '#include' "$file")
done < <(find src -mindepth 2 \( -name '*.h' -o -name '*.cpp' \) -print0)

if [ -n "${1:-}" ]; then
    backends=$(ninja -C "$1" -t deps src/CMakeFiles/virelo.dir/main.cpp.o |
        grep -oE '/(alsa|rtaudio|aubio|rtmidi|jack|fluidsynth)[^ ]*\.h' | sort -u || true)
    if [ -n "$backends" ]; then
        echo "main.cpp sees back ends' headers through public headers:"
        echo "$backends"
        failed=1
    fi
fi

[ "$failed" -eq 0 ] && echo "layers: clean"
exit "$failed"
