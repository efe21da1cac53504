#!/usr/bin/env bash
# Starts the real dice table on a virtual X display, types an expression and Enter with
# xdotool, checks that the roll reached the session record, opens a verifiable session from
# the menu's shortcut, takes a screenshot and ends it.
# Also checks that the window's class is the desktop entry's StartupWMClass.
#   mesa-xvfb.sh QUESSAR_MESA SCREENSHOT_FILE DESKTOP_ENTRY
set -euo pipefail
program=$1
shot=$2
desktop=$3

if [ -z "${MESA_IN_XVFB:-}" ]; then
    export MESA_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
if ! command -v xdotool >/dev/null; then
    echo "xdotool não está instalado (scripts/lib/common.sh o instala)" >&2
    exit 1
fi

unset QT_QPA_PLATFORM
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_RUNTIME_DIR=$home/run XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
mkdir -m 700 "$XDG_RUNTIME_DIR"
record=$home/sessao.jsonl
"$program" --registro "$record" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT

title="Morvane's Quessar: Mesa de Dados"
window=
for _ in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || { echo "quessar-mesa terminou antes de mostrar a janela" >&2; exit 1; }
    window=$(xdotool search --name "^$title\$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "a janela \"$title\" não apareceu em 15 s" >&2; exit 1; }

wanted=$(sed -n 's/^StartupWMClass=//p' "$desktop")
class=$(xprop -id "$window" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')
if [ "$class" != "$wanted" ]; then
    echo "classe da janela \"$class\", StartupWMClass \"$wanted\"" >&2
    exit 1
fi

# No window manager: the expression box has the focus once the window is active.
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 0.3
xdotool type --delay 20 '4d6kh3 # atributos'
xdotool key Return
for _ in $(seq 1 50); do
    [ "$(grep -c '"tipo":"rolagem"' "$record" 2>/dev/null || true)" = 1 ] && break
    sleep 0.1
done
if ! grep -q '"rotulo":"atributos"' "$record"; then
    echo "a rolagem digitada não chegou ao registro:" >&2
    cat "$record" >&2 || true
    exit 1
fi

# A verifiable session from the menu's shortcut: the file dialog offers a new record under the
# data folder, Enter takes it, and the record with its commitment and the owner-only secret
# appear there.
xdotool key ctrl+shift+n
sleep 1
xdotool key Return
session=
for _ in $(seq 1 50); do
    session=$(ls "$XDG_DATA_HOME"/quessar-mesa/registros/sessao-verificavel-*.jsonl 2>/dev/null | head -n 1 || true)
    [ -n "$session" ] && [ -s "$session" ] && break
    sleep 0.1
done
if [ -z "$session" ] || ! grep -q '"compromisso":"[0-9a-f]\{64\}"' "$session"; then
    echo "a sessão verificável não foi aberta pelo menu" >&2
    exit 1
fi
if [ "$(stat -c %a "$session.segredo")" != 600 ]; then
    echo "o segredo da sessão não é só do dono: $(stat -c %a "$session.segredo")" >&2
    exit 1
fi
sleep 0.3
xwd -root -silent >"$shot.xwd"
if command -v convert >/dev/null; then
    convert "$shot.xwd" "$shot" && rm -f "$shot.xwd"
fi
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "rolagem digitada e registrada, sessão verificável aberta; captura em $shot"
