#!/usr/bin/env bash
# The bash completion offers the subcommands and each subcommand's options and values.
set -u
source "$1"
status=0
check() { # expected words...
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _quessar_cli
    local IFS='|' # words joined so that "Tau Rianu.txt" differs from "Tau" and "Rianu.txt"
    if [ "${COMPREPLY[*]:-}" != "$expected" ]; then
        echo "quessar-cli ${*}: got '${COMPREPLY[*]:-}', expected '$expected'" >&2
        status=1
    fi
}
# Outside a completion compopt has nothing to act on: record what it is asked instead.
compopt() { compopt_options="$*"; }
check "nomes" quessar-cli no
check "cidade" quessar-cli ci
check "--formato" quessar-cli cidade 37 --for
check "markdown" quessar-cli cidade 37 -f ma
check "windows-1252" quessar-cli cidade 1 --codificacao w
check "--predefinidas" quessar-cli nomes --pre
check "--detalhes" quessar-cli dados --det
check "chances" quessar-cli ch
check "--amostras" quessar-cli chances 4d6kh3 --amo
check "--comparar" quessar-cli chances --comp
check "--csv|--csv-br" quessar-cli chances --csv
check "pelo-menos" quessar-cli chances --ver pe
check "" quessar-cli chances --variar 1
check "auditar" quessar-cli au
check "--por-rotulo" quessar-cli auditar --por
check "--sem-rotulo" quessar-cli auditar mesa.jsonl --sem
check "" quessar-cli auditar --rotulo A
check "sessao" quessar-cli se
check "verificar" quessar-cli ve
check "fechar" quessar-cli sessao fe
check "" quessar-cli sessao sal mesa.jsonl lo
# A file name holding a space is one completion, which readline quotes as a file name.
cd "$(mktemp -d)" && touch "Tau Rianu.txt" && mkdir "Vila Nova"
check "Tau Rianu.txt" quessar-cli cidade 120 -o Tau
[ "${compopt_options:-}" = "-o filenames" ] || { echo "compopt: '${compopt_options:-}'" >&2; status=1; }
check "Vila Nova" quessar-cli cidade 120 --saida V
check "Tau Rianu.txt" quessar-cli auditar --por-rotulo Tau
check "Tau Rianu.txt" quessar-cli verificar T
check "Tau Rianu.txt" quessar-cli sessao abrir T
check "Tau Rianu.txt" quessar-cli chances --svg Ta
rm -r "$PWD"
exit $status
