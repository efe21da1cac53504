#!/usr/bin/env bash
# Writes a session record of N rolls (1,000,000 by default) for measuring `quessar-cli auditar`:
# the roll server records a mix of 4d6kh3, 1d20+5 for two labelled players and 2d6, every roll
# with its draws, as a real session would.
#   bench/cli/audit-record.sh QUESSAR_CLI RECORD [N]
set -euo pipefail
cli=${1:?uso: audit-record.sh QUESSAR_CLI REGISTRO [N]}
record=${2:?uso: audit-record.sh QUESSAR_CLI REGISTRO [N]}
count=${3:-1000000}
rm -f "$record"
yes $'4d6kh3\n1d20+5 # Ana\n1d20+5 # Bruno\n2d6' | head -n "$count" \
    | "$cli" dados --registro "$record" -s 1 > /dev/null
