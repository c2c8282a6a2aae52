#!/bin/sh
# Builds the Debian packages from this tree, checks them with lintian (no error allowed),
# installs the previous version's packages, makes a queue from its PPD on a cupsd of the
# test's own and one whose PPD offers its printer's profiles (t48-queue-profiles, the
# printer simulated by snmpd with the packages' t48-printer-sim), upgrades to the packages
# built here and checks that both queues have the new PPD with their default options kept
# and the second its printer's profiles as the printer now holds them, checks that the preferences folder is 1777 root:root
# and that a reinstall repairs it, runs the demo against the installed programs only,
# purges them and checks that none of their files is left and that the machine's CUPS
# configuration (/etc/cups) is as before. Needs root: it installs packages. The packages
# are purged and the cupsd stopped on every exit, also when a step fails.
set -eu
cd "$(dirname "$0")/.."
PACKAGES="t48-color-options t48-color-options-tools t48-print-dialog t48-printer-sim"
work=$(mktemp -d /tmp/t48-package.XXXXXX)
chmod 0711 "$work" # the cupsd of the upgrade runs its filters as the user lp
installed=""
cupsd=""
snmpd=""

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
    [ -z "$cupsd" ] || tests/support/private-cupsd stop "$cupsd" || status=1
    [ -z "$snmpd" ] || { kill "$snmpd" && wait "$snmpd"; } 2>/dev/null || true
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

# Installs packages; their maintainer scripts see the cupsd of CUPS_SERVER, the test's own.
install_debs() {
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@" \
        >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
}

echo "== package: queues of the previous version, upgraded"
# The previous version: the packages built here, the main one with version 0.1's PPD and
# without the step that updates the queues.
main=$(ls "$work"/t48-color-options_*.deb)
dpkg-deb -R "$main" "$work/old"
cp tests/data/T48-0.1.ppd "$work/old/usr/share/ppd/orvell/T48.ppd"
sed -i 's/^Version: .*/Version: 0.1/' "$work/old/DEBIAN/control"
sed -i '/^# --- T48 queues/,/^# --- end of T48 queues/d' "$work/old/DEBIAN/postinst"
(cd "$work/old" && find usr -type f -exec md5sum {} + >DEBIAN/md5sums)
dpkg-deb -b "$work/old" "$work/t48-color-options-0.1.deb" >/dev/null
dpkg-deb -R "$(ls "$work"/t48-color-options-tools_*.deb)" "$work/old-tools"
sed -i -e 's/^Version: .*/Version: 0.1/' -e 's/t48-color-options (= [^)]*)/t48-color-options (= 0.1)/' \
    "$work/old-tools/DEBIAN/control"
dpkg-deb -b "$work/old-tools" "$work/t48-color-options-tools-0.1.deb" >/dev/null
# The printer of the second queue: snmpd with the packages' t48-printer-sim on 127.0.20.203.
dpkg-deb -x "$(ls "$work"/t48-printer-sim_*.deb)" "$work/sim"
printer=127.0.20.203
printf '1\t4\tOffice Proof\tOFFICE.ICC\t1\t0\t1\n' >"$work/sim/rows"
sed -e "s|@AGENT_ADDRESS@|udp:$printer:161|" -e "s|@PRINTER_SIM@|$work/sim/usr/bin/t48-printer-sim|" \
    -e "s|@ROWS_FILE@|$work/sim/rows|" -e "s|@REQUEST_LOG@||" \
    "$work/sim/usr/share/t48-printer-sim/snmpd.conf.in" >"$work/sim/snmpd.conf"
# (Re)starts the printer, which reads its rows when it starts.
start_printer() {
    [ -z "$snmpd" ] || { kill "$snmpd" && wait "$snmpd"; } 2>/dev/null || true
    SNMP_PERSISTENT_DIR="$work/sim/state" MIBS= MIBDIRS=/nonexistent \
        /usr/sbin/snmpd -f -Lo -C -c "$work/sim/snmpd.conf" >"$work/sim/snmpd.log" 2>&1 &
    snmpd=$!
    for try in $(seq 100); do
        ss -Hlun src "$printer:161" | grep -q . && return
        sleep 0.1
    done
    echo "package: snmpd did not start (see $work/sim/snmpd.log)" >&2
    exit 1
}
start_printer
cupsd=$work/cups
started=$(tests/support/private-cupsd start "$cupsd" 127.0.20.202:20692)
eval "$(echo "$started" | grep ^CUPS_)"
export CUPS_SERVER CUPS_SERVERROOT
installed=yes
install_debs "$work/t48-color-options-0.1.deb" "$work/t48-color-options-tools-0.1.deb"
# The server's first PPD listing now and then fails on a loaded machine; ask again.
for try in 1 2 3 4 5; do
    lpinfo -m 2>/dev/null | grep -qF lsb/usr/orvell/T48.ppd && break
    [ "$try" -lt 5 ] || { echo "package: lpinfo -m does not list the T48 PPD" >&2; exit 1; }
    sleep 1
done
lpadmin -p T48 -E -v "lpd://127.0.0.1:9/T48?snmp=false" -m lsb/usr/orvell/T48.ppd \
    -o ZTQuickColor=Vivid -o ZTColorAsGray=True
grep -qx '\*DefaultZTQuickColor: Vivid' "$CUPS_SERVERROOT/ppd/T48.ppd" ||
    { echo "package: the queue's default was not set" >&2; exit 1; }
lpadmin -p T48Profiled -E -v "lpd://$printer:9/T48Profiled?snmp=false" -m lsb/usr/orvell/T48.ppd
t48-queue-profiles T48Profiled
profiled=$CUPS_SERVERROOT/ppd/T48Profiled.ppd
lpadmin -p T48Profiled -P "$profiled" -o ZTImageRGBSource=Disk_OFFICE.ICC
# The printer holds one more profile by the upgrade.
printf '2\t4\tCoated\tCOATED.ICC\t3\t0\t1\n' >>"$work/sim/rows"
start_printer
install_debs $debs
dpkg-query -W $PACKAGES
# The queue's PPD is the new one with the queue's defaults, its ColorModel grayscale like
# its Color as Grayscale, and its jobs stay grayscale although clients now give each the
# queue's default colour mode.
sed -e 's/^\*DefaultZTQuickColor: .*/*DefaultZTQuickColor: Vivid/' \
    -e 's/^\*DefaultZTColorAsGray: .*/*DefaultZTColorAsGray: True/' \
    -e 's/^\*DefaultColorModel: .*/*DefaultColorModel: Gray/' /usr/share/ppd/orvell/T48.ppd |
    diff - "$CUPS_SERVERROOT/ppd/T48.ppd" || { echo "package: the queue's PPD after the upgrade" >&2; exit 1; }
lpoptions -p T48 | grep -qw 'print-color-mode=monochrome' ||
    { echo "package: the grayscale queue's default colour mode is not monochrome" >&2; exit 1; }
# The profiled queue: the new PPD with the printer's profiles of now, its default kept.
grep -qx '\*T48ProfileChoice ZTSimSource: "Disk_COATED.ICC /ata1a/data/USfiles/Profiles/COATED.ICC"' \
    "$profiled" || { echo "package: the upgrade did not walk the profiled queue's printer" >&2; exit 1; }
grep -v -e '^\*T48ProfileChoice ' -e '^\*ZT[A-Za-z]* Disk_' "$profiled" |
    sed 's/^\*DefaultZTImageRGBSource: Disk_OFFICE.ICC$/*DefaultZTImageRGBSource: sRGB/' |
    diff /usr/share/ppd/orvell/T48.ppd - || { echo "package: the profiled queue's PPD after the upgrade" >&2; exit 1; }
kill "$snmpd" && wait "$snmpd" || true
snmpd=""
tests/support/private-cupsd stop "$cupsd"
cupsd=""
unset CUPS_SERVER CUPS_SERVERROOT
echo "package: the queues have the new PPD, their defaults (Vivid, grayscale, a printer profile) and the printer's profiles kept"

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
