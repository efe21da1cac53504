#!/usr/bin/env bash
# quessar-cli against its goals, in a build tree that holds quessar-cli, cli_floor_qtcore and
# cli_process_timer (any build with QUESSAR_BUILD_BENCHMARKS=ON; Release for real figures):
#   (a) `quessar-cli dados 3d6` start to exit against a minimal QtCore program that prints one
#       line, interleaved runs, medians and ratio (goal <= 1.2x);
#   (b) `quessar-cli nomes -n 1000000 '&@@!@!@@!' > /dev/null` in names per second (goal >= 5 M/s);
#   (c) `quessar-cli dados -n 100000 4d6kh3 > /dev/null` in seconds (goal < 0.2 s), side by
#       side with Debian's rolldice rolling the same (ten runs of `rolldice 10000x4d6s1`):
#       rolls per second of each (goal: quessar-cli at least 1.5 times rolldice);
#   (d) 100,000 rolls of a success pool, rerolls with keep, and a group, each (goal < 0.1 s);
#   (e) 100,000 rolls of 4d6kh3 with --json, in rolls per second (goal >= 1 M/s);
#   (f) the roll server: 10,000 lines through one process, and the median round trip of a
#       line (goals < 0.1 s and < 100 us); the same into a record on tmpfs, fdatasync
#       included (goals <= 1.5 times without a record, and < 200 us);
#   (g) `quessar-cli chances 4d6kh3` start to exit against `quessar-cli dados 4d6kh3`,
#       interleaved runs, medians and ratio (goal <= 1.3x);
#   (g2) `chances --comparar --alvos` of three expressions against one roll (goal <= 1.3x);
#   (h) `quessar-cli verificar` and `auditar` of a closed 1,000,000-roll verifiable session
#       on tmpfs: wall time (median of 3) and peak memory (goals < 3 s and < 2 s, flat);
#       needs /usr/bin/time (Debian's time);
#   (i) a verifiable session rolls 100,000 x 4d6kh3 into its record on tmpfs (goal < 0.2 s).
# A measure whose command fails prints "n/d".
#   bench/cli/cli-bench.sh BUILD_DIR   (RUNS=200 start-up runs by default)
set -uo pipefail

build=${1:?uso: cli-bench.sh BUILD_DIR}
cli=$(find "$build" -type f -executable -name quessar-cli | head -n 1)
floor=$(find "$build" -type f -executable -name cli_floor_qtcore | head -n 1)
timer=$(find "$build" -type f -executable -name cli_process_timer | head -n 1)
server_timer=$(find "$build" -type f -executable -name cli_roll_server_timer | head -n 1)
if [ -z "$cli" ] || [ -z "$floor" ] || [ -z "$timer" ]; then
    echo "cli-bench: faltam quessar-cli, cli_floor_qtcore ou cli_process_timer em $build" >&2
    exit 2
fi
runs=${RUNS:-200}

field() { sed -n "s/\(^\|.* \)$1=\([^ ]*\).*/\2/p"; }

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

# (c) 100,000 rolls of 4d6kh3, and Debian's rolldice beside it (10,000 rolls a run).
rolldice=$(command -v rolldice || echo /usr/games/rolldice)
if [ -x "$rolldice" ]; then
    both=$("$timer" 9 "$cli" dados -n 100000 4d6kh3 -- "$rolldice" 10000x4d6s1)
    awk -v a="$(field a_ms <<<"$both")" -v b="$(field b_ms <<<"$both")" 'BEGIN {
        printf "dice_100000_4d6kh3_s %.3f (meta < 0,2 s); quessar-cli %.2f M rolagens/s, rolldice %.2f M rolagens/s (10000x4d6s1 em %.1f ms); razão %.1f (meta >= 1,5)\n",
            a / 1000, 100 / a, 10 / b, b, (100000 / a) / (10000 / b) }'
else
    rolls=$("$timer" 9 "$cli" dados -n 100000 4d6kh3)
    echo "dice_100000_4d6kh3_s $(awk -v ms="$(field a_ms <<<"$rolls")" 'BEGIN { printf "%.3f", ms / 1000 }') (rolldice ausente)"
fi

# (d) the new notation at speed.
for expression in '10d10>=8f1' '4d6r1kh3' '{1d20+5, 1d20+5}kh1'; do
    run=$("$timer" 9 "$cli" dados -n 100000 "$expression")
    if [ "$(field a_status <<<"$run")" = 0 ]; then
        echo "dice_100000 '$expression' $(awk -v ms="$(field a_ms <<<"$run")" 'BEGIN { printf "%.3f s", ms / 1000 }') (meta < 0,1 s)"
    else
        echo "dice_100000 '$expression' n/d"
    fi
done

# (e) JSON.
json=$("$timer" 9 "$cli" dados --json -n 100000 4d6kh3)
if [ "$(field a_status <<<"$json")" = 0 ]; then
    echo "dice_json_rolls_per_second $(awk -v ms="$(field a_ms <<<"$json")" 'BEGIN { printf "%.2f M", 100 / ms }') (meta >= 1 M/s)"
else
    echo "dice_json_rolls_per_second n/d"
fi

# (f) the roll server, without and with a record on tmpfs.
record_dir=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
if [ -n "$server_timer" ] && server=$("$server_timer" "$cli" "$record_dir/servidor.jsonl"); then
    echo "dice_server_10000_lines_ms $(field batch_ms <<<"$server") (meta < 100 ms); round_trip_us $(field round_trip_us <<<"$server") (meta < 100 µs)"
    echo "dice_server_recorded_10000_lines_ms $(field recorded_batch_ms <<<"$server") ratio $(field batch_ratio <<<"$server") (meta <= 1,5); recorded_round_trip_us $(field recorded_round_trip_us <<<"$server") (meta < 200 µs)"
else
    echo "dice_server n/d"
fi
rm -rf "$record_dir"

# (g) the exact odds of 4d6kh3 against one roll of it, whole process.
odds=$("$timer" "$runs" "$cli" chances 4d6kh3 -- "$cli" dados 4d6kh3)
if [ "$(field a_status <<<"$odds")" = 0 ] && [ "$(field b_status <<<"$odds")" = 0 ]; then
    echo "chances_4d6kh3_ms $(field a_ms <<<"$odds") dados_4d6kh3_ms $(field b_ms <<<"$odds") ratio $(field ratio <<<"$odds") (meta <= 1,3)"
else
    echo "chances_4d6kh3_ms n/d"
fi

# (g2) a comparison against targets, whole process, against one roll of 4d6kh3.
compare=$("$timer" "$runs" "$cli" chances --comparar --alvos 10..20 2d20kh1+5 1d20+8 1d20+9 \
    -- "$cli" dados 4d6kh3)
if [ "$(field a_status <<<"$compare")" = 0 ] && [ "$(field b_status <<<"$compare")" = 0 ]; then
    echo "chances_comparar_ms $(field a_ms <<<"$compare") dados_4d6kh3_ms $(field b_ms <<<"$compare") ratio $(field ratio <<<"$compare") (meta <= 1,3)"
else
    echo "chances_comparar_ms n/d"
fi

# (h) the checks of a closed 1,000,000-roll verifiable session on tmpfs (written by
#     audit-record.sh): wall time, median of 3 runs, and peak memory of each.
audit_dir=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
record="$audit_dir/registro.jsonl"
measure_record() { # name goal command...
    local name=$1 goal=$2
    shift 2
    local run
    for run in 1 2 3; do
        /usr/bin/time -f '%e %M' -o "$audit_dir/time" "$cli" "$@" "$record" > /dev/null || return 1
        cat "$audit_dir/time"
    done | sort -n | awk -v name="$name" -v goal="$goal" 'NR == 2 {
        printf "%s %s (meta < %s s); pico de memória %d MiB\n", name, $1, goal, $2 / 1024 }'
}
if bash "$(dirname "$0")/audit-record.sh" "$cli" "$record" 1000000 sessao && [ -x /usr/bin/time ]; then
    measure_record verificar_1000000_s 3 verificar || echo "verificar_1000000_s n/d"
    measure_record auditar_1000000_s 2 auditar || echo "auditar_1000000_s n/d"
else
    echo "verificar_1000000_s n/d"
    echo "auditar_1000000_s n/d"
fi
rm -rf "$audit_dir"

# (i) a verifiable session's rolls: each one's dice from HMAC-SHA256 of its number.
session_dir=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
if "$cli" sessao abrir "$session_dir/sessao.jsonl" > /dev/null \
    && session=$("$timer" 9 "$cli" dados -n 100000 4d6kh3 --registro "$session_dir/sessao.jsonl") \
    && [ "$(field a_status <<<"$session")" = 0 ]; then
    echo "sessao_100000_4d6kh3_s $(awk -v ms="$(field a_ms <<<"$session")" 'BEGIN { printf "%.3f", ms / 1000 }') (meta < 0,2 s)"
else
    echo "sessao_100000_4d6kh3_s n/d"
fi
rm -rf "$session_dir"
