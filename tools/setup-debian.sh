#!/bin/sh
# Installs what LoomScope needs to build, test and run on Debian 12, skipping what is there.
# Run as root (or with sudo available).
set -eu
packages="build-essential cmake ninja-build ccache pkg-config clang \
  qt6-base-dev libqt6opengl6-dev qt6-qpa-plugins libgl1-mesa-dri libglu1-mesa-dev libegl-dev \
  zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-utils locales \
  fonts-wine fonts-wqy-microhei fonts-dejavu-core poppler-utils dbus-daemon \
  shared-mime-info desktop-file-utils libxml2-utils tumbler dbus-bin libglib2.0-bin python3 \
  qt6-tools-dev qt6-l10n-tools dpkg-dev fakeroot lintian appstream"
run=""
[ "$(id -u)" -eq 0 ] || run="sudo"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    $run apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $run apt-get install -y -qq --no-install-recommends $missing
fi
# Locales with a decimal comma, and Chinese: the tests run under them too.
for l in de_DE fr_FR ru_RU zh_CN; do
    locale -a 2>/dev/null | grep -qi "^$l\.utf-\?8$" || $run localedef -i "$l" -f UTF-8 "$l.UTF-8"
done
