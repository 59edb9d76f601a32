#!/usr/bin/env bash
# Builds the Debian package with Debian's own tools from the source tree as it is (committed or
# not) in a copy under build-deb/, so that the build's files never land in the tree or beside
# it. Prints the path of the package.
set -euo pipefail
cd "$(dirname "$0")/../.."

out=build-deb
rm -rf "$out"
mkdir -p "$out/plintor"
git ls-files -z --cached --others --exclude-standard |
  tar --null --files-from=- --create | tar --extract --directory="$out/plintor"

# nocheck: the tests need a display and a browser run; noddebs: no debug symbol package.
export DEB_BUILD_OPTIONS="nocheck noddebs parallel=${PLINTOR_JOBS:-2}"
(cd "$out/plintor" && dpkg-buildpackage -b -us -uc) >"$out/build.log" 2>&1 || {
  tail -n 60 "$out/build.log" >&2
  echo "build-deb: the package build failed; the whole log is $out/build.log" >&2
  exit 1
}
ls "$PWD/$out"/plintor_*_amd64.deb
