#!/usr/bin/env bash
# The Debian package end to end: builds it with Debian's tools, installs it with apt-get, checks
# it (lintian, the manual page, the systemd user unit) and starts the installed kiosk session
# as an unprivileged member of the group plintor, under Xvfb and under cage's headless
# back end. Needs root (it installs the package and makes the user). About 10 minutes on 2
# cores, nearly all of it the package build.
set -euo pipefail
cd "$(dirname "$0")/../.."
export DEBIAN_FRONTEND=noninteractive

scripts/setup.sh
scripts/setup.sh scripts/package/packages.txt

echo "package: building"
deb=$(scripts/package/build-deb.sh)
echo "package: built $deb"

echo "package: installing"
apt-get install -y -q --no-install-recommends "$deb" >build-deb/install.log 2>&1 ||
  { tail -n 30 build-deb/install.log >&2; exit 1; }

echo "package: lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" | tee build-deb/lintian.txt

echo "package: manual page"
manual=$(dpkg -L plintor | grep '/man1/plintor\.1')
warnings=$(MANWIDTH=80 man --warnings -l "$manual" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
  printf 'package: man warns about %s:\n%s\n' "$manual" "$warnings" >&2
  exit 1
fi

echo "package: systemd user unit"
scripts/package/verify-unit.sh /usr/lib/systemd/user/plintor.service
# Enabled for every user, it would make each desktop session on the machine a kiosk.
if [ -e /etc/systemd/user/graphical-session.target.wants/plintor.service ]; then
  echo "package: the installation enabled plintor.service for every user" >&2
  exit 1
fi

scripts/package/session-check.sh
