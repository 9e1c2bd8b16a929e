#include "JanelaWin32.h"

#include <algorithm>

#include "Texto.h"

using namespace rotulos::form;

namespace {

constexpr wchar_t kClasse[] = L"TfoImprimeEtiqLumbertovaLab";
constexpr UINT kMostrada = WM_APP + 1;  // posted once the window is on screen
constexpr int kPrimeiroId = 100;        // clear of IDOK and IDCANCEL

int CALLBACK FonteEncontrada(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM achou) {
    *reinterpret_cast<bool*>(achou) = true;
    return 0;
}

}  // namespace

JanelaWin32::JanelaWin32(HINSTANCE instancia, TfoImprimeEtiqLumbertovaLab& janela, AgendaWin32& agenda)
    : janela_(janela), agenda_(agenda), instancia_(instancia) {
    CriarFonte();
    WNDCLASSEXW classe{};
    classe.cbSize = sizeof classe;
    classe.lpfnWndProc = Procedimento;
    classe.hInstance = instancia_;
    classe.hIcon = LoadIconW(instancia_, L"MAINICON");
    classe.hIconSm = static_cast<HICON>(LoadImageW(instancia_, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0));
    classe.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    classe.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    classe.lpszClassName = kClasse;
    RegisterClassExW(&classe);

    // The form gives the frame's corner and the client area's size, at 96 dpi.
    const DescricaoJanela& forma = janela_.Descricao();
    // Not WS_CLIPCHILDREN: the window paints beneath its group boxes, which draw only their frames.
    const DWORD estilo = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const DWORD estiloEstendido = WS_EX_CONTROLPARENT;
    RECT r{0, 0, Escala(forma.larguraCliente), Escala(forma.alturaCliente)};
    AdjustWindowRectEx(&r, estilo, FALSE, estiloEstendido);
    hwnd_ = CreateWindowExW(estiloEstendido, kClasse, Largo(janela_.Caption()).c_str(), estilo, Escala(forma.left),
                            Escala(forma.top), r.right - r.left, r.bottom - r.top, nullptr, nullptr, instancia_, this);
    if (!hwnd_) throw std::runtime_error("Não foi possível criar a janela \"Impressão de Rótulos\".");
    agenda_.Ligar(hwnd_);
    CriarControles();

    janela_.AoMudar = [this] { SetWindowTextW(hwnd_, Largo(janela_.Caption()).c_str()); };
    janela_.AoFechar = [this] { DestroyWindow(hwnd_); };
}

JanelaWin32::~JanelaWin32() {
    // The core outlives the window: it must not call into it any more.
    janela_.AoMudar = nullptr;
    janela_.AoFechar = nullptr;
    for (auto& controle : controles_) controle.componente->AoMudar = nullptr;
    agenda_.Cancelar();
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    if (fonte_) DeleteObject(fonte_);
}

void JanelaWin32::CriarFonte() {
    HDC dc = GetDC(nullptr);
    dpi_ = GetDeviceCaps(dc, LOGPIXELSY);
    // The form's face at its size; where it is missing, the system's dialog font.
    const DescricaoJanela& forma = janela_.Descricao();
    LOGFONTW desejada{};
    desejada.lfHeight = -Escala(forma.alturaFonte);
    desejada.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = Largo(forma.fonte);
    std::copy_n(face.c_str(), std::min<std::size_t>(face.size() + 1, LF_FACESIZE), desejada.lfFaceName);
    bool achou = false;
    EnumFontFamiliesExW(dc, &desejada, FonteEncontrada, reinterpret_cast<LPARAM>(&achou), 0);
    ReleaseDC(nullptr, dc);
    if (!achou) {
        NONCLIENTMETRICSW metricas{};
        metricas.cbSize = sizeof metricas;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metricas, &metricas, 0);
        desejada = metricas.lfMessageFont;
    }
    fonte_ = CreateFontIndirectW(&desejada);
}

HWND JanelaWin32::Criar(const wchar_t* classe, const std::wstring& texto, DWORD estilo, DWORD estiloEstendido,
                        const Retangulo& posicao, int id) {
    HWND controle =
        CreateWindowExW(estiloEstendido, classe, texto.c_str(), estilo | WS_CHILD | WS_VISIBLE, Escala(posicao.left),
                        Escala(posicao.top), Escala(posicao.width), Escala(posicao.height), hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instancia_, nullptr);
    SendMessageW(controle, WM_SETFONT, reinterpret_cast<WPARAM>(fonte_), FALSE);
    return controle;
}

void JanelaWin32::CriarControles() {
    const DescricaoJanela& forma = janela_.Descricao();
    controles_.reserve(forma.controles.size());
    int id = kPrimeiroId;
    // Children of a group box are the window's own, placed where the box puts
    // them. Each frame comes after what it holds, so that it is drawn beneath
    // it and the tab order is the form's: the frames take no focus.
    std::string_view moldura;
    const auto criarMoldura = [&] {
        const DescricaoControle& d = rotulos::form::Controle(moldura);
        Nativo& c = controles_.emplace_back(Nativo{janela_.Controle(d.nome), nullptr, {}});
        c.janela = Criar(L"BUTTON", Largo(d.texto), BS_GROUPBOX | WS_GROUP, 0, d.posicao, id);
        porId_[id++] = {&c, -1};
        moldura = {};
    };
    for (const DescricaoControle& d : forma.controles) {
        if (!moldura.empty() && d.pai != moldura) criarMoldura();
        if (d.tipo == TipoControle::Grupo) {
            moldura = d.nome;
            continue;
        }
        Retangulo posicao = d.posicao;
        if (!d.pai.empty()) {
            posicao.left += rotulos::form::Controle(d.pai).posicao.left;
            posicao.top += rotulos::form::Controle(d.pai).posicao.top;
        }
        Nativo& c = controles_.emplace_back(Nativo{janela_.Controle(d.nome), nullptr, {}});
        switch (d.tipo) {
            case TipoControle::Botao:
                c.janela = Criar(L"BUTTON", Largo(d.texto), BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, posicao, id);
                break;
            case TipoControle::Rotulo:
                c.janela = Criar(L"STATIC", Largo(d.texto), SS_LEFT | SS_NOPREFIX, 0, posicao, id);
                break;
            case TipoControle::Edicao:
                c.janela = Criar(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE, posicao, id);
                break;
            case TipoControle::GrupoDeOpcoes: {
                const auto itens = PosicoesDosItens(d, forma.alturaTexto);
                for (std::size_t i = 0; i < itens.size(); ++i) {
                    Retangulo item = itens[i];
                    item.left += posicao.left;
                    item.top += posicao.top;
                    c.itens.push_back(
                        Criar(L"BUTTON", Largo(d.itens[i]), BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), 0, item, id));
                    porId_[id++] = {&c, static_cast<int>(i)};
                }
                c.janela = Criar(L"BUTTON", Largo(d.texto), BS_GROUPBOX | WS_GROUP, 0, posicao, id);
                break;
            }
            case TipoControle::Grupo: break;
        }
        porId_[id++] = {&c, -1};
    }
    if (!moldura.empty()) criarMoldura();
    for (Nativo& c : controles_) {
        c.componente->AoMudar = [this, &c] { Renderizar(c); };
        Renderizar(c);
    }
}

void JanelaWin32::Renderizar(const Nativo& c) {
    renderizando_ = true;
    const TControl& componente = *c.componente;
    EnableWindow(c.janela, componente.Enabled());
    for (HWND item : c.itens) EnableWindow(item, componente.Enabled());
    ShowWindow(c.janela, componente.Visible() ? SW_SHOWNA : SW_HIDE);
    if (const auto* rotulo = dynamic_cast<const TLabel*>(&componente)) {
        const std::wstring texto = Largo(rotulo->Caption());
        if (TextoDaJanela(c.janela) != texto) SetWindowTextW(c.janela, texto.c_str());
        // Sized to its text from where the form puts it, so that another face
        // than the form's does not cut it off.
        HDC dc = GetDC(c.janela);
        HGDIOBJ antes = SelectObject(dc, fonte_);
        SIZE medida{};
        GetTextExtentPoint32W(dc, texto.c_str(), static_cast<int>(texto.size()), &medida);
        SelectObject(dc, antes);
        ReleaseDC(c.janela, dc);
        SetWindowPos(c.janela, nullptr, 0, 0, medida.cx, Escala(componente.Descricao().posicao.height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (const auto* edit = dynamic_cast<const TDBEdit*>(&componente)) {
        SendMessageW(c.janela, EM_SETLIMITTEXT, static_cast<WPARAM>(edit->MaxLength()), 0);
        SendMessageW(c.janela, EM_SETREADONLY, edit->ReadOnly(), 0);
        // Setting the same text again would move the caret while the operator types.
        const std::wstring texto = Largo(edit->Text());
        if (TextoDaJanela(c.janela) != texto) {
            DWORD inicio = 0, fim = 0;
            SendMessageW(c.janela, EM_GETSEL, reinterpret_cast<WPARAM>(&inicio), reinterpret_cast<LPARAM>(&fim));
            SetWindowTextW(c.janela, texto.c_str());
            SendMessageW(c.janela, EM_SETSEL, std::min<DWORD>(inicio, static_cast<DWORD>(texto.size())),
                         std::min<DWORD>(fim, static_cast<DWORD>(texto.size())));
        }
    } else if (const auto* grupo = dynamic_cast<const TRadioGroup*>(&componente)) {
        for (std::size_t i = 0; i < c.itens.size(); ++i) {
            const bool escolhido = static_cast<int>(i) == grupo->ItemIndex();
            SendMessageW(c.itens[i], BM_SETCHECK, escolhido ? BST_CHECKED : BST_UNCHECKED, 0);
            // Tab stops at the chosen item, the group's one place in the tab order.
            const LONG_PTR estilo = GetWindowLongPtrW(c.itens[i], GWL_STYLE);
            SetWindowLongPtrW(c.itens[i], GWL_STYLE, escolhido ? estilo | WS_TABSTOP : estilo & ~WS_TABSTOP);
        }
    }
    renderizando_ = false;
}

void JanelaWin32::Comando(int id, int notificacao, HWND origem) {
    // Enter: the dialog manager asks for IDOK; the focused button is pressed.
    if (id == IDOK) {
        HWND foco = GetFocus();
        for (const Nativo& c : controles_) {
            if (c.janela == foco && dynamic_cast<TButton*>(c.componente)) SendMessageW(foco, BM_CLICK, 0, 0);
        }
        return;
    }
    const auto achado = porId_.find(id);
    if (achado == porId_.end() || renderizando_) return;
    auto [controle, item] = achado->second;
    if (auto* botao = dynamic_cast<TButton*>(controle->componente); botao && notificacao == BN_CLICKED) {
        botao->Click();
    } else if (auto* grupo = dynamic_cast<TRadioGroup*>(controle->componente); grupo && notificacao == BN_CLICKED) {
        if (item >= 0) grupo->Escolher(item);
    } else if (auto* edit = dynamic_cast<TDBEdit*>(controle->componente); edit && notificacao == EN_CHANGE) {
        edit->Digitar(Utf8(TextoDaJanela(origem)));
    }
}

LRESULT CALLBACK JanelaWin32::Procedimento(HWND janela, UINT mensagem, WPARAM w, LPARAM l) {
    if (mensagem == WM_NCCREATE) {
        auto* esta = static_cast<JanelaWin32*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        esta->hwnd_ = janela;
        SetWindowLongPtrW(janela, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(esta));
    }
    auto* esta = reinterpret_cast<JanelaWin32*>(GetWindowLongPtrW(janela, GWLP_USERDATA));
    return esta ? esta->Tratar(mensagem, w, l) : DefWindowProcW(janela, mensagem, w, l);
}

LRESULT JanelaWin32::Tratar(UINT mensagem, WPARAM w, LPARAM l) {
    switch (mensagem) {
        case WM_COMMAND: Comando(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l)); return 0;
        case WM_TIMER:
            if (w == AgendaWin32::kTemporizador) agenda_.Disparar();
            return 0;
        case kMostrada: janela_.Mostrar(); return 0;
        case WM_ACTIVATE:
            // As a dialog does: the control that had the keyboard has it again
            // when the window is active again, after a message box or another
            // program. DefWindowProc would give it to the window itself, and a
            // Tab would then start over from the first control.
            if (LOWORD(w) == WA_INACTIVE) {
                HWND foco = GetFocus();
                if (foco && IsChild(hwnd_, foco)) focoAoSair_ = foco;
            } else if (!HIWORD(w)) {
                DevolverFoco();
            }
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            // Labels, frames, options and read-only boxes on the window's face, as in a dialog.
            HDC dc = reinterpret_cast<HDC>(w);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            SetTextColor(dc,
                         GetSysColor(IsWindowEnabled(reinterpret_cast<HWND>(l)) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_CLOSE:
            // The core decides: it runs the closing sequence, asks during a
            // print run, and destroys the window through AoFechar when done.
            janela_.Close();
            return 0;
        case WM_DESTROY:
            agenda_.Cancelar();
            PostQuitMessage(0);
            return 0;
        default: return DefWindowProcW(hwnd_, mensagem, w, l);
    }
}

void JanelaWin32::DevolverFoco() {
    HWND alvo = focoAoSair_;
    if (!alvo) {
        alvo = std::find_if(controles_.begin(), controles_.end(), [this](const Nativo& c) {
                   return c.componente == &janela_.ControleInicial();
               })->janela;
    }
    // Disabled or hidden meanwhile: the first control that can take it.
    if (!IsWindowEnabled(alvo) || !IsWindowVisible(alvo)) alvo = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (alvo) SetFocus(alvo);
}

void JanelaWin32::Mostrar(int comoMostrar) {
    ShowWindow(hwnd_, comoMostrar);
    UpdateWindow(hwnd_);
    PostMessageW(hwnd_, kMostrada, 0, 0);
}

int JanelaWin32::Executar() {
    MSG mensagem{};
    while (GetMessageW(&mensagem, nullptr, 0, 0) > 0) {
        // Tab, Shift+Tab, the arrows in the size choice, Enter and Space as in a dialog.
        if (IsWindow(hwnd_) && IsDialogMessageW(hwnd_, &mensagem)) continue;
        TranslateMessage(&mensagem);
        DispatchMessageW(&mensagem);
    }
    return static_cast<int>(mensagem.wParam);
}
