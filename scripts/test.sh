#!/usr/bin/env bash
# Installs the dependencies, builds the dev preset (warnings are errors) and runs every test
# through ctest. Exits non-zero when the build or any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset dev
cmake --build --preset dev
QT_QPA_PLATFORM=offscreen ctest --preset dev --output-on-failure
