#include "TRadioGroup.h"

#include <QEvent>
#include <QStyle>
#include <QStyleOptionGroupBox>

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent) {
    grupo_.setExclusive(true);
    connect(&grupo_, &QButtonGroup::idToggled, this, [this](int, bool marcado) {
        if (marcado) emit Click();
    });
}

void TRadioGroup::SetItems(const QStringList& items) {
    // The form may set the index before the items; it is kept for them.
    const int anterior = botoes_.isEmpty() ? indicePedido_ : ItemIndex();
    qDeleteAll(botoes_);
    botoes_.clear();
    items_ = items;
    for (int i = 0; i < items_.size(); ++i) {
        auto* botao = new QRadioButton(items_[i], this);
        grupo_.addButton(botao, i);
        botoes_.append(botao);
        botao->show();
    }
    if (anterior >= 0 && anterior < botoes_.size()) botoes_[anterior]->setChecked(true);
    Organizar();
}

void TRadioGroup::SetColumns(int columns) {
    columns_ = columns < 1 ? 1 : columns;
    Organizar();
}

int TRadioGroup::ItemIndex() const { return grupo_.checkedId(); }

void TRadioGroup::SetItemIndex(int indice) {
    indicePedido_ = indice;
    if (indice == ItemIndex()) return;
    if (indice >= 0 && indice < botoes_.size()) {
        botoes_[indice]->setChecked(true);
        return;
    }
    // No item chosen: an exclusive group keeps one checked unless told otherwise.
    if (QAbstractButton* marcado = grupo_.checkedButton()) {
        grupo_.setExclusive(false);
        marcado->setChecked(false);
        grupo_.setExclusive(true);
        emit Click();
    }
}

void TRadioGroup::resizeEvent(QResizeEvent* evento) {
    QGroupBox::resizeEvent(evento);
    Organizar();
}

void TRadioGroup::changeEvent(QEvent* evento) {
    QGroupBox::changeEvent(evento);
    if (evento->type() == QEvent::FontChange) Organizar();
}

void TRadioGroup::Organizar() {
    // Columns fill top to bottom and share the width; rows share the height
    // inside the frame, below the caption as the style draws it.
    if (botoes_.isEmpty()) return;
    QStyleOptionGroupBox opcao;
    initStyleOption(&opcao);
    const QRect dentro = style()->subControlRect(QStyle::CC_GroupBox, &opcao, QStyle::SC_GroupBoxContents, this);
    const int porColuna = static_cast<int>((botoes_.size() + columns_ - 1) / columns_);
    const int largura = (width() - 10) / columns_;
    const int altura = dentro.height() / porColuna;
    const int margemTopo = dentro.top() + (dentro.height() % porColuna) / 2;
    for (int i = 0; i < botoes_.size(); ++i) {
        const int coluna = i / porColuna;
        const int linha = i % porColuna;
        botoes_[i]->setGeometry(coluna * largura + 8, linha * altura + margemTopo, largura, altura);
    }
}
