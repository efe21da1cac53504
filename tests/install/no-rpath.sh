#!/usr/bin/env bash
# Installs the build into a scratch folder and fails if an installed program carries an RPATH
# or RUNPATH: the programs find Qt through the system's library path alone.
#   no-rpath.sh BUILD_DIR
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
programs=("$prefix"/bin/*)
[ -e "${programs[0]}" ] || { echo "nothing installed in $prefix/bin"; exit 1; }
status=0
for program in "${programs[@]}"; do
    if readelf -d "$program" | grep -E 'RPATH|RUNPATH'; then
        echo "$(basename "$program") carries a library search path"
        status=1
    fi
done
exit $status
