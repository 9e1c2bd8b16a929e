#pragma once

// The program's one window: the printer settings bound to the settings table,
// the label size, "Imprimir" and "Fechar". Every close runs the closing
// sequence, which saves the settings and empties the label data table.

#include <QWidget>
#include <memory>

#include "DialogosJanela.h"
#include "ImpressaoRotulos.h"
#include "TDataSource.h"
#include "TTable.h"

class QGroupBox;
class QLabel;
class QPushButton;
class TDBEdit;
class TRadioGroup;

namespace Ui {
class TfoImprimeEtiqLumbertovaLab;
}

class TfoImprimeEtiqLumbertovaLab : public QWidget, public rotulos::JanelaImpressao {
    Q_OBJECT

public:
    // The message boxes and the pause between labels; both must outlive the window.
    TfoImprimeEtiqLumbertovaLab(DialogosJanela& dialogos, rotulos::Pausa& pausa, QWidget* parent = nullptr);
    ~TfoImprimeEtiqLumbertovaLab() override;

    // Components, owned by the window.
    rotulos::TTable tbConf;
    rotulos::TDataSource dsConf;
    QPushButton* Button1;
    QPushButton* Button2;
    QGroupBox* GroupBox1;
    QLabel* Label14;
    QLabel* Label15;
    QLabel* Label16;
    QLabel* Label17;
    QLabel* Label18;
    QLabel* Label19;
    QLabel* Label20;
    QLabel* Label21;
    QLabel* Porta;
    TDBEdit* DBEdit10;
    TDBEdit* DBEdit11;
    TDBEdit* DBEdit12;
    TDBEdit* DBEdit13;
    TDBEdit* DBEdit1;
    rotulos::TTable tbTmp;
    TRadioGroup* RadioGroup1;

    // Handlers.
    void FormShow();
    void Button2Click();
    void FormClose();
    void Button1Click();
    void tbConfAfterPost();
    void RadioGroup1Click();

    // What the print run reads from the window and asks of it.
    rotulos::ConfiguracaoImpressora Configuracao() override;
    std::string PortaImpressora() override;
    int TamanhoSelecionado() override;
    void Fechar() override;

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    // Runs a handler; what it throws goes to the default error report.
    template <typename Acao>
    bool Tratar(Acao&& acao);

    std::unique_ptr<Ui::TfoImprimeEtiqLumbertovaLab> ui_;
    DialogosJanela& dialogos_;
    rotulos::Pausa& pausa_;
};

// The one instance, created at start-up.
extern TfoImprimeEtiqLumbertovaLab* foImprimeEtiqLumbertovaLab;
