#!/usr/bin/env bash
# Installs the Debian packages that building and testing Plintor need; does nothing when
# every one of them is already installed.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t packages < <(grep -v '^#' scripts/packages.txt | grep -v '^$')
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
