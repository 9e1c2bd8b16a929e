#!/usr/bin/env bash
# End to end: the real program in a real X server with a window manager,
# driven by mouse and keyboard as an operator would, the printer a file.
# Tables made with rotulos-tabela and read back with pxlib.
#   janela_e2e.sh CASO BIN PXLIB_LISTAR DADOS OPERADOR_SH
# CASO: pequeno | grande | nao | fechar | progresso | interromper | coluna | profile
set -euo pipefail
caso=$1 bin=$2 pxlib=$3 dados=$4
. "$5"

pasta=$(mktemp -d)
trap 'kill "${programa:-}" "${OPERADOR_WM_PID:-}" "${OPERADOR_XVFB_PID:-}" 2>/dev/null; rm -rf "$pasta"' EXIT
mkdir -p "$pasta/C/TARVEL" "$pasta/portas" "$pasta/trabalho"
export ROTULOS_DRIVE_C="$pasta/C"
export ROTULOS_DEVICE_DIR="$pasta/portas"
rotulos="$pasta/C/TARVEL/TMP239.DB"
conf="$pasta/C/TARVEL/ConfImpr.db"
titulo="Impressão de Rótulos"

falhar() {
    echo "FALHA ($caso): $*" >&2
    exit 1
}

colunas=$OPERADOR_COLUNAS_ROTULOS
rotulo=$OPERADOR_ROTULO
n=2
case "$caso" in
    grande) n=1 ;;
    progresso | interromper) n=3 ;;
    coluna)
        colunas=${colunas/Cliente:A40,/}
        rotulo=${rotulo/Qu\\xEDmica Brasil Ltda	/}
        ;;
esac
operador_criar_tabelas "$bin/rotulos-tabela" "$n" "$colunas" "$rotulo"
[ "$("$pxlib" "$rotulos" | head -n 1)" = "$n" ] || falhar "a tabela de rótulos não tem $n linhas"

operador_iniciar_xvfb
operador_carregar_posicoes "$bin/posicoes-janela"
# In a folder of its own, where a port text taken for a file name would land.
(cd "$pasta/trabalho" && exec "$bin/imprime-rotulos") &
programa=$!
janela=$(operador_esperar_janela "$titulo" "$programa")

# Presses Return on the box titled $1 of the program, once it is there.
responder() {
    local caixa
    caixa=$(operador_esperar_janela "$1" "$programa" "$janela") || falhar "a caixa \"$1\" não apareceu"
    operador_teclas "$caixa" "${2:-Return}"
}

porta=LPT1 referencia="$dados/rotulo-pequeno.ref" temperatura=13 restam=0
case "$caso" in
    pequeno | grande | progresso)
        if [ "$caso" = grande ]; then
            operador_clicar "$janela" RadioGroup1.1
            porta=LPT3 referencia="$dados/rotulo-grande.ref"
        fi
        operador_clicar "$janela" Button1
        inicio=$(date +%s%N)
        responder "Confirmação"
        if [ "$caso" = progresso ]; then
            # The run goes on from the timer: the window shows how far it is.
            for k in 1 2 3; do
                operador_esperar_titulo "$janela" "$titulo – imprimindo rótulo $k de 3" 10 ||
                    falhar "o título não mostrou o rótulo $k de 3"
            done
        fi
        operador_esperar_fim "$programa" 40 || falhar "o programa não terminou"
        decorrido=$((($(date +%s%N) - inicio) / 1000000))
        # Two seconds after each label, then the window closes.
        [ "$decorrido" -ge $((2000 * n)) ] && [ "$decorrido" -lt $((2000 * n + 10000)) ] ||
            falhar "terminou após $decorrido ms para $n rótulos"
        for _ in $(seq $n); do cat "$referencia"; done >"$pasta/esperado"
        cmp "$pasta/esperado" "$pasta/portas/$porta" || falhar "bytes na porta $porta diferem de $referencia"
        ;;
    nao)
        operador_clicar "$janela" Button1
        responder "Confirmação" Escape
        operador_esperar_fim "$programa" 10 || falhar "o programa não terminou"
        [ ! -e "$pasta/portas/LPT1" ] || falhar "a porta foi aberta"
        ;;
    fechar)
        operador_clicar "$janela" DBEdit10
        operador_teclas "$janela" ctrl+a
        operador_digitar "$janela" 15
        temperatura=15
        operador_clicar "$janela" Button2
        operador_esperar_fim "$programa" 10 || falhar "o programa não terminou"
        [ ! -e "$pasta/portas/LPT1" ] || falhar "a porta foi aberta"
        ;;
    interromper)
        operador_clicar "$janela" Button1
        responder "Confirmação"
        operador_esperar_titulo "$janela" "$titulo – imprimindo rótulo 1 de 3" 10 || falhar "a impressão não começou"
        # The frame's close control, by its key: asks, and Sim stops before the next label.
        operador_teclas "$janela" alt+F4
        responder "Confirmação"
        responder "$titulo"  # "Impressão interrompida."
        operador_esperar_titulo "$janela" "$titulo" 10 || falhar "o título não voltou"
        kill -0 "$programa" 2>/dev/null || falhar "a janela fechou"
        cmp "$referencia" "$pasta/portas/LPT1" || falhar "a porta não tem exatamente o primeiro rótulo"
        [ "$("$pxlib" "$rotulos" | head -n 1)" = 3 ] || falhar "os rótulos não ficaram na tabela"
        # Usable again: "Fechar" closes, discarding them as always.
        operador_clicar "$janela" Button2
        operador_esperar_fim "$programa" 10 || falhar "o programa não terminou"
        ;;
    coluna)
        operador_clicar "$janela" Button1
        responder "Confirmação"
        responder "Erro"
        [ ! -e "$pasta/portas/LPT1" ] || falhar "algo foi enviado à impressora: $(wc -c <"$pasta/portas/LPT1") bytes"
        # The box gone, the keyboard is back on "Imprimir": Tab to "Fechar", Space presses it.
        operador_teclas "$janela" Tab space
        operador_esperar_fim "$programa" 10 || falhar "o programa não terminou"
        ;;
    profile)
        operador_clicar "$janela" DBEdit1
        operador_teclas "$janela" ctrl+a
        operador_digitar "$janela" .profile
        operador_clicar "$janela" Button1
        responder "Confirmação"
        responder "$titulo"  # "Não conseguiu abrir impressora!"
        criados=$(find "$pasta/trabalho" "$pasta/portas" -mindepth 1)
        [ -z "$criados" ] || falhar "criou $criados"
        operador_clicar "$janela" Button2
        operador_esperar_fim "$programa" 10 || falhar "o programa não terminou"
        porta=.profile
        ;;
    *) falhar "caso desconhecido" ;;
esac

[ "$OPERADOR_STATUS" -eq 0 ] || falhar "status de saída $OPERADOR_STATUS"
[ "$("$pxlib" "$rotulos")" = "$restam" ] || falhar "ficaram rótulos na tabela: $("$pxlib" "$rotulos")"
salvo=$("$pxlib" "$conf")
[ "$salvo" = "$(printf '1\n%s\tE\t220\t220\t%s' "$temperatura" "$porta")" ] || falhar "configurações salvas: $salvo"
echo "OK ($caso)"
