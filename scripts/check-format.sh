#!/usr/bin/env bash
# Fails when a C++ file in the repository differs from what clang-format makes of it with the
# repository's .clang-format. Lists every such file (not only the first), so one run shows all
# that `clang-format -i FILE…` has to fix. FORMAT_DETAILS=1 also prints clang-format's findings.
set -euo pipefail
cd "$(dirname "$0")/.."

command -v clang-format >/dev/null || { echo "check-format: clang-format is missing (package clang-format)" >&2; exit 2; }

# Tracked files only: build folders and generated sources are not ours to format.
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.hpp' '*.cc' '*.cxx' '*.hh')
[ ${#files[@]} -gt 0 ] || { echo "check-format: no C++ files found" >&2; exit 2; }

flagged=()
for file in "${files[@]}"; do
  if ! findings=$(clang-format --dry-run --Werror "$file" 2>&1); then
    flagged+=("$file")
    [ "${FORMAT_DETAILS:-0}" = 1 ] && printf '%s\n' "$findings"
  fi
done

echo "check-format: $(clang-format --version | head -n 1)"
if [ ${#flagged[@]} -gt 0 ]; then
  printf '  not formatted: %s\n' "${flagged[@]}"
  echo "check-format: ${#flagged[@]} of ${#files[@]} files need clang-format -i" >&2
  exit 1
fi
echo "check-format: all ${#files[@]} files formatted"
