#include "uImprimeEtiqLumbertovaLab.h"

#include <QCloseEvent>
#include <QFont>
#include <QShowEvent>

#include "TDBEdit.h"
#include "TRadioGroup.h"
#include "TabelaConfiguracao.h"
#include "ui_uImprimeEtiqLumbertovaLab.h"

TfoImprimeEtiqLumbertovaLab* foImprimeEtiqLumbertovaLab = nullptr;

template <typename Acao>
bool TfoImprimeEtiqLumbertovaLab::Tratar(Acao&& acao) {
    try {
        acao();
        return true;
    } catch (const std::exception& erro) {
        dialogos_.RelatarErro(erro.what());
        return false;
    }
}

TfoImprimeEtiqLumbertovaLab::TfoImprimeEtiqLumbertovaLab(DialogosJanela& dialogos, rotulos::Pausa& pausa,
                                                         QWidget* parent)
    : QWidget(parent),
      tbConf(rotulos::configuracao::kCaminho),
      tbTmp(rotulos::kCaminhoRotulos),
      ui_(std::make_unique<Ui::TfoImprimeEtiqLumbertovaLab>()),
      dialogos_(dialogos),
      pausa_(pausa) {
    // The form was drawn in "MS Sans Serif" at 11 pixels. Where that face is
    // missing, one of about its width comes first, then the system's sans-serif.
    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                       QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    fonte.setPixelSize(11);
    fonte.setStyleHint(QFont::SansSerif);
    setFont(fonte);

    // The icon lives in this static library; its resources must be pulled in.
    Q_INIT_RESOURCE(uImprimeEtiqLumbertovaLab);
    ui_->setupUi(this);
    // The form gives the outer frame's position; Qt places the frame with move().
    move(226, 192);

    Button1 = ui_->Button1;
    Button2 = ui_->Button2;
    GroupBox1 = ui_->GroupBox1;
    Label14 = ui_->Label14;
    Label15 = ui_->Label15;
    Label16 = ui_->Label16;
    Label17 = ui_->Label17;
    Label18 = ui_->Label18;
    Label19 = ui_->Label19;
    Label20 = ui_->Label20;
    Label21 = ui_->Label21;
    Porta = ui_->Porta;
    DBEdit10 = ui_->DBEdit10;
    DBEdit11 = ui_->DBEdit11;
    DBEdit12 = ui_->DBEdit12;
    DBEdit13 = ui_->DBEdit13;
    DBEdit1 = ui_->DBEdit1;
    RadioGroup1 = ui_->RadioGroup1;

    // Labels size themselves to their text from where the form puts them, so
    // another face than the form's does not cut them off.
    for (QLabel* label : {Label14, Label15, Label16, Label17, Label18, Label19, Label20, Label21, Porta})
        label->resize(label->sizeHint().width(), label->height());

    tbConf.AfterPost = [this](rotulos::TTable&) { tbConfAfterPost(); };
    dsConf.SetDataSet(&tbConf);
    for (TDBEdit* edit : {DBEdit10, DBEdit11, DBEdit12, DBEdit13, DBEdit1}) {
        edit->Ligar(dsConf);
        connect(edit, &TDBEdit::Falha, this,
                [this](const QString& texto) { dialogos_.RelatarErro(texto.toStdString()); });
    }

    connect(Button1, &QPushButton::clicked, this, [this] { Tratar([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { Tratar([this] { Button2Click(); }); });
    connect(RadioGroup1, &TRadioGroup::Click, this, [this] { Tratar([this] { RadioGroup1Click(); }); });
}

TfoImprimeEtiqLumbertovaLab::~TfoImprimeEtiqLumbertovaLab() {
    // The edit boxes go with the QWidget base, after the data source they follow.
    for (TDBEdit* edit : {DBEdit10, DBEdit11, DBEdit12, DBEdit13, DBEdit1}) edit->Desligar();
}

void TfoImprimeEtiqLumbertovaLab::FormShow() { rotulos::configuracao::PassoMostrar(tbConf); }

void TfoImprimeEtiqLumbertovaLab::Button2Click() { close(); }

void TfoImprimeEtiqLumbertovaLab::FormClose() {
    rotulos::configuracao::PassoFechar(tbConf);
    tbTmp.Close();
    // Every waiting label goes, printed or not. Without the file no label
    // waits, and the window must still close.
    if (tbTmp.Exists()) tbTmp.EmptyTable();
}

void TfoImprimeEtiqLumbertovaLab::Button1Click() { rotulos::ImprimirRotulos(*this, tbTmp, dialogos_, pausa_); }

void TfoImprimeEtiqLumbertovaLab::tbConfAfterPost() { rotulos::configuracao::PassoDepoisDoPost(tbConf); }

void TfoImprimeEtiqLumbertovaLab::RadioGroup1Click() {
    rotulos::configuracao::PassoTamanho(tbConf, RadioGroup1->ItemIndex());
}

rotulos::ConfiguracaoImpressora TfoImprimeEtiqLumbertovaLab::Configuracao() {
    return {DBEdit10->TextoBruto(), DBEdit11->TextoBruto(), DBEdit12->TextoBruto(), DBEdit13->TextoBruto()};
}

std::string TfoImprimeEtiqLumbertovaLab::PortaImpressora() { return DBEdit1->TextoBruto(); }

int TfoImprimeEtiqLumbertovaLab::TamanhoSelecionado() { return RadioGroup1->ItemIndex(); }

void TfoImprimeEtiqLumbertovaLab::Fechar() { close(); }

void TfoImprimeEtiqLumbertovaLab::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    // Shown by the program, not restored by the window system.
    if (!evento->spontaneous()) Tratar([this] { FormShow(); });
}

void TfoImprimeEtiqLumbertovaLab::closeEvent(QCloseEvent* evento) {
    // A failed step keeps the window open; the next close tries again.
    if (Tratar([this] { FormClose(); }))
        evento->accept();
    else
        evento->ignore();
}
