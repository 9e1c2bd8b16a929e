#include "DialogosWin32.h"

#include <algorithm>
#include <vector>

#include "Texto.h"

using namespace rotulos;

namespace {

enum : int { kIcone = 100, kTexto = 101, kDetalhe = 102 };

// The system's icons by their W names (IDI_QUESTION and IDI_ERROR follow the build's character set).
const LPCWSTR kIconePergunta = MAKEINTRESOURCEW(32514);
const LPCWSTR kIconeErro = MAKEINTRESOURCEW(32513);

struct Caixa {
    std::wstring titulo;
    std::wstring texto;
    std::wstring detalhe;
    LPCWSTR icone;  // a system icon, or null
    bool pergunta;  // Sim/Não, else OK
};

// A dialog template built in memory: its items are placed and sized once the
// texts can be measured, in WM_INITDIALOG.
class Modelo {
public:
    explicit Modelo(int itens) {
        Palavras(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
        Palavras(0);  // extended style
        dados_.push_back(static_cast<WORD>(itens));
        for (int i = 0; i < 4; ++i) dados_.push_back(0);  // x, y, cx, cy: set later
        dados_.push_back(0);                              // no menu
        dados_.push_back(0);                              // the standard dialog class
        Texto(L"");                                       // the title, set later
        dados_.push_back(8);                              // points
        Texto(L"MS Shell Dlg");
    }

    // `classe`: 0x0080 button, 0x0082 static.
    void Item(WORD classe, DWORD estilo, WORD id, const wchar_t* texto) {
        if (dados_.size() % 2) dados_.push_back(0);  // items start on a DWORD
        Palavras(estilo | WS_CHILD | WS_VISIBLE);
        Palavras(0);
        for (int i = 0; i < 4; ++i) dados_.push_back(0);
        dados_.push_back(id);
        dados_.push_back(0xFFFF);
        dados_.push_back(classe);
        Texto(texto);
        dados_.push_back(0);  // no creation data
    }

    const DLGTEMPLATE* Dados() const { return reinterpret_cast<const DLGTEMPLATE*>(dados_.data()); }

private:
    void Palavras(DWORD valor) {
        dados_.push_back(LOWORD(valor));
        dados_.push_back(HIWORD(valor));
    }
    void Texto(const wchar_t* texto) {
        for (; *texto; ++texto) dados_.push_back(static_cast<WORD>(*texto));
        dados_.push_back(0);
    }

    std::vector<WORD> dados_;
};

SIZE Medir(HDC dc, const std::wstring& texto, int larguraMaxima) {
    if (texto.empty()) return {0, 0};
    RECT r{0, 0, larguraMaxima, 0};
    DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return {r.right, r.bottom};
}

// Places icon, texts and buttons; the box as wide as its title needs.
void Arrumar(HWND dialogo, const Caixa& caixa) {
    HDC dc = GetDC(dialogo);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    const auto px = [dpi](int v) { return MulDiv(v, dpi, 96); };
    HGDIOBJ antes = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialogo, WM_GETFONT, 0, 0)));
    const SIZE texto = Medir(dc, caixa.texto, px(380));
    const SIZE detalhe = Medir(dc, caixa.detalhe, px(380));
    SelectObject(dc, antes);

    NONCLIENTMETRICSW metricas{};
    metricas.cbSize = sizeof metricas;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metricas, &metricas, 0);
    HFONT fonteDoTitulo = CreateFontIndirectW(&metricas.lfCaptionFont);
    antes = SelectObject(dc, fonteDoTitulo);
    const SIZE titulo = Medir(dc, caixa.titulo, 10000);
    SelectObject(dc, antes);
    DeleteObject(fonteDoTitulo);
    ReleaseDC(dialogo, dc);

    const int margem = px(12), icone = caixa.icone ? GetSystemMetrics(SM_CXICON) : 0;
    const int larguraBotao = px(75), alturaBotao = px(23), entreBotoes = px(6);
    const int botoes = caixa.pergunta ? 2 : 1;
    const int xTexto = margem + (icone ? icone + margem : 0);
    const int larguraTextos = std::max(texto.cx, detalhe.cx);
    const int larguraDosBotoes = botoes * larguraBotao + (botoes - 1) * entreBotoes;
    // The title with the frame's icon and buttons beside it.
    const int paraOTitulo = titulo.cx + GetSystemMetrics(SM_CXSMICON) + 3 * GetSystemMetrics(SM_CXSIZE) + px(24);
    const int largura = std::max({xTexto + larguraTextos + margem, larguraDosBotoes + 2 * margem, paraOTitulo});
    const int yDetalhe = margem + texto.cy + (detalhe.cy ? px(10) : 0);
    const int alturaTextos = std::max<int>(yDetalhe + detalhe.cy, margem + icone);
    const int yBotoes = alturaTextos + px(16);
    const int altura = yBotoes + alturaBotao + margem;

    MoveWindow(GetDlgItem(dialogo, kIcone), margem, margem, icone, icone, FALSE);
    MoveWindow(GetDlgItem(dialogo, kTexto), xTexto, margem, texto.cx, texto.cy, FALSE);
    MoveWindow(GetDlgItem(dialogo, kDetalhe), xTexto, yDetalhe, detalhe.cx, detalhe.cy, FALSE);
    int x = largura - margem - larguraDosBotoes;
    for (int id : caixa.pergunta ? std::vector<int>{IDYES, IDNO} : std::vector<int>{IDOK}) {
        MoveWindow(GetDlgItem(dialogo, id), x, yBotoes, larguraBotao, alturaBotao, FALSE);
        x += larguraBotao + entreBotoes;
    }

    RECT r{0, 0, largura, altura};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(dialogo, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialogo, GWL_EXSTYLE)));
    // Centred over the window it belongs to, or the screen.
    RECT sobre{};
    HWND dono = GetWindow(dialogo, GW_OWNER);
    if (!dono || !GetWindowRect(dono, &sobre)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &sobre, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(dialogo, nullptr, (sobre.left + sobre.right - w) / 2, (sobre.top + sobre.bottom - h) / 2, w, h,
                 SWP_NOZORDER);
}

INT_PTR CALLBACK Procedimento(HWND dialogo, UINT mensagem, WPARAM w, LPARAM l) {
    switch (mensagem) {
        case WM_INITDIALOG: {
            const auto& caixa = *reinterpret_cast<const Caixa*>(l);
            SetWindowLongPtrW(dialogo, DWLP_USER, l);
            SetWindowTextW(dialogo, caixa.titulo.c_str());
            SetDlgItemTextW(dialogo, kTexto, caixa.texto.c_str());
            SetDlgItemTextW(dialogo, kDetalhe, caixa.detalhe.c_str());
            if (caixa.icone)
                SendDlgItemMessageW(dialogo, kIcone, STM_SETICON,
                                    reinterpret_cast<WPARAM>(LoadIconW(nullptr, caixa.icone)), 0);
            Arrumar(dialogo, caixa);
            SetFocus(GetDlgItem(dialogo, caixa.pergunta ? IDYES : IDOK));
            return FALSE;  // the focus is set
        }
        case WM_COMMAND: {
            const auto& caixa = *reinterpret_cast<const Caixa*>(GetWindowLongPtrW(dialogo, DWLP_USER));
            const int id = LOWORD(w);
            // Esc and the close control answer Não to a question, OK to a message.
            if (id == IDCANCEL) EndDialog(dialogo, caixa.pergunta ? IDNO : IDOK);
            if (id == IDYES || id == IDNO || id == IDOK) EndDialog(dialogo, id);
            return TRUE;
        }
        default: return FALSE;
    }
}

int Mostrar(const Caixa& caixa) {
    Modelo modelo(caixa.pergunta ? 5 : 4);
    modelo.Item(0x0082, SS_ICON, kIcone, L"");
    modelo.Item(0x0082, SS_LEFT | SS_NOPREFIX, kTexto, L"");
    modelo.Item(0x0082, SS_LEFT | SS_NOPREFIX, kDetalhe, L"");
    const std::wstring sim = Largo(form::kSim), nao = Largo(form::kNao), ok = Largo(form::kOk);
    if (caixa.pergunta) {
        modelo.Item(0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDYES, sim.c_str());
        modelo.Item(0x0080, BS_PUSHBUTTON | WS_TABSTOP, IDNO, nao.c_str());
    } else {
        modelo.Item(0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, ok.c_str());
    }
    return static_cast<int>(DialogBoxIndirectParamW(GetModuleHandleW(nullptr), modelo.Dados(), GetActiveWindow(),
                                                    Procedimento, reinterpret_cast<LPARAM>(&caixa)));
}

}  // namespace

bool DialogosWin32::Confirmar(const std::string& pergunta, const std::string& detalhe) {
    return Mostrar({Largo(form::kTituloConfirmacao), Largo(pergunta), Largo(detalhe), kIconePergunta, true}) == IDYES;
}

void DialogosWin32::Mensagem(const std::string& texto, const std::string& detalhe, TipoMensagem tipo) {
    Mostrar({Largo(form::kTituloMensagem), Largo(texto), Largo(detalhe),
             tipo == TipoMensagem::Falha ? kIconeErro : nullptr, false});
}

void DialogosWin32::RelatarErro(const std::string& texto) {
    Mostrar({Largo(form::kTituloErro), Largo(texto), L"", kIconeErro, false});
}
