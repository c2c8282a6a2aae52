#!/bin/sh
# Installs the Debian packages the build, the demo and the tests need, when missing.
set -eu
PACKAGES="build-essential cmake ninja-build pkg-config gettext python3
  libcups2-dev cups-client libsnmp-dev snmpd snmp libplist-dev libglib2.0-dev
  libsystemd-dev libavahi-client-dev avahi-daemon avahi-utils dbus
  libgtest-dev libgmock-dev libbenchmark-dev clang-15 fiu-utils hyperfine
  nlohmann-json3-dev libexpat1-dev
  cups-daemon cups cups-core-drivers
  libgtk-3-dev xvfb xauth dbus-x11 at-spi2-core python3-pyatspi imagemagick adwaita-icon-theme
  iproute2 util-linux procps systemd binutils
  dpkg-dev debhelper lintian git
  cups-filters cups-ipp-utils ghostscript chromium firefox-esr python3-pyqt5
  libreoffice-writer-nogui"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "deps: installing:$missing"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi
