# bash completion for quessar-cli

_quessar_cli()
{
    local cur prev words cword
    if declare -F _init_completion >/dev/null 2>&1; then
        _init_completion || return
    else
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD - 1]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    fi

    if [[ $cword -eq 1 ]]; then
        COMPREPLY=($(compgen -W 'nomes cidade dados chances sessao verificar auditar --help --version' -- "$cur"))
        return
    fi

    case ${words[1]} in
    nomes)
        case $prev in
        -n | --quantidade | -s | --semente | --separador) return ;;
        esac
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '-n --quantidade -s --semente --separador --predefinidas
                --ajuda-mascara -h --help' -- "$cur"))
        fi
        ;;
    cidade)
        case $prev in
        -f | --formato)
            COMPREPLY=($(compgen -W 'texto markdown json' -- "$cur"))
            return
            ;;
        --codificacao)
            COMPREPLY=($(compgen -W 'utf-8 windows-1252' -- "$cur"))
            return
            ;;
        -o | --saida)
            # One file name per line, kept whole ("Tau Rianu.txt"), then quoted and finished as
            # a file name (a folder gets its "/") by readline.
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return
            ;;
        --nome | --mascara | -s | --semente) return ;;
        esac
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--nome --mascara -f --formato -o --saida --codificacao
                -s --semente -h --help' -- "$cur"))
        fi
        ;;
    dados)
        case $prev in
        -n | --quantidade | -s | --semente) return ;;
        --registro) COMPREPLY=($(compgen -f -- "$cur")); return ;;
        esac
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '-n --quantidade -s --semente -d --detalhes --json
                --registro -h --help' -- "$cur"))
        fi
        ;;
    chances)
        case $prev in
        --alvo | --alvos | --variar | --amostras | -s | --semente) return ;;
        --ver) COMPREPLY=($(compgen -W 'exatamente pelo-menos no-maximo' -- "$cur")); return ;;
        --svg)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return
            ;;
        esac
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--alvo --json --amostras -s --semente --comparar --ver
                --alvos --variar --diferenca --csv --csv-br --svg -h --help' -- "$cur"))
        fi
        ;;
    auditar)
        case $prev in
        --rotulo | --sem-rotulo) return ;;
        esac
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--por-rotulo --rotulo --sem-rotulo --json -h --help' -- "$cur"))
        else
            # The records to audit: file names, kept whole and quoted by readline.
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        fi
        ;;
    sessao)
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '-h --help' -- "$cur"))
        elif [[ $cword -eq 2 ]]; then
            COMPREPLY=($(compgen -W 'abrir sal fechar' -- "$cur"))
        elif [[ $cword -eq 3 ]]; then
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        fi
        ;;
    verificar)
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '-h --help' -- "$cur"))
        elif [[ $cword -eq 2 ]]; then
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        fi
        ;;
    esac
}
complete -F _quessar_cli quessar-cli
