#include "uImprimeEtiqLumbertovaLab.h"

#include "TabelaConfiguracao.h"

namespace rotulos::form {

TfoImprimeEtiqLumbertovaLab* foImprimeEtiqLumbertovaLab = nullptr;

void TfoImprimeEtiqLumbertovaLab::AgendaTratada::Agendar(std::chrono::milliseconds espera, std::function<void()> acao) {
    agenda_.Agendar(espera, [this, acao = std::move(acao)] { dono_.Tratar(acao); });
}

TfoImprimeEtiqLumbertovaLab::TfoImprimeEtiqLumbertovaLab(DialogosJanela& dialogos, Agenda& agenda)
    : tbConf(configuracao::kCaminho),
      Button1(*this, "Button1"),
      Button2(*this, "Button2"),
      GroupBox1(*this, "GroupBox1"),
      Label14(*this, "Label14"),
      Label15(*this, "Label15"),
      Label16(*this, "Label16"),
      Label17(*this, "Label17"),
      Label18(*this, "Label18"),
      Label19(*this, "Label19"),
      Label20(*this, "Label20"),
      Label21(*this, "Label21"),
      Porta(*this, "Porta"),
      DBEdit10(*this, "DBEdit10", dsConf),
      DBEdit11(*this, "DBEdit11", dsConf),
      DBEdit12(*this, "DBEdit12", dsConf),
      DBEdit13(*this, "DBEdit13", dsConf),
      DBEdit1(*this, "DBEdit1", dsConf),
      tbTmp(kCaminhoRotulos),
      RadioGroup1(*this, "RadioGroup1"),
      Label22(*this, "Label22"),
      dialogos_(dialogos),
      agenda_(*this, agenda),
      impressao_(*this, tbTmp, dialogos, agenda_) {
    tbConf.AfterPost = [this](TTable&) { tbConfAfterPost(); };
    dsConf.SetDataSet(&tbConf);
    Button1.OnClick = [this] { Button1Click(); };
    Button2.OnClick = [this] { Button2Click(); };
    RadioGroup1.OnClick = [this] { RadioGroup1Click(); };
}

TfoImprimeEtiqLumbertovaLab::~TfoImprimeEtiqLumbertovaLab() {
    // The timer must not call into a window that is gone.
    agenda_.Cancelar();
}

void TfoImprimeEtiqLumbertovaLab::FormShow() { configuracao::PassoMostrar(tbConf); }

void TfoImprimeEtiqLumbertovaLab::Button2Click() { Close(); }

void TfoImprimeEtiqLumbertovaLab::FormClose(TCloseAction& Action) {
    // The settings first: a save that fails asks, and Não leaves the window as it was.
    const bool salvas = configuracao::PassoFechar(tbConf, [this](const std::string& porque) {
        return dialogos_.Confirmar(kFecharSemSalvar, "As configurações não foram salvas. " + porque);
    });
    if (!salvas) {
        Action = TCloseAction::caNone;
        return;
    }
    tbTmp.Close();
    // Every waiting label goes, printed or not. Without the file no label waits.
    if (!tbTmp.Exists()) return;
    try {
        tbTmp.EmptyTable();
    } catch (const std::exception& erro) {
        // Told, and the window closes all the same: a table that cannot be
        // emptied must not keep the operator from leaving.
        dialogos_.Mensagem("Os rótulos continuam na tabela: não foi possível apagá-los.", erro.what(),
                           TipoMensagem::Falha);
    }
}

void TfoImprimeEtiqLumbertovaLab::Button1Click() { impressao_.Iniciar(); }

void TfoImprimeEtiqLumbertovaLab::tbConfAfterPost() { configuracao::PassoDepoisDoPost(tbConf); }

void TfoImprimeEtiqLumbertovaLab::RadioGroup1Click() { configuracao::PassoTamanho(tbConf, RadioGroup1.ItemIndex()); }

void TfoImprimeEtiqLumbertovaLab::Mostrar() {
    // Shown by the program once; a window restored from the taskbar is not shown anew.
    if (mostrada_) return;
    mostrada_ = true;
    Tratar([this] { FormShow(); });
}

void TfoImprimeEtiqLumbertovaLab::Close() {
    if (fechada_) return;
    if (impressao_.EmAndamento()) {
        Tratar([this] { impressao_.PedidoDeFechar(); });
        return;
    }
    TCloseAction acao = TCloseAction::caHide;
    if (!Tratar([&] { FormClose(acao); }) || acao == TCloseAction::caNone) return;
    fechada_ = true;
    if (AoFechar) AoFechar();
}

ConfiguracaoImpressora TfoImprimeEtiqLumbertovaLab::Configuracao() {
    return {DBEdit10.TextoBruto(), DBEdit11.TextoBruto(), DBEdit12.TextoBruto(), DBEdit13.TextoBruto()};
}

std::string TfoImprimeEtiqLumbertovaLab::PortaImpressora() { return DBEdit1.TextoBruto(); }

std::string TfoImprimeEtiqLumbertovaLab::PortaExibida() { return DBEdit1.Text(); }

int TfoImprimeEtiqLumbertovaLab::TamanhoSelecionado() { return RadioGroup1.ItemIndex(); }

void TfoImprimeEtiqLumbertovaLab::Progresso(std::uint32_t rotulo, std::uint32_t total) {
    const bool imprimindo = total > 0;
    const std::string andamento = "rótulo " + std::to_string(rotulo) + " de " + std::to_string(total);
    SetCaption(imprimindo ? std::string(Descricao().titulo) + " – imprimindo " + andamento
                          : std::string(Descricao().titulo));
    Label22.SetCaption(imprimindo ? "Imprimindo " + andamento : std::string());
    Label22.SetVisible(imprimindo);
    // While labels print the window repaints and can be asked to close, but takes no other input.
    for (TControl* controle : std::initializer_list<TControl*>{&Button1, &Button2, &DBEdit10, &DBEdit11, &DBEdit12,
                                                               &DBEdit13, &DBEdit1, &RadioGroup1})
        controle->SetEnabled(!imprimindo);
}

void TfoImprimeEtiqLumbertovaLab::Fechar() { Close(); }

void TfoImprimeEtiqLumbertovaLab::RelatarErro(const std::string& texto) { dialogos_.RelatarErro(texto); }

}  // namespace rotulos::form
