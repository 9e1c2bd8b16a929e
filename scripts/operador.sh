# Shell functions that stand in for the operator in front of the window: an X
# server of our own (Xvfb) with a window manager (openbox, for the frame and
# Alt+F4), and real mouse and keyboard input (xdotool). Windows are found by
# their title and their process, never waited for by the clock. Sourced by the
# demo and the end-to-end tests.

# Starts Xvfb on a display it picks itself, and openbox on it; exports DISPLAY.
# Both go when the calling shell exits.
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
    trap 'kill "${OPERADOR_WM_PID:-}" "$OPERADOR_XVFB_PID" 2>/dev/null' EXIT
    local i pronto=""
    for i in $(seq 100); do
        if [ -s "$arquivo" ] && xdpyinfo -display ":$(cat "$arquivo")" >/dev/null 2>&1; then
            export DISPLAY=":$(cat "$arquivo")"
            pronto=1
            break
        fi
        kill -0 "$OPERADOR_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$arquivo"
    if [ -z "$pronto" ]; then
        echo "Não foi possível iniciar o Xvfb." >&2
        return 1
    fi
    openbox --sm-disable >/dev/null 2>&1 &
    OPERADOR_WM_PID=$!
    # The window manager is up once it names itself on the root window.
    for i in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        kill -0 "$OPERADOR_WM_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "Não foi possível iniciar o gerenciador de janelas (openbox)." >&2
    return 1
}

# Loads where each control is, from the form's description, into OPERADOR_POS:
# "NOME" -> "X Y" in the window's client area.
operador_carregar_posicoes() {
    declare -gA OPERADOR_POS=()
    local nome x y
    while read -r nome x y; do OPERADOR_POS[$nome]="$x $y"; done < <("$1")
    [ -n "${OPERADOR_POS[Button1]:-}" ] || { echo "Sem posições dos controles." >&2; return 1; }
}

# The visible windows of process $2 titled exactly $1, one id a line.
operador_janelas() {
    xdotool search --all --onlyvisible --pid "$2" --name "^$1\$" 2>/dev/null || true
}

# Prints the id of the window of process $2 titled exactly $1, other than $3,
# waiting up to $4 seconds (20).
operador_esperar_janela() {
    local titulo=$1 pid=$2 exceto=${3:-} limite=${4:-20} i id
    for i in $(seq $((limite * 10))); do
        for id in $(operador_janelas "$titulo" "$pid"); do
            if [ "$id" != "$exceto" ]; then
                echo "$id"
                return 0
            fi
        done
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "A janela \"$titulo\" não apareceu em ${limite} s." >&2
    return 1
}

# Waits up to $3 seconds (20) until window $1's title is exactly $2.
operador_esperar_titulo() {
    local janela=$1 titulo=$2 limite=${3:-20} i
    for i in $(seq $((limite * 20))); do
        [ "$(xdotool getwindowname "$janela" 2>/dev/null)" = "$titulo" ] && return 0
        sleep 0.05
    done
    echo "O título não chegou a \"$titulo\" em ${limite} s (está \"$(xdotool getwindowname "$janela" 2>/dev/null)\")." >&2
    return 1
}

# Clicks on control $2 of window $1 (a name of the form, or NOME.N for an item).
operador_clicar() {
    local posicao=${OPERADOR_POS[$2]:?controle $2 desconhecido}
    # shellcheck disable=SC2086
    xdotool mousemove --sync --window "$1" $posicao click 1
}

# Gives window $1 the keyboard. The window manager names the window active
# before a program that takes the focus itself (Wine) has it: keys pressed in
# between would go nowhere, so the X input focus is waited for too, up to 10 s.
operador_dar_teclado() {
    local janela=$1 i
    xdotool windowactivate --sync "$janela" 2>/dev/null || xdotool windowfocus --sync "$janela"
    for i in $(seq 200); do
        [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$janela" ] && return 0
        sleep 0.05
    done
    echo "A janela $janela não recebeu o teclado em 10 s." >&2
    return 1
}

# Gives window $1 the keyboard and presses the keys that follow ("Return", "ctrl+a", "alt+F4"...).
operador_teclas() {
    local janela=$1
    shift
    operador_dar_teclado "$janela" || return 1
    xdotool key --clearmodifiers --delay 50 "$@"
}

# Types ASCII text $2 into window $1 (xdotool miscases accented letters under Xvfb).
operador_digitar() {
    operador_dar_teclado "$1" || return 1
    xdotool type --clearmodifiers --delay 50 "$2"
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

# One label as the other program writes it, in code page 1252 (printf escapes).
OPERADOR_ROTULO='\xC1CIDO SULF\xDARICO 98%	Grau t\xE9cnico	Tambor de 200 litros	Qu\xEDmica Brasil Ltda	1830	25,00 kg	26,10 kg	L24031	2024-03-05	2026-03-05'

# Makes both tables in C:\TARVEL with table tool $1, $2 labels waiting and
# the settings table empty; $3 and $4 stand for the label table's columns and
# its row.
operador_criar_tabelas() {
    local ferramenta=$1 n=$2 colunas=${3:-$OPERADOR_COLUNAS_ROTULOS} rotulo=${4:-$OPERADOR_ROTULO}
    "$ferramenta" criar 'C:\TARVEL\TMP239.DB' "$colunas"
    "$ferramenta" criar 'C:\TARVEL\ConfImpr.db' "$OPERADOR_COLUNAS_CONF"
    for _ in $(seq "$n"); do printf '%s\n' "$rotulo"; done | "$ferramenta" inserir 'C:\TARVEL\TMP239.DB'
}
