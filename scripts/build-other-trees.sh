#!/usr/bin/env bash
# Configures and builds the two trees ./test needs beside the build as used: the suites under
# AddressSanitizer and UndefinedBehaviorSanitizer in build/sanitize, the libFuzzer targets in
# build/fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup.sh

build_tree build/sanitize -DCMAKE_BUILD_TYPE=Debug -DVIRELO_SANITIZE=ON
build_tree build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIRELO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14
