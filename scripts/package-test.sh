#!/bin/sh
# Builds the Debian packages from this tree, checks them with lintian (no error allowed),
# installs them on this machine, checks that the preferences folder is 1777 root:root and
# that a reinstall repairs it, runs the demo against the installed programs only,
# purges them and checks that none of their files is left and that the machine's CUPS
# configuration (/etc/cups) is as before. Needs root: it installs packages. The packages
# are purged on every exit, also when a step fails.
set -eu
cd "$(dirname "$0")/.."
PACKAGES="t48-color-options t48-color-options-tools t48-print-dialog t48-printer-sim"
work=$(mktemp -d /tmp/t48-package.XXXXXX)
installed=""

# Every entry of /etc/cups with its type, mode, owner and link target, and every file's hash.
cups_state() {
    if [ ! -d /etc/cups ]; then
        echo "no /etc/cups"
        return
    fi
    find /etc/cups -printf '%p %y %m %u:%g %l\n' | LC_ALL=C sort
    find /etc/cups -type f -exec sha256sum {} + | LC_ALL=C sort
}

purge() {
    if [ -n "$installed" ]; then
        installed=""
        dpkg --purge $PACKAGES >"$work/purge.log" 2>&1 || { cat "$work/purge.log"; return 1; }
    fi
}

cleanup() {
    status=$?
    purge || status=1
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

echo "== package: build (tests, benchmarks and fuzz targets left out)"
mkdir "$work/src"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard | tar --null -T - -cf - | tar -x -C "$work/src"
else
    tar --exclude='./build*' --exclude=./.git -cf - . | tar -x -C "$work/src"
fi
start=$(date +%s)
(cd "$work/src" && DEB_BUILD_OPTIONS="nocheck noddebs parallel=$(nproc)" \
    dpkg-buildpackage -us -uc -b >"$work/build.log" 2>&1) || {
    tail -40 "$work/build.log"
    exit 1
}
echo "built in $(($(date +%s) - start)) s:" "$work"/*.deb | sed "s|$work/||g"

echo "== package: lintian"
lint=0
lintian --fail-on error --display-info "$work"/*.changes >"$work/lintian.log" 2>&1 || lint=$?
grep -v "^running with root privileges" "$work/lintian.log" || true
[ "$lint" -eq 0 ] || { echo "package: lintian found errors" >&2; exit 1; }

echo "== package: install"
debs=$(ls "$work"/*.deb)
for deb in $debs; do
    dpkg-deb --fsys-tarfile "$deb" | tar -t
done | sed -e 's|^\./|/|' -e 's|/$||' -e '/^$/d' | LC_ALL=C sort -u >"$work/paths"
# The paths of the packages that are there already: those may stay after the purge.
while read -r path; do
    [ ! -e "$path" ] || echo "$path"
done <"$work/paths" >"$work/paths-before"
cups_state >"$work/cups-before"
installed=yes
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $debs \
    >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
dpkg-query -W $PACKAGES

echo "== package: the preferences folder"
folder=/var/lib/t48/orvell.printers.T48
state() { stat -c '%a %U:%G' "$1"; }
expect_folder() {
    if [ "$(state "$folder")" != "1777 root:root" ] || [ "$(state /var/lib/t48)" != "755 root:root" ]; then
        echo "package: $1: the preferences folder is $(state "$folder"), its parent $(state /var/lib/t48)" >&2
        exit 1
    fi
}
expect_folder "installed"
# A wrong mode, and a profile file an earlier version left writable by its group: a
# reinstall puts both right (dpkg alone keeps an existing folder's mode).
chmod 0755 "$folder"
planted="$folder/nobody-T48-profile.plist"
: >"$planted"
chown nobody:nogroup "$planted"
chmod 0664 "$planted"
dpkg -i "$work"/t48-color-options_*.deb >"$work/reinstall.log" 2>&1 || { cat "$work/reinstall.log"; exit 1; }
expect_folder "reinstalled"
if [ "$(state "$planted")" != "600 nobody:nogroup" ]; then
    echo "package: reinstalled: a group-writable profile file is $(state "$planted")" >&2
    exit 1
fi
rm -f "$planted"
# A deleted folder comes back at boot through the package's tmpfiles.d entry.
if command -v systemd-tmpfiles >/dev/null; then
    rm -rf /var/lib/t48
    systemd-tmpfiles --create t48-color-options.conf
    expect_folder "deleted and made again by systemd-tmpfiles"
fi
echo "package: the preferences folder is 1777 root:root, also after a reinstall"

echo "== package: the demo with the installed programs"
scripts/demo.sh --installed
# The installed print dialog starts, and without a display says so and ends with status 2.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY t48-print-dialog 2>"$work/dialog.err" || status=$?
if [ "$status" -ne 2 ] || [ "$(wc -l <"$work/dialog.err")" -ne 1 ]; then
    echo "package: t48-print-dialog without a display: status $status" >&2
    cat "$work/dialog.err" >&2
    exit 1
fi

echo "== package: purge"
purge
left=$(while read -r path; do
    [ ! -e "$path" ] && [ ! -L "$path" ] || grep -qxF "$path" "$work/paths-before" || echo "$path"
done <"$work/paths")
# What the maintainer scripts made: the profile files, the user socket's enabling link.
for path in /var/lib/t48 /etc/systemd/user/sockets.target.wants/t48-xpcservice.socket \
    $(find /var/lib/systemd/deb-systemd-user-helper-enabled -name '*t48*' 2>/dev/null); do
    [ ! -e "$path" ] && [ ! -L "$path" ] || left="$left $path"
done
if [ -n "$left" ]; then
    echo "package: left after the purge:" $left >&2
    exit 1
fi
cups_state >"$work/cups-after"
if ! diff "$work/cups-before" "$work/cups-after"; then
    echo "package: /etc/cups changed" >&2
    exit 1
fi
echo "package: purged; no file of the packages left, /etc/cups as before"
