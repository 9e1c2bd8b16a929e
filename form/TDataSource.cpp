#include "TDataSource.h"

namespace rotulos {

TDataSource::~TDataSource() { SetDataSet(nullptr); }

void TDataSource::SetDataSet(TTable* tabela) {
    if (tabela_) tabela_->DeixarDeObservar(observacao_);
    tabela_ = tabela;
    if (tabela_) observacao_ = tabela_->Observar([this] { ligacoes_.Avisar(); });
    ligacoes_.Avisar();
}

TFieldDataLink::TFieldDataLink(TDataSource& fonte, std::string dataField)
    : fonte_(fonte), campo_(std::move(dataField)) {
    ligacao_ = fonte_.Ligar([this] {
        if (AoMudar) AoMudar();
    });
}

TFieldDataLink::~TFieldDataLink() { fonte_.Desligar(ligacao_); }

TField* TFieldDataLink::Campo() const {
    TTable* tabela = fonte_.DataSet();
    // Texts in a code page without a decoding here can be neither shown nor typed.
    if (!tabela || !tabela->Active() || !CodePage::Conhecida(tabela->Estrutura().codePage)) return nullptr;
    return tabela->FindField(campo_);
}

CodePage TFieldDataLink::Pagina() const {
    TTable* tabela = fonte_.DataSet();
    const std::uint16_t numero = tabela && tabela->Active() ? tabela->Estrutura().codePage : 1252;
    return CodePage(CodePage::Conhecida(numero) ? numero : 1252);
}

std::string TFieldDataLink::TextoBruto() const {
    TField* campo = Campo();
    return campo ? campo->AsString() : std::string();
}

std::string TFieldDataLink::TextoExibido() const { return Pagina().ParaUtf8(TextoBruto()); }

std::optional<std::string> TFieldDataLink::Codificar(const std::string& utf8) const { return Pagina().DeUtf8(utf8); }

bool TFieldDataLink::PodeEditar() const {
    TTable* tabela = fonte_.DataSet();
    return Campo() && (tabela->State() == TDataSetState::dsEdit || tabela->State() == TDataSetState::dsInsert);
}

int TFieldDataLink::TamanhoMaximo() const {
    TField* campo = Campo();
    return campo && campo->DataType() == paradox::TipoCampo::Alpha ? campo->Size() : 0;
}

bool TFieldDataLink::AceitarTexto(const std::string& utf8) {
    if (!PodeEditar()) return false;
    const auto bytes = Codificar(utf8);
    if (!bytes) return false;
    Campo()->SetAsString(*bytes);
    return true;
}

}  // namespace rotulos
