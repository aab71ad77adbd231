# Shared by ./run and ./test: install what is missing, then configure and build a tree.

# Debian packages needed to build the program and to run it.
VIRELO_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libfluidsynth-dev libasound2-dev
    librtmidi-dev libjack-jackd2-dev qt6-charts-dev libqt6opengl6-dev libaubio-dev librtaudio-dev libpulse-dev
    qt6-tools-dev qt6-l10n-tools ccache)
VIRELO_RUN_PACKAGES=(timgm6mb-soundfont fonts-liberation libqt6svg6 fonts-oflb-euterpe xdg-utils qt6-translations-l10n
    librtmidi6 libqt6sql6-sqlite libqt6charts6 libaubio5 librtaudio6)
# Only for the tests: a private sound server and its recorder; clang with libFuzzer for fuzzing.
VIRELO_TEST_PACKAGES=(pulseaudio pulseaudio-utils clang-14 libclang-rt-14-dev)
# The end-to-end test: an X server of its own, xdotool and xprop, a session bus and the
# accessibility bus; a window manager, since learners have one.
VIRELO_TEST_PACKAGES+=(xvfb xdotool x11-utils dbus-daemon at-spi2-core openbox)
# The notes must sound right with Debian's large General MIDI SoundFont as well as the small one;
# the microphone is tried on the instruments of two SoundFonts.
VIRELO_TEST_PACKAGES+=(fluid-soundfont-gm musescore-general-soundfont-small)
# What a distribution checks of the package: lintian, the AppStream and desktop entry validators.
VIRELO_TEST_PACKAGES+=(lintian appstream desktop-file-utils)
# MIDI keys end to end: a JACK server of the test's own (its question about real-time priority is
# answered with the default, as installs here are non-interactive).
VIRELO_TEST_PACKAGES+=(jackd2)

# Installs the named Debian packages that are not installed yet, as root or through sudo.
install_missing() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || {
            echo "Please install as root: apt-get install ${missing[*]}" >&2
            return 1
        }
        as_root=(sudo)
    fi
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# build_tree <dir> [cmake options...]: configures once, then builds incrementally. Compiled
# through ccache, which keys on paths below the checkout, so a fresh clone or another tree
# reuses what was compiled before.
build_tree() {
    local dir=$1
    shift
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
            -DCMAKE_C_COMPILER_LAUNCHER=ccache "$@" >/dev/null
    fi
    cmake --build "$dir"
}
