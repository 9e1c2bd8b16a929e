#include "TabelaConfiguracao.h"

namespace rotulos::configuracao {

void PassoMostrar(TTable& tbConf) {
    tbConf.Open();
    // A table without one of the columns fails here, before anything is written.
    for (const auto& [coluna, valor] : kSemente) tbConf.FieldByName(coluna);
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

void PassoFechar(TTable& tbConf) {
    if (!tbConf.Active()) return;
    const TDataSetState estado = tbConf.State();
    if (estado == TDataSetState::dsEdit || estado == TDataSetState::dsInsert) tbConf.Post();
    tbConf.Close();
}

}  // namespace rotulos::configuracao
