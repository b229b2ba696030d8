#!/usr/bin/env bash
# Installs what the TQ-474 programming tool needs to build, test and run, from Debian's
# packages. Runs apt-get as root, or through sudo for another user.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libqt6serialport6-dev
  libgtest-dev libgmock-dev libbenchmark-dev clang-format
  clang libclang-rt-14-dev
  fonts-wqy-zenhei xvfb xauth poppler-utils qt6-translations-l10n
  help2man desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
