#!/usr/bin/env bash
# Writes a session record of N rolls (1,000,000 by default) for measuring `quessar-cli auditar`
# and `verificar`: the roll server records a mix of 4d6kh3, 1d20+5 for two labelled players
# and 2d6, every roll with its draws, as a real session would. With "sessao", a verifiable
# session instead: opened, rolled with its secret's dice, and closed (the secret revealed).
#   bench/cli/audit-record.sh QUESSAR_CLI RECORD [N [sessao]]
set -euo pipefail
cli=${1:?uso: audit-record.sh QUESSAR_CLI REGISTRO [N]}
record=${2:?uso: audit-record.sh QUESSAR_CLI REGISTRO [N]}
count=${3:-1000000}
rm -f "$record" "$record.segredo"
if [ "${4:-}" = sessao ]; then
    "$cli" sessao abrir "$record" > /dev/null
    seed=()
else
    seed=(-s 1)
fi
# (awk rather than `yes | head`, whose SIGPIPE would fail the pipeline under pipefail)
awk -v n="$count" 'BEGIN {
    split("4d6kh3|1d20+5 # Ana|1d20+5 # Bruno|2d6", expressions, "|")
    for (i = 0; i < n; ++i) print expressions[i % 4 + 1]
}' | "$cli" dados --registro "$record" "${seed[@]}" > /dev/null
if [ "${4:-}" = sessao ]; then
    "$cli" sessao fechar "$record" > /dev/null
fi
