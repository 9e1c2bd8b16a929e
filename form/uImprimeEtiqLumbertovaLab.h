#pragma once

// The program's one window, without a toolkit: the printer settings bound to
// the settings table, the label size, "Imprimir" and "Fechar", the print run
// and the closing sequence. A shell draws it and passes events in; every
// decision is taken here.

#include <functional>
#include <string>

#include "Componentes.h"
#include "Dialogos.h"
#include "ImpressaoRotulos.h"
#include "TDataSource.h"
#include "TTable.h"

namespace rotulos::form {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

inline constexpr const char* kFecharSemSalvar = "Fechar sem salvar as configurações?";

class TfoImprimeEtiqLumbertovaLab : public TForm, private JanelaImpressao {
public:
    // The message boxes and the timer of the shell; both must outlive the window.
    TfoImprimeEtiqLumbertovaLab(DialogosJanela& dialogos, Agenda& agenda);
    ~TfoImprimeEtiqLumbertovaLab() override;

    // Components, in the form's declaration order.
    TTable tbConf;
    TDataSource dsConf;
    TButton Button1;
    TButton Button2;
    TGroupBox GroupBox1;
    TLabel Label14;
    TLabel Label15;
    TLabel Label16;
    TLabel Label17;
    TLabel Label18;
    TLabel Label19;
    TLabel Label20;
    TLabel Label21;
    TLabel Porta;
    TDBEdit DBEdit10;
    TDBEdit DBEdit11;
    TDBEdit DBEdit12;
    TDBEdit DBEdit13;
    TDBEdit DBEdit1;
    TTable tbTmp;
    TRadioGroup RadioGroup1;
    TLabel Label22;  // how far a print run is

    // Handlers.
    void FormShow();
    void Button2Click();
    void FormClose(TCloseAction& Action);
    void Button1Click();
    void tbConfAfterPost();
    void RadioGroup1Click();

    // From the shell: the window has been shown (the show step runs once),
    // and a request to close it from anywhere (its close control, Alt+F4).
    void Mostrar();
    void Close();
    // Set by the shell: the closing sequence has run; hide the window and end the program.
    std::function<void()> AoFechar;
    bool Fechada() const { return fechada_; }
    bool Imprimindo() const { return impressao_.EmAndamento(); }
    // The control the focus starts on: tab order 0 of the window.
    TControl& ControleInicial() { return Button1; }

private:
    // What the print run reads from the window and tells it.
    ConfiguracaoImpressora Configuracao() override;
    std::string PortaImpressora() override;
    std::string PortaExibida() override;
    int TamanhoSelecionado() override;
    void Progresso(std::uint32_t rotulo, std::uint32_t total) override;
    void Fechar() override;

    void RelatarErro(const std::string& texto) override;

    // The shell's timer, each call through the default error report.
    class AgendaTratada : public Agenda {
    public:
        AgendaTratada(TForm& dono, Agenda& agenda) : dono_(dono), agenda_(agenda) {}
        void Agendar(std::chrono::milliseconds espera, std::function<void()> acao) override;
        void Cancelar() override { agenda_.Cancelar(); }

    private:
        TForm& dono_;
        Agenda& agenda_;
    };

    DialogosJanela& dialogos_;
    AgendaTratada agenda_;
    ImpressaoRotulos impressao_;
    bool mostrada_ = false;
    bool fechada_ = false;
};

// The one instance, created at start-up.
extern TfoImprimeEtiqLumbertovaLab* foImprimeEtiqLumbertovaLab;

}  // namespace rotulos::form
