#include "TDBEdit.h"

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    connect(this, &QLineEdit::textEdited, this, &TDBEdit::AoEditar);
}

TDBEdit::~TDBEdit() = default;

void TDBEdit::SetDataField(const QString& campo) {
    dataField_ = campo;
    if (fonte_) Ligar(*fonte_);
}

void TDBEdit::Ligar(rotulos::TDataSource& fonte) {
    fonte_ = &fonte;
    link_ = std::make_unique<rotulos::TFieldDataLink>(fonte, dataField_.toStdString());
    link_->AoMudar = [this] { Atualizar(); };
    Atualizar();
}

void TDBEdit::Desligar() {
    link_.reset();
    fonte_ = nullptr;
    Atualizar();
}

std::string TDBEdit::TextoBruto() const {
    if (!link_) return {};
    // Every edit that reached the box was taken by the field, so what is shown
    // encodes; the field's own bytes stand in should it ever not.
    return link_->Codificar(text().toStdString()).value_or(link_->TextoBruto());
}

void TDBEdit::Atualizar() {
    const QString mostrado = link_ ? QString::fromStdString(link_->TextoExibido()) : QString();
    const int maximo = link_ ? link_->TamanhoMaximo() : 0;
    setMaxLength(maximo > 0 ? maximo : 32767);
    setReadOnly(!link_ || !link_->PodeEditar());
    // Setting the same text again would move the cursor while the operator types.
    if (text() != mostrado) setText(mostrado);
}

void TDBEdit::AoEditar(const QString& texto) {
    // A character the table's code page has no byte for is refused: the box
    // goes back to the stored value rather than show what cannot be saved.
    try {
        if (link_ && link_->AceitarTexto(texto.toStdString())) return;
    } catch (const std::exception& erro) {
        Atualizar();
        emit Falha(QString::fromStdString(erro.what()));
        return;
    }
    Atualizar();
}
