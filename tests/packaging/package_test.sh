#!/usr/bin/env bash
# The Debian package as a user's machine gets it: its control fields, the files it installs and
# where, and the desktop files and manual pages checked by their own tools.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; fail "cpack"; }
deb=$(ls "$out"/tq474_*_*.deb)
[ "$(basename "$deb")" = "tq474_$(dpkg-deb -f "$deb" Version)_$(dpkg --print-architecture).deb" ] ||
  fail "package name $(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Package)" = tq474 ] || fail "Package"
[ "$(dpkg-deb -f "$deb" Section)" = hamradio ] || fail "Section"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6serialport6' || fail "Depends lacks the serial port"
dpkg-deb -f "$deb" Description | grep -q 'dialout' || fail "Description lacks the port group"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/tq474 ./usr/bin/tq474-cli ./usr/bin/tq474-sim \
  ./usr/share/tq474/TQ474.ini ./usr/share/tq474/PX220_KR.exe ./usr/share/tq474/EngHelp.html \
  ./usr/share/tq474/ChsHelp.html ./usr/share/tq474/ChtHelp.html \
  ./usr/share/applications/net.tq474.TQ474.desktop \
  ./usr/share/metainfo/net.tq474.TQ474.metainfo.xml ./usr/share/mime/packages/tq474.xml \
  ./usr/share/icons/hicolor/scalable/apps/tq474.svg ./usr/share/icons/hicolor/16x16/apps/tq474.png \
  ./usr/share/icons/hicolor/256x256/apps/tq474.png ./usr/share/doc/tq474/copyright \
  ./usr/share/man/man1/tq474.1.gz ./usr/share/man/man1/tq474-cli.1.gz \
  ./usr/share/man/man1/tq474-sim.1.gz; do
  grep -qxF "$f" <<<"$files" || fail "missing $f"
done

dpkg-deb -x "$deb" "$out/root"
share="$out/root/usr/share"
desktop-file-validate "$share/applications/net.tq474.TQ474.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$share/metainfo/net.tq474.TQ474.metainfo.xml" || fail "metainfo"
for page in tq474 tq474-cli tq474-sim; do
  text=$(MANWIDTH=80 man -l "$share/man/man1/$page.1.gz" 2>/dev/null)
  grep -q "^NAME" <<<"$text" || fail "$page(1) does not render"
  grep -q -- "--help" <<<"$text" || fail "$page(1) lacks its options"
done
# The unpacked package runs from anywhere: its programs find their shipped files.
"$out/root/usr/bin/tq474-cli" --version | grep -q "defaults: $out/root/usr/share/tq474" ||
  fail "the unpacked tq474-cli does not find ../share/tq474"
echo "package ok: $(basename "$deb")"
