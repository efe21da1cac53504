#!/usr/bin/env bash
# Keeps the dice engine's layers apart: reads what each folder of src/dice may include from
# the table in src/dice/README.md, then every '#include "dice/…"' line of src/, and names each
# include that the table does not allow. A header-only slip passes the build's link graph, so
# this reads the sources themselves.
#   include-rule.sh SOURCE_ROOT
set -euo pipefail
root=${1:?usage: include-rule.sh SOURCE_ROOT}
readme="$root/src/dice/README.md"

# "folder allowed…" per table row: `number/` … | `number/` `expression/` |  ->  number/ number/ expression/
declare -A allowed
while IFS= read -r row; do
    folder=$(sed -E 's/^\| `([^`]+)`.*/\1/' <<<"$row")
    last=$(awk -F'|' '{print $(NF-1)}' <<<"$row")
    allowed[$folder]="$folder $( (grep -oE '`[^`]+`' <<<"$last" || true) | tr -d '`' | tr '\n' ' ')"
done < <(grep -E '^\| `[^`]+/` \|' "$readme")
[ ${#allowed[@]} -gt 0 ] || { echo "$readme: no table of folders found" >&2; exit 1; }

faults=0
fault() { echo "$1"; faults=$((faults + 1)); }

# Every folder of the engine is described.
for dir in "$root"/src/dice/*/; do
    name="$(basename "$dir")/"
    [ -n "${allowed[$name]+x}" ] || fault "src/dice/$name: folder not described in src/dice/README.md"
done

while IFS= read -r file; do
    relative=${file#"$root"/}
    case $relative in
        src/dice/*/*) from="$(cut -d/ -f3 <<<"$relative")/" ;;
        src/dice/*) from="./" ;;
        *) from="" ;;
    esac
    while IFS= read -r line; do
        target=$(sed -E 's/.*#include "dice\/([^"]+)".*/\1/' <<<"$line")
        case $target in
            */*) layer="$(cut -d/ -f1 <<<"$target")/" ;;
            *) layer="./" ;;
        esac
        if [ -z "$from" ]; then
            # Outside the dice: the engine is open to all, the window to the main window only.
            [ "$layer" = "./" ] && [[ $relative != src/shell/* ]] \
                && fault "$relative: #include \"dice/$target\": only the main window (src/shell/) opens the dice window"
            continue
        fi
        [[ " ${allowed[$from]:-} " == *" $layer "* ]] \
            || fault "$relative: #include \"dice/$target\": $from may include only: ${allowed[$from]:-nothing}"
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"dice/' "$file" || true)
done < <(find "$root/src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if [ "$faults" -gt 0 ]; then
    echo "$faults include(s) break the layers of src/dice (see src/dice/README.md)" >&2
    exit 1
fi
echo "the layers of src/dice hold: every #include \"dice/…\" of src/ is allowed"
