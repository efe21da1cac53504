#!/usr/bin/env bash
# Starts the real executable on a virtual X display, waits until its main window is on the
# screen, takes a screenshot and ends it.
# With a desktop entry, also checks that the window's class is the entry's StartupWMClass.
#   smoke.sh QUESSAR_EXECUTABLE SCREENSHOT_FILE [DESKTOP_ENTRY]
set -euo pipefail
program=$1
shot=$2
desktop=${3:-}

if [ -z "${SMOKE_IN_XVFB:-}" ]; then
    export SMOKE_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
env --default-signal=XFSZ "$program" & # the file-size signal's default action, whatever ours
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# The splash stays 2.5 s; the main window must be there well within 15 s.
for _ in $(seq 1 150); do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "quessar terminou antes de mostrar a janela principal" >&2
        exit 1
    fi
    if xwininfo -root -tree | grep -q "\"Morvane's Quessar\""; then
        if [ -n "$desktop" ]; then
            wanted=$(sed -n 's/^StartupWMClass=//p' "$desktop")
            class=$(xprop -name "Morvane's Quessar" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')
            if [ -z "$wanted" ] || [ "$class" != "$wanted" ]; then
                echo "classe da janela \"$class\", StartupWMClass \"$wanted\"" >&2
                exit 1
            fi
        fi
        # The program itself ignores that signal, so a file-size limit fails a save instead.
        ignored=$(sed -n 's/^SigIgn:[[:space:]]*//p' "/proc/$pid/status")
        if [ $((0x$ignored >> 24 & 1)) -ne 1 ]; then
            echo "quessar não ignora SIGXFSZ (SigIgn $ignored)" >&2
            exit 1
        fi
        sleep 1 # the title animation settles
        xwd -root -silent >"$shot.xwd"
        if command -v convert >/dev/null; then
            convert "$shot.xwd" "$shot" && rm -f "$shot.xwd"
        fi
        kill "$pid"
        wait "$pid" 2>/dev/null || true
        trap - EXIT
        echo "janela principal encontrada; captura em $shot"
        exit 0
    fi
    sleep 0.1
done
echo "a janela \"Morvane's Quessar\" não apareceu em 15 s" >&2
exit 1
