#!/usr/bin/env bash
# Prints the share of one core (in %) that a program uses while idle: it is started, left
# SETTLE seconds to finish its start-up, then measured over SECONDS seconds.
#   idle-cpu.sh SETTLE SECONDS PROGRAM [ARGUMENTS...]
set -euo pipefail
settle=$1 seconds=$2
shift 2

"$@" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
sleep "$settle"
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
before=$(ticks)
sleep "$seconds"
after=$(ticks)
awk -v a="$before" -v b="$after" -v hz="$(getconf CLK_TCK)" -v s="$seconds" \
    'BEGIN { printf "%.2f\n", 100 * (b - a) / hz / s }'
