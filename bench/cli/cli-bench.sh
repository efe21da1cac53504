#!/usr/bin/env bash
# quessar-cli against its goals, in a build tree that holds quessar-cli, cli_floor_qtcore and
# cli_process_timer (any build with QUESSAR_BUILD_BENCHMARKS=ON; Release for real figures):
#   (a) `quessar-cli dados 3d6` start to exit against a minimal QtCore program that prints one
#       line, interleaved runs, medians and ratio (goal <= 1.2x);
#   (b) `quessar-cli nomes -n 1000000 '&@@!@!@@!' > /dev/null` in names per second (goal >= 5 M/s);
#   (c) `quessar-cli dados -n 100000 4d6kh3 > /dev/null` in seconds (goal < 0.2 s);
#   (d) `quessar-cli chances 4d6kh3` start to exit against `quessar-cli dados 4d6kh3`,
#       interleaved runs, medians and ratio (goal <= 1.3x).
# A measure whose command fails prints "n/d".
#   bench/cli/cli-bench.sh BUILD_DIR   (RUNS=200 start-up runs by default)
set -uo pipefail

build=${1:?uso: cli-bench.sh BUILD_DIR}
cli=$(find "$build" -type f -executable -name quessar-cli | head -n 1)
floor=$(find "$build" -type f -executable -name cli_floor_qtcore | head -n 1)
timer=$(find "$build" -type f -executable -name cli_process_timer | head -n 1)
if [ -z "$cli" ] || [ -z "$floor" ] || [ -z "$timer" ]; then
    echo "cli-bench: faltam quessar-cli, cli_floor_qtcore ou cli_process_timer em $build" >&2
    exit 2
fi
runs=${RUNS:-200}

field() { sed -n "s/.*$1=\([^ ]*\).*/\1/p"; }

# (a) start-up: the dice command, or n/d when it fails here.
startup=$("$timer" "$runs" "$cli" dados 3d6 -- "$floor")
if [ "$(field a_status <<<"$startup")" = 0 ]; then
    echo "cli_startup_ms $(field a_ms <<<"$startup") floor_ms $(field b_ms <<<"$startup") ratio $(field ratio <<<"$startup") (meta <= 1,2)"
else
    echo "cli_startup_ms n/d (quessar-cli dados 3d6 falhou)"
fi
# The same start-up through a command that always works here, for comparison.
names=$("$timer" "$runs" "$cli" nomes -s 1 -- "$floor")
echo "cli_startup_nomes_ms $(field a_ms <<<"$names") floor_ms $(field b_ms <<<"$names") ratio $(field ratio <<<"$names")"

# (b) a million names to /dev/null.
million=$("$timer" 9 "$cli" nomes -n 1000000 '&@@!@!@@!')
if [ "$(field a_status <<<"$million")" = 0 ]; then
    ms=$(field a_ms <<<"$million")
    echo "names_per_second $(awk -v ms="$ms" 'BEGIN { printf "%.1f M", 1000 / ms }') (${ms} ms por milhão; meta >= 5 M/s)"
else
    echo "names_per_second n/d"
fi

# (c) 100,000 rolls of 4d6kh3.
rolls=$("$timer" 9 "$cli" dados -n 100000 4d6kh3)
if [ "$(field a_status <<<"$rolls")" = 0 ]; then
    echo "dice_100000_4d6kh3_s $(awk -v ms="$(field a_ms <<<"$rolls")" 'BEGIN { printf "%.3f", ms / 1000 }') (meta < 0,2 s)"
else
    echo "dice_100000_4d6kh3_s n/d"
fi

# (d) the exact odds of 4d6kh3 against one roll of it, whole process.
odds=$("$timer" "$runs" "$cli" chances 4d6kh3 -- "$cli" dados 4d6kh3)
if [ "$(field a_status <<<"$odds")" = 0 ] && [ "$(field b_status <<<"$odds")" = 0 ]; then
    echo "chances_4d6kh3_ms $(field a_ms <<<"$odds") dados_4d6kh3_ms $(field b_ms <<<"$odds") ratio $(field ratio <<<"$odds") (meta <= 1,3)"
else
    echo "chances_4d6kh3_ms n/d"
fi
