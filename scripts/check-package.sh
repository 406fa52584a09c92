#!/usr/bin/env bash
# Checks a built Debian package the way an installed copy will be used:
# unpacked into a scratch root, its programs run from there without a display.
# Usage: scripts/check-package.sh orvex_<version>_<arch>.deb
set -euo pipefail

deb=${1:?usage: $0 PACKAGE.deb}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

fail() { echo "check-package: $*" >&2; exit 1; }

dpkg-deb -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
bin=$root/usr/bin
export QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY

for program in orvex orvex-editor orvex-sim; do
    [ "$("$bin/$program" --version)" = "$program $version" ] || fail "$program --version does not say $version"
    [ -s "$root/usr/share/man/man1/$program.1.gz" ] || fail "no manual page for $program"
done

"$bin/orvex" render - 0 "本日のニュース" "$root/title.zvx" || fail "orvex render failed"
[ "$(head -c 11 "$root/title.zvx")" = "ZelkoVXData" ] || fail "orvex render wrote no title"

desktop-file-validate "$root/usr/share/applications/orvex-editor.desktop" || fail "desktop entry is invalid"
[ -s "$root/usr/share/icons/hicolor/scalable/apps/orvex-editor.svg" ] || fail "no icon"
grep -q 'type="application/x-orvex-zvx"' "$root/usr/share/mime/packages/orvex.xml" || fail "no .zvx type"
metainfo=$root/usr/share/metainfo/org.example.orvex.editor.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "software centre entry is invalid"
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
[ -s "$root/usr/share/applications/$launchable" ] || fail "software centre entry launches \"$launchable\", not installed"

# The libraries come from dpkg-shlibdeps; the rest is named by hand.
for dependency in libqt6widgets6 libqt6serialport6 fonts-ipafont-gothic qt6-translations-l10n; do
    [[ $depends == *"$dependency"* ]] || fail "Depends lacks $dependency: $depends"
done

echo "check-package: $deb is fine"
