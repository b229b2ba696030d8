#!/usr/bin/env bash
# Screenshots of the main window after start-up, of the channel window with a few channels
# filled (--demo), of File > Compare With... over those channels, of the preview of File > Import
# Channels..., of the communication window half way through a read of tq474-sim
# --line-timing, and of the memory window after a read that changed a few bytes, in Simplified
# Chinese and in English, under Xvfb with the real X platform; in Traditional Chinese the main
# and the channel window only.
# Usage: tools/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
build=${1:-build/dev}
out=${2:-docs}
mkdir -p "$out"
for lang in 1 2 3; do
  home=$(mktemp -d)
  cp "$build/bin/PX220_KR.exe" "$build/bin/TQ474.ini" "$home/"
  cp "$build/bin/"*Help.html "$home/" 2>/dev/null || true
  sed -i "s/^FirRun=.*/FirRun=0/; s/^Language=.*/Language=$lang/" "$home/TQ474.ini"
  case $lang in
    1) suffix=zh ;;
    2) suffix=zht ;;
    *) suffix=en ;;
  esac
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
    "$build/tools/tq474-screenshot" --home "$home" "$out/main-window-$suffix.png" --demo --whole
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
    "$build/tools/tq474-screenshot" --home "$home" "$out/channel-window-$suffix.png" --demo
  if [ "$lang" = 2 ]; then
    rm -rf "$home"
    continue
  fi
  # File > Compare With...: the demo channels against a new data set.
  "$build/bin/tq474-cli" --home "$home" new "$home/new.bin"
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
    "$build/tools/tq474-screenshot" --home "$home" "$out/compare-$suffix.png" --demo \
    --compare "$home/new.bin"
  # File > Import Channels...: the preview of a channel list with one row it cannot take.
  printf '%s\n' 'Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE' \
    '1,,446.006250,,0.600000,TSQL,67.0,67.0,023,NN,023,Tone->Tone,NFM,6.25,,0.5W,,,,,' \
    '2,,445.725000,-,5.000000,Tone,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,' \
    '3,,435.000000,split,438.500000,Cross,88.5,88.5,023,NR,754,DTCS->DTCS,NFM,5.00,,1.0W,,,,,' \
    '4,,462.550000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,S,5.0W,,,,,' \
    '5,,446.1,,,AM-ish,,,,,,,,,,,,,,,' >"$home/plan.csv"
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
    "$build/tools/tq474-screenshot" --home "$home" "$out/import-preview-$suffix.png" \
    --import "$home/plan.csv"
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
