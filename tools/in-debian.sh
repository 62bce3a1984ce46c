#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Runs a command of this source tree inside a Debian root of the release
# named, on this machine: tests and the desktop matrix on Debian 13 from a
# Debian 12 machine, or the other way round.
#
#   tools/in-debian.sh [--worktree] RELEASE COMMAND...     RELEASE: 12 or 13
#
# e.g. tools/in-debian.sh 13 tools/test.sh
#      tools/in-debian.sh 13 tools/desktop-matrix.sh --install gnome-wayland sway
#
# The root is made once with debootstrap --variant=minbase from this machine's
# own Debian mirror and kept in $ORVANTA_DEBIAN_ROOTS (default
# /var/cache/orvanta), with every package installed into it, for the next run.
# The command runs on a copy of the checkout's committed HEAD (--worktree: the
# working tree as it is, uncommitted changes and new files included) kept in
# the root, so the host's build folders are never seen and the root's own
# build folder is reused. The command runs as root in its own network
# namespace: X servers inside listen on abstract sockets that never meet the
# host's, and nothing inside reaches the network. tools/setup.sh, run inside,
# hands its apt-get installs to this script, which does them with the host's
# network. Needs root (sudo is used when needed), debootstrap, chroot, unshare.
set -euo pipefail

usage() {
    sed -n '9,12p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

worktree=""
while [[ ${1:-} == --* ]]; do
    case $1 in
    --worktree) worktree=yes ;;
    *) usage ;;
    esac
    shift
done
[ $# -ge 2 ] || usage
release=$1
shift
case $release in
12) codename=bookworm ;;
13) codename=trixie ;;
*)
    echo "in-debian: unknown release '$release' (12 or 13)" >&2
    exit 2
    ;;
esac

if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" ${worktree:+--worktree} "$release" "$@"
fi
export PATH="/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin"

top=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)

# Every mount below lives in a mount namespace of this run alone: a run that is
# killed leaves none behind, and two runs in one root do not meet.
if [ -z "${ORVANTA_IN_DEBIAN_NS:-}" ]; then
    export ORVANTA_IN_DEBIAN_NS=1
    exec unshare --mount --propagation private -- "$0" ${worktree:+--worktree} "$release" "$@"
fi

cache=${ORVANTA_DEBIAN_ROOTS:-/var/cache/orvanta}
root=$cache/debian-$release
mkdir -p "$cache"

# ---------------------------------------------------------------- the mirror

# This machine's own Debian mirror (and its security mirror), from apt's
# sources: deb822 files first, then the one-line format.
mirror_of() { # security|main
    local want=$1 uri
    for uri in $(
        cat /etc/apt/sources.list.d/*.sources 2>/dev/null | sed -n 's/^URIs:[[:space:]]*//p'
        cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z+]+:\/\//) { print $i; break } }'
    ); do
        if [[ $uri == *security* ]]; then [ "$want" = security ] && echo "$uri" && return; else
            [ "$want" = main ] && echo "$uri" && return
        fi
    done
    return 0
}
mirror=$(mirror_of main)
security=$(mirror_of security)
mirror=${mirror:-http://deb.debian.org/debian}
security=${security:-http://deb.debian.org/debian-security}

# ---------------------------------------------------------------- the root

exec 8>"$root.lock"
flock 8
if [ ! -e "$root/.orvanta-root" ]; then
    echo "in-debian: making a Debian $release ($codename) root in $root from $mirror" >&2
    rm -rf "$root.new"
    debootstrap --variant=minbase "$codename" "$root.new" "$mirror" >"$root.log" 2>&1 || {
        tail -n 20 "$root.log" >&2
        echo "in-debian: debootstrap failed (the whole log: $root.log)" >&2
        exit 1
    }
    rm -f "$root.new/etc/apt/sources.list"
    cat >"$root.new/etc/apt/sources.list.d/debian.sources" <<EOF
Types: deb
URIs: $mirror
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: $security
Suites: $codename-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    # Packages installed here start no services.
    printf '#!/bin/sh\nexit 101\n' >"$root.new/usr/sbin/policy-rc.d"
    chmod 755 "$root.new/usr/sbin/policy-rc.d"
    # D-Bus wants a machine id.
    tr -d - </proc/sys/kernel/random/uuid >"$root.new/etc/machine-id"
    grep -qs localhost "$root.new/etc/hosts" || echo "127.0.0.1 localhost" >>"$root.new/etc/hosts"
    rm -rf "$root"
    mv "$root.new" "$root"
    touch "$root/.orvanta-root"
fi
flock -u 8
cp /etc/resolv.conf "$root/etc/resolv.conf"

# ---------------------------------------------------------------- mounts

mounted=()
apt_server=""
# shellcheck disable=SC2317 # run by the traps
cleanup() {
    local i
    [ -z "$apt_server" ] || kill "$apt_server" 2>/dev/null || true
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
    done
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

mount_in() { # TARGET MOUNT-ARGUMENTS...
    local target=$root$1
    shift
    mkdir -p "$target"
    mount "$@" "$target"
    mounted+=("$target")
}
mount_in /proc -t proc proc
mount_in /sys --bind /sys
mount -o remount,bind,ro "$root/sys"
mount_in /dev --bind /dev
mount_in /dev/pts --bind /dev/pts
mount_in /dev/shm -t tmpfs -o mode=1777,nosuid,nodev tmpfs
mount_in /run -t tmpfs -o mode=755,nosuid,nodev tmpfs
mount_in /tmp -t tmpfs -o mode=1777,nosuid,nodev tmpfs
# As a booted system has them (systemd-tmpfiles): an XWayland started by a
# compositor that does not run as root cannot make its socket folder itself.
install -d -m 1777 "$root/tmp/.X11-unix" "$root/tmp/.ICE-unix"

# ---------------------------------------------------------------- the source tree

# One copy per checkout, kept in the root with its build folders.
name="$(basename "$top")-$(printf '%s' "$top" | sha1sum | cut -c1-8)"
inside=/src/$name
src=$root$inside
exec 7>"$root/src.$name.lock"
flock -n 7 || {
    echo "in-debian: waiting for another run on $src" >&2
    flock 7
}
[ -d "$src/.git" ] || git clone -q --no-checkout "$top" "$src"
git -C "$src" fetch -q "$top" HEAD
git -C "$src" checkout -q -f --detach FETCH_HEAD
git -C "$src" clean -q -ffdx -e '/build*/'
if [ -n "$worktree" ]; then
    # Only files that differ are written, so the build inside sees what changed.
    while IFS= read -r -d '' f; do
        if [ -f "$top/$f" ]; then
            cmp -s "$top/$f" "$src/$f" || {
                mkdir -p "$(dirname "$src/$f")"
                cp "$top/$f" "$src/$f"
            }
        else
            rm -f "$src/$f"
        fi
    done < <(
        git -C "$top" diff -z --name-only --no-renames HEAD
        git -C "$top" ls-files -z -o --exclude-standard
    )
fi

# ---------------------------------------------------------------- installs

# tools/setup.sh inside writes the packages it misses to the request pipe and
# waits for the status on the reply pipe.
apt_dir=$root/run/orvanta-apt
mkdir -p "$apt_dir"
mkfifo "$apt_dir/request" "$apt_dir/reply"
install_in_root() {
    local lists=$root/var/lib/apt/lists
    if [ -z "$(find "$lists" -maxdepth 1 -name '*Packages*' -mmin -720 -print -quit)" ]; then
        chroot "$root" apt-get update -qq || return
    fi
    # shellcheck disable=SC2086 # one word a package
    chroot "$root" env DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 \
        apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 $1
}
serve_apt() {
    local packages status
    while read -r packages <"$apt_dir/request"; do
        status=0
        install_in_root "$packages" >&2 || status=$?
        echo "$status" >"$apt_dir/reply"
    done
}
serve_apt &
apt_server=$!

# Builds inside share one compiler cache in the root, whichever checkout they
# come from: a fresh clone's first build there is then quick too. Our targets
# use precompiled headers, which ccache takes only with this sloppiness.
# shellcheck disable=SC2016 # dpkg-query expands it
if ! chroot "$root" dpkg-query -W -f='${Status}' ccache 2>/dev/null | grep -q "ok installed"; then
    install_in_root ccache >&2
fi

# ---------------------------------------------------------------- the command

echo "in-debian: Debian $release: $* (in $src)" >&2
status=0
# shellcheck disable=SC2016 # expanded by the shell inside
unshare --net -- bash -c 'ip link set lo up && exec "$@"' _ \
    chroot "$root" env -i PATH="$PATH" HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 \
    ORVANTA_APT_REQUEST=/run/orvanta-apt/request ORVANTA_APT_REPLY=/run/orvanta-apt/reply \
    CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_DIR=/var/cache/ccache CCACHE_BASEDIR=/src \
    CCACHE_SLOPPINESS=pch_defines,time_macros \
    bash -c 'cd "$1" && shift && exec "$@"' _ "$inside" "$@" || status=$?
echo "in-debian: Debian $release: '$*' ended with status $status; the tree is $src" >&2
exit "$status"
