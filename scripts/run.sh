#!/usr/bin/env bash
# Installs the dependencies, builds the release preset and starts the tool: for now the headless
# tq474-cli, which makes a new data set from the default image and shows it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release
bin=build/release/bin
"$bin/tq474-cli" new "$bin/Data/New.dat"
exec "$bin/tq474-cli" show "$bin/Data/New.dat"
