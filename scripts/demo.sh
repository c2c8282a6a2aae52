#!/bin/sh
# Installs what is missing, builds, and runs a dialog session through pdehost over
# the sample T48 PPD, printing the panel's state.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" >/dev/null
exec build/host/pdehost --ppd PDE/Resources/T48.ppd show
