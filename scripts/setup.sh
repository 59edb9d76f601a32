#!/usr/bin/env bash
# Installs the Debian packages that building and testing Plintor need (the list
# scripts/packages.txt, or the list file given); does nothing when every one of them is already
# installed.
set -euo pipefail
cd "$(dirname "$0")/.."

list=${1:-scripts/packages.txt}
mapfile -t packages < <(grep -v '^#' "$list" | grep -v '^$')
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
