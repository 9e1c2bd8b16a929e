#include "TabelaConfiguracao.h"

#include "CodePage.h"

namespace rotulos::configuracao {

void PassoMostrar(TTable& tbConf) {
    tbConf.Open();
    try {
        // Checked before anything is written: its columns, and a code page the boxes can show.
        CodePage(tbConf.Estrutura().codePage, "Tabela \"" + tbConf.TableName + "\"");
        for (const auto& [coluna, valor] : kSemente) tbConf.FieldByName(coluna);
    } catch (...) {
        tbConf.Close();
        throw;
    }
    if (tbConf.RecordCount() == 0) {
        tbConf.Insert();
        for (const auto& [coluna, valor] : kSemente) tbConf.FieldByName(coluna).SetAsString(valor);
        tbConf.Post();
    }
    tbConf.Edit();
}

void PassoDepoisDoPost(TTable& tbConf, const std::function<void(hDBICur)>& salvar) { salvar(tbConf.Handle()); }

void PassoTamanho(TTable& tbConf, int itemIndex) {
    tbConf.FieldByName("Porta").SetAsString(itemIndex == 0 ? kPortaPequeno : kPortaGrande);
}

bool PassoFechar(TTable& tbConf, const std::function<bool(const std::string& porque)>& fecharSemSalvar) {
    if (!tbConf.Active()) return true;
    const TDataSetState estado = tbConf.State();
    if (estado == TDataSetState::dsEdit || estado == TDataSetState::dsInsert) {
        try {
            tbConf.Post();
        } catch (const std::exception& erro) {
            if (!fecharSemSalvar(erro.what())) {
                // As it was: a post refused keeps the row in edit; one whose flush failed is put back.
                tbConf.Edit();
                return false;
            }
            tbConf.Cancel();
        }
    }
    tbConf.Close();
    return true;
}

}  // namespace rotulos::configuracao
