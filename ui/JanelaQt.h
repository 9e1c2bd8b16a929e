#pragma once

// The window on Qt: native widgets drawn from the form's description, each
// shown as its component in the core says and rendered again when it
// changes; clicks, choices, typing, showing and closing passed in. Nothing is
// decided here.

#include <QWidget>
#include <map>
#include <string>

#include "uImprimeEtiqLumbertovaLab.h"

class QButtonGroup;

class JanelaQt : public QWidget {
    Q_OBJECT

public:
    // The core must outlive the shell.
    explicit JanelaQt(rotulos::form::TfoImprimeEtiqLumbertovaLab& janela);
    ~JanelaQt() override;

    rotulos::form::TfoImprimeEtiqLumbertovaLab& Janela() { return janela_; }
    // The widget drawn for a control of the description, by its name.
    QWidget* Widget(const std::string& nome) const;

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    QWidget* Criar(const rotulos::form::DescricaoControle& descricao, QWidget* pai);
    void Ligar(rotulos::form::TControl& controle, QWidget* widget);
    void Renderizar(const rotulos::form::TControl& controle, QWidget* widget);
    void DefinirOrdemDeTabulacao();

    rotulos::form::TfoImprimeEtiqLumbertovaLab& janela_;
    std::map<std::string, QWidget*, std::less<>> widgets_;
    std::map<std::string, QButtonGroup*, std::less<>> grupos_;
};
