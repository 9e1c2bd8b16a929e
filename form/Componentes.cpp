#include "Componentes.h"

#include "CodePage.h"

namespace rotulos::form {

// --- TControl ------------------------------------------------------------------

TControl::TControl(TForm& dono, std::string_view nome)
    : dono_(dono), descricao_(Controle(nome)), visible_(descricao_.visivel) {
    dono_.controles_.push_back(this);
}

void TControl::Mudou() {
    if (AoMudar) AoMudar();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Mudou();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Mudou();
}

void TButton::Click() {
    if (Enabled() && OnClick) dono_.Tratar(OnClick);
}

void TLabel::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Mudou();
}

std::vector<std::string_view> TRadioGroup::Items() const {
    std::vector<std::string_view> itens;
    for (std::string_view item : Descricao().itens) {
        if (!item.empty()) itens.push_back(item);
    }
    return itens;
}

void TRadioGroup::SetItemIndex(int indice) {
    if (indice == itemIndex_) return;
    itemIndex_ = indice;
    Mudou();
}

void TRadioGroup::Escolher(int indice) {
    if (!Enabled() || indice == itemIndex_) {
        Mudou();  // the shell shows the choice that stands
        return;
    }
    SetItemIndex(indice);
    if (OnClick) dono_.Tratar(OnClick);
}

// --- TDBEdit -------------------------------------------------------------------

std::string SemCaracteresDeControle(const std::string& utf8) {
    const auto pontos = DecodificarUtf8(utf8);
    if (!pontos) return {};
    std::string limpo;
    for (const char32_t ponto : *pontos) {
        if (ponto < 0x20 || (ponto >= 0x7F && ponto <= 0x9F)) continue;
        AcrescentarUtf8(limpo, ponto);
    }
    return limpo;
}

TDBEdit::TDBEdit(TForm& dono, std::string_view nome, TDataSource& fonte)
    : TControl(dono, nome), link_(fonte, std::string(DataField())) {
    link_.AoMudar = [this] { Mudou(); };
}

std::string TDBEdit::Text() const { return SemCaracteresDeControle(link_.TextoExibido()); }

std::string TDBEdit::TextoBruto() const {
    // What is shown encodes: it came from the table's code page, or was taken by it.
    return link_.Codificar(Text()).value_or(std::string());
}

void TDBEdit::Digitar(const std::string& utf8) {
    if (Enabled()) dono_.Tratar([&] { link_.AceitarTexto(SemCaracteresDeControle(utf8)); });
    // Whatever was taken, left out or refused, the box shows the field.
    Mudou();
}

// --- TForm ---------------------------------------------------------------------

TForm::TForm() : caption_(Formulario().titulo) {}

TControl* TForm::Controle(std::string_view nome) const {
    for (TControl* controle : controles_) {
        if (controle->Name() == nome) return controle;
    }
    return nullptr;
}

void TForm::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    if (AoMudar) AoMudar();
}

bool TForm::Tratar(const std::function<void()>& acao) {
    try {
        acao();
        return true;
    } catch (const std::exception& erro) {
        RelatarErro(erro.what());
        return false;
    }
}

}  // namespace rotulos::form
