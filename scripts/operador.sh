# Shell functions that stand in for the operator in front of the window: an X
# server of our own (Xvfb) and real mouse and keyboard input (xdotool).
# Sourced by the demo and by the end-to-end test.

# Starts Xvfb on a display it picks itself and exports DISPLAY. The server
# goes when the calling shell exits.
operador_iniciar_xvfb() {
    # Qt wants a private runtime folder and complains on stderr without one.
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        XDG_RUNTIME_DIR=$(mktemp -d)
        export XDG_RUNTIME_DIR
    fi
    # -noreset: without it the server resets when its first client (xdpyinfo
    # below) leaves, and a program connecting meanwhile is turned away.
    local arquivo
    arquivo=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$arquivo" >/dev/null 2>&1 &
    OPERADOR_XVFB_PID=$!
    trap 'kill "$OPERADOR_XVFB_PID" 2>/dev/null' EXIT
    local i
    for i in $(seq 100); do
        if [ -s "$arquivo" ] && xdpyinfo -display ":$(cat "$arquivo")" >/dev/null 2>&1; then
            export DISPLAY=":$(cat "$arquivo")"
            rm -f "$arquivo"
            return 0
        fi
        kill -0 "$OPERADOR_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$arquivo"
    echo "Não foi possível iniciar o Xvfb." >&2
    return 1
}

# Prints the id of the visible window titled exactly $1, waiting up to $2 seconds.
operador_esperar_janela() {
    local titulo=$1 limite=${2:-20} id i
    for i in $(seq $((limite * 10))); do
        id=$(xdotool search --onlyvisible --name "^${titulo}\$" 2>/dev/null | tail -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    echo "A janela \"$titulo\" não apareceu em ${limite} s." >&2
    return 1
}

# Clicks at $2,$3 inside window $1 (client coordinates, as in the form).
operador_clicar() {
    xdotool mousemove --sync --window "$1" "$2" "$3" click 1
    sleep 0.3
}

# Gives window $1 the keyboard and types the keys that follow ("Return", "ctrl+a", ...).
operador_teclas() {
    local janela=$1
    shift
    xdotool windowfocus --sync "$janela"
    xdotool key --delay 50 "$@"
    sleep 0.3
}

# Types text $2 into window $1.
operador_digitar() {
    xdotool windowfocus --sync "$1"
    xdotool type --delay 50 "$2"
    sleep 0.3
}

# Waits up to $2 seconds for process $1 to end; its status in OPERADOR_STATUS.
operador_esperar_fim() {
    local pid=$1 limite=${2:-30} i
    for i in $(seq $((limite * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            OPERADOR_STATUS=$?
            return 0
        fi
        sleep 0.1
    done
    echo "O programa não terminou em ${limite} s." >&2
    return 1
}

# The two tables of an installation, as the other program and the installer make them.
OPERADOR_COLUNAS_ROTULOS="Nome1:A40,Nome2:A40,Nome3:A40,Cliente:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10,DataFab:D,DataVal:D"
OPERADOR_COLUNAS_CONF="Temperatura:A10,Velocidade:A10,Borda:A10,Retorno:A10,Porta:A10"

# Where the controls are, in the window's client coordinates (the form's
# positions plus half the control).
OPERADOR_IMPRIMIR=(299 225)
OPERADOR_FECHAR=(379 225)
OPERADOR_GRANDE=(142 225)
OPERADOR_TEMPERATURA=(147 45)
