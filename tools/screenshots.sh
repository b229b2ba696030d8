#!/usr/bin/env bash
# Screenshots of the main window after start-up, of the channel window with a few channels
# filled (--demo), of File > Compare With... over those channels, of the communication window half way through a read of tq474-sim
# --line-timing, and of the memory window after a read that changed a few bytes, in Simplified
# Chinese and in English, under Xvfb with the real X platform.
# Usage: tools/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
build=${1:-build/dev}
out=${2:-docs}
mkdir -p "$out"
for lang in 1 3; do
  home=$(mktemp -d)
  cp "$build/bin/PX220_KR.exe" "$build/bin/TQ474.ini" "$home/"
  cp "$build/bin/"*Help.html "$home/" 2>/dev/null || true
  sed -i "s/^FirRun=.*/FirRun=0/; s/^Language=.*/Language=$lang/" "$home/TQ474.ini"
  suffix=$([ "$lang" = 1 ] && echo zh || echo en)
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
    "$build/tools/tq474-screenshot" --home "$home" "$out/main-window-$suffix.png" --demo --whole
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
    "$build/tools/tq474-screenshot" --home "$home" "$out/channel-window-$suffix.png" --demo
  # File > Compare With...: the demo channels against a new data set.
  "$build/bin/tq474-cli" --home "$home" new "$home/new.bin"
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
    "$build/tools/tq474-screenshot" --home "$home" "$out/compare-$suffix.png" --demo \
    --compare "$home/new.bin"
  # The read: port 3 is the simulated radio's pseudo-terminal; the radio holds the default data.
  "$build/bin/tq474-cli" --home "$home" new "$home/radio.dat"
  "$build/bin/tq474-sim" --line-timing --quiet --image "$home/radio.dat" --link "$home/radio" \
    >/dev/null &
  sim=$!
  sleep 0.5
  sed -i "s/^COM=.*/COM=3/; s|^\[Ports\].*|&\nCOM3=$home/radio|" "$home/TQ474.ini"
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
    "$build/tools/tq474-screenshot" --home "$home" "$out/communication-window-$suffix.png" --reading
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
    "$build/tools/tq474-screenshot" --home "$home" "$out/memory-window-$suffix.png" --memory
  kill "$sim"
  rm -rf "$home"
done
