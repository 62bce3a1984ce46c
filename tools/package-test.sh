#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# The Debian package from end to end, as a user gets it:
#   build it (cpack -G DEB in the release build), check it with lintian (no
#   errors or warnings), validate its desktop entry and AppStream metadata,
#   install it with apt-get, start /usr/bin/orvanta on a virtual X
#   server as a user whose XDG folders are temporary, check that the compass
#   shows and that its settings were saved in the user's folder, then remove
#   the package and check that nothing of it is left.
#
#   tools/package-test.sh [BUILD_DIR]
#
# Without BUILD_DIR it configures and builds the release preset in build/.
# Installing needs root: CI runs as root on a clean Debian 12; elsewhere sudo.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "package-test: $*" >&2
    exit 1
}

tools/setup.sh test
build="${1:-}"
if [ -z "$build" ]; then
    build=build
    cmake --preset release -G Ninja >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target orvanta
rm -f "$build"/orvanta_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/orvanta_*.deb)
deb="$(realpath "${debs[0]}")"
echo "== $deb"
dpkg-deb --field "$deb" Package Version Depends Recommends

echo "== lintian"
lintian --fail-on error,warning --info "$deb" || fail "lintian reports errors or warnings"

# What menus and software centres read, as the package ships it. validate-tree
# checks the component against the package's desktop entries too.
echo "== desktop entry and software-centre metadata"
tree="$(mktemp -d)"
dpkg-deb -x "$deb" "$tree"
# Hints and warnings count too: it exits 0 on them, so its report is what counts.
entry_report="$(desktop-file-validate "$tree"/usr/share/applications/*.desktop 2>&1)" || true
metainfo_ok=""
appstreamcli validate-tree --no-net "$tree" && metainfo_ok=yes
rm -rf "$tree"
[ -z "$entry_report" ] || fail "desktop-file-validate: $entry_report"
[ -n "$metainfo_ok" ] || fail "the AppStream metadata is not valid"

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if dpkg-query -W -f='${Status}' orvanta 2>/dev/null | grep -q "ok installed"; then
    fail "orvanta is installed already; remove it first"
fi

echo "== install"
$sudo apt-get install -y -qq "$deb" >/dev/null
installed_files="$(dpkg-query -L orvanta)"
[ -x /usr/bin/orvanta ] || fail "/usr/bin/orvanta is missing"
# The shared MIME database's trigger registered the skin package type, which
# the desktop entry opens with the program.
[ -f /usr/share/mime/application/x-compassskin.xml ] ||
    fail "the .compassskin file type was not registered"
grep -q '^MimeType=application/x-compassskin;' /usr/share/applications/orvanta.desktop ||
    fail "the desktop entry does not open .compassskin files"

work="$(mktemp -d)"
display=":$((90 + RANDOM % 100))"
xvfb=""
compass=""
cleanup() {
    [ -n "$compass" ] && kill "$compass" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "== run as a user on $display"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xsetroot -solid '#204080'
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_CACHE_HOME="$work/cache"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Orvanta"
# Placed where the check looks, without the splash; everything else is new.
printf '[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nX=300\r\nY=250\r\n' \
    >"$XDG_CONFIG_HOME/Orvanta/Compass.ini"

/usr/bin/orvanta &
compass=$!
pixel() { import -window root -crop 1x1+326+278 -depth 8 txt:- 2>/dev/null | tail -1; }
shown=""
for _ in $(seq 100); do
    if ! pixel | grep -qi '#204080'; then
        shown=yes
        break
    fi
    sleep 0.1
done
[ -n "$shown" ] || fail "the installed compass did not show"
xdotool mousemove 326 278 click 1
xdotool key Right q
for _ in $(seq 80); do kill -0 "$compass" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$compass" 2>/dev/null; then fail "the program did not quit"; fi
wait "$compass" || fail "the program exited with an error"
compass=""
options="$XDG_CONFIG_HOME/Orvanta/Compass.ini"
grep -q '^X=301' "$options" || fail "the options were not saved in $options"
grep -q '^StayOnTop=' "$options" || fail "the options were not saved in $options"
[ -f "$XDG_CONFIG_HOME/Orvanta/distances.ini" ] || fail "the units were not saved"
echo "shown, and saved in $XDG_CONFIG_HOME/Orvanta"

echo "== remove"
$sudo apt-get remove -y -qq orvanta >/dev/null
if dpkg-query -W -f='${Status}' orvanta 2>/dev/null | grep -q "ok installed"; then
    fail "orvanta is still installed"
fi
left=""
while IFS= read -r path; do
    if [ -f "$path" ] || [ -L "$path" ]; then left+="$path"$'\n'; fi
done <<<"$installed_files"
if [ -d /usr/share/orvanta ]; then left+="/usr/share/orvanta"$'\n'; fi
if [ -f /usr/share/mime/application/x-compassskin.xml ]; then
    left+="the .compassskin file type"$'\n'
fi
[ -z "$left" ] || fail "left behind after removal:"$'\n'"$left"
echo "removed cleanly"
