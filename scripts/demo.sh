#!/bin/sh
# Installs what is missing, builds, and runs the whole profile refresh and a print on this
# machine: a simulated T48 printer (snmpd with t48-printer-sim on 127.0.8.200, SNMP port
# 161, and its LPD side t48-printer-lpd on port 20691), a cupsd of the demo's own on
# 127.0.20.201:20690 with the queue T48 ("lpd://127.0.8.200:20691/T48"), the service, the
# helper installed under a demo root (a temporary folder), and a pdehost session on the
# queue. It shows the profiles the walk merged into the user's file, lists one of each
# class (as a user would in the profile window), shows the panel's profile popups of a new
# session, submits a one-page job with a profile of the printer chosen and ends with what
# the printer received. Needs root (port 161). Everything it starts is stopped by its PID
# on exit.
#
# With --installed it builds nothing and runs the programs of the installed packages
# (t48-color-options, t48-color-options-tools, t48-printer-sim) at their installed places,
# with no filesystem root of its own: the queue made from the installed PPD, the installed
# filter, the service started by its user socket where a systemd user manager runs, else
# by hand.
set -eu
cd "$(dirname "$0")/.."
installed=""
[ "${1:-}" != --installed ] || installed=yes
if [ -n "$installed" ]; then
    PDEHOST=/usr/bin/pdehost PROFILES=/usr/bin/t48-profiles SERVICE=/usr/libexec/t48/xpcservice
    SIM=/usr/bin/t48-printer-sim LPD=/usr/bin/t48-printer-lpd
    SNMPD_CONF=/usr/share/t48-printer-sim/snmpd.conf.in FILTER=""
else
    scripts/deps.sh
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j "$(nproc)" --target pdehost colorpde xpcservice T48Helper \
        t48-printer-sim t48-profiles t48-printer-lpd t48-colorfilter >/dev/null
    PDEHOST=build/host/pdehost PROFILES=build/tools/t48-profiles/t48-profiles
    SERVICE=build/Helper/XPCService/xpcservice SIM=$PWD/build/sim/t48-printer-sim
    LPD=build/sim/t48-printer-lpd SNMPD_CONF=build/sim/snmpd.conf.in
    FILTER=build/filter/t48-colorfilter
fi

PRINTER=127.0.8.200
demo=$(mktemp -d /tmp/t48-demo.XXXXXX)
chmod 0711 "$demo"  # cupsd runs its filters as the user lp
pids=""
cleanup() {
    [ ! -f "$demo/cups/cupsd.pid" ] || tests/support/private-cupsd stop "$demo/cups"
    for pid in $pids; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    [ -n "${T48_DEMO_KEEP:-}" ] || rm -rf "$demo"
}
trap cleanup EXIT INT TERM

# Wait up to 10 s for a condition.
await() {
    i=0
    until eval "$1"; do
        i=$((i + 1))
        [ "$i" -lt 400 ] || { echo "demo: $2" >&2; exit 1; }
        sleep 0.025
    done
}

echo "== the printer: snmpd with t48-printer-sim on $PRINTER:161"
mkdir -p "$demo/printer"
i=1
for name in "Office Proof" "Coated FOGRA39" "Uncoated FOGRA29" "Newsprint" "Glossy Photo" \
            "Matte Photo" "Label Stock" "Transparency" "Recycled Paper" "Heavy Cardstock" \
            "Brochure Gloss" "Poster Satin" "Sepia Look" "Warm Grey" "Cool Grey" \
            "Corporate Blue" "Signage Vinyl" "Canvas" "Fine Art Rag" "Draft Saver"; do
    printf '%d\t4\t%s\tPROF%02d.ICC\t%d\t0\t1\n' "$i" "$name" "$i" $(((i - 1) % 3 + 1)) \
        >>"$demo/printer/rows"
    i=$((i + 1))
done
sed -e "s|@AGENT_ADDRESS@|udp:$PRINTER:161|" \
    -e "s|@PRINTER_SIM@|$SIM|" \
    -e "s|@ROWS_FILE@|$demo/printer/rows|" -e "s|@REQUEST_LOG@||" \
    "$SNMPD_CONF" >"$demo/printer/snmpd.conf"
SNMP_PERSISTENT_DIR="$demo/printer/state" MIBS= MIBDIRS=/nonexistent \
    /usr/sbin/snmpd -f -Lo -C -c "$demo/printer/snmpd.conf" >"$demo/printer/snmpd.log" 2>&1 &
pids="$pids $!"
await "ss -Hlun src $PRINTER:161 | grep -q ." "snmpd did not start (see $demo/printer/snmpd.log)"

echo "== the printer's LPD side on $PRINTER:20691"
mkdir -p "$demo/printer/jobs"
"$LPD" "$PRINTER:20691" "$demo/printer/jobs" >"$demo/printer/lpd.log" 2>&1 &
pids="$pids $!"
await "grep -q listening '$demo/printer/lpd.log'" "t48-printer-lpd did not start"

echo "== a cupsd of the demo's own with the queue T48 (lpd://$PRINTER:20691/T48)"
# The installed filter is in the machine's filter folder, which the server's links reach.
eval "$(tests/support/private-cupsd start "$demo/cups" 127.0.20.201:20690 $FILTER)"
export CUPS_SERVER CUPS_SERVERROOT HOME
if [ -n "$installed" ]; then
    # The server's first PPD listing now and then fails on a loaded machine; ask again.
    for try in 1 2 3 4 5; do
        lpinfo -m 2>/dev/null | grep -F lsb/usr/orvell/T48.ppd && break
        [ "$try" -lt 5 ] || { echo "demo: lpinfo -m does not list the T48 PPD" >&2; exit 1; }
        sleep 1
    done
    lpadmin -p T48 -E -v "lpd://$PRINTER:20691/T48?snmp=false" -m lsb/usr/orvell/T48.ppd 2>/dev/null
else
    tests/support/private-cupsd queue "$demo/cups" T48 "lpd://$PRINTER:20691/T48?snmp=false" \
        2>/dev/null
fi
lpstat -v T48

if [ -z "$installed" ]; then
    echo "== the helper, installed under the demo root $demo/root"
    DESTDIR="$demo/root" cmake --install build --component helper >/dev/null
    # The shared preferences folder, as the driver's installation makes it.
    . build/system-paths.sh
    prefs="$demo/root$T48_PATH_PREFERENCES_FOLDER"
    mkdir -p "$prefs" && chmod 1777 "$prefs"
    export T48_ROOT="$demo/root" T48_XPC_SOCKET="$demo/xpcservice.sock"
    socket=$T48_XPC_SOCKET
else
    # The session's runtime folder, where the helper finds the service's socket.
    [ -n "${XDG_RUNTIME_DIR:-}" ] || { export XDG_RUNTIME_DIR="$demo/run"; mkdir -m 0700 "$demo/run"; }
    socket=$XDG_RUNTIME_DIR/t48/xpcservice.sock
fi

# A user manager runs (systemd is the init system and answers on the user bus).
if [ -n "$installed" ] && [ -d /run/systemd/system ] &&
    systemctl --user --quiet is-enabled t48-xpcservice.socket 2>/dev/null &&
    systemctl --user show-environment >/dev/null 2>&1; then
    echo "== the service: its user socket $socket (socket activation)"
    systemctl --user start t48-xpcservice.socket
    service_log=""  # the service logs to the journal
else
    echo "== the service on $socket"
    service_log=$demo/service.log
    JOURNAL_STREAM= "$SERVICE" 2>"$service_log" &
    pids="$pids $!"
fi
await "[ -S '$socket' ]" "the service did not start${service_log:+ (see $service_log)}"

echo "== a dialog session on the queue T48 (the view refreshes the profiles from its printer)"
"$PDEHOST" --queue T48 show >"$demo/session.json"
[ -z "$service_log" ] || grep -h walk "$service_log" || true

echo "== the profiles the walk merged into $(id -un)'s file"
"$PROFILES" show

echo "== the first printer profile of each class listed in the menus (as the profile window would)"
"$PROFILES" show | python3 -c '
import json, sys
lists = json.load(sys.stdin)
for name, profiles in lists.items():
    if profiles["entries"]:
        profiles["entries"][0]["InMenu"] = 4  # confirmed by the printer, listed
        print(name + ":", profiles["entries"][0]["FileName"], file=sys.stderr)
json.dump(lists, sys.stdout)' >"$demo/listed.json"
"$PROFILES" import "$demo/listed.json"

echo "== the panel's profile popups in a new session (Image RGB source, destination, simulation)"
"$PDEHOST" --queue T48 show | python3 -c '
import json, sys
panel = json.loads(sys.stdin.readline())
for name in ("menu_iRGBSource", "menu_iDestinationProfile", "menu_sSimulationProfile"):
    print(name + ":", ", ".join(panel["controls"][name]["items"]))
print("button_ManageProfile enabled:", panel["controls"]["button_ManageProfile"]["enabled"])'

echo "== submit a one-page job: Quick Color Custom, Image RGB source the printer's first RGB profile"
"$PDEHOST" --queue T48 set menu_QuickColor=3 set menu_iRGBSource=4 \
    submit tests/data/page.ps | python3 -c '
import json, sys
job = json.loads(sys.stdin.readline())
print("job", job["job"], "with", len(job["options"]), "options, among them",
      {k: job["options"][k] for k in ("ZTQuickColor", "ZTImageRGBSource", "ZTImageRGBSourceCustom")})'
await "[ -d '$demo/printer/jobs/0001' ]" "the printer received no job (see $demo/cups/log)"

echo "== what the printer received (queue, option code, the profile command)"
cat "$demo/printer/jobs/0001/queue"; echo
grep -A1 -E '^%%BeginFeature: \*ZT(QuickColor|ImageRGBSource|ImageHalftone) ' \
    "$demo/printer/jobs/0001/data" | grep -v -e '^--$' -e '^%%BeginFeature'
grep 'Profile (' "$demo/printer/jobs/0001/data"
