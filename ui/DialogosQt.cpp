#include "DialogosQt.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

using namespace rotulos;

namespace {

QMessageBox* Caixa(QMessageBox::Icon icone, const char* titulo, const std::string& texto, const std::string& detalhe) {
    auto* caixa = new QMessageBox(icone, QString::fromUtf8(titulo), QString::fromStdString(texto),
                                  QMessageBox::NoButton, QApplication::activeWindow());
    if (!detalhe.empty()) caixa->setInformativeText(QString::fromStdString(detalhe));
    // A box sized to a short text cuts its title ("Impressã…e Rótulos"): room for
    // the title, the frame's icon and buttons is kept below the texts.
    if (auto* grade = qobject_cast<QGridLayout*>(caixa->layout())) {
        const int largura = caixa->fontMetrics().horizontalAdvance(caixa->windowTitle()) * 3 / 2 + 120;
        grade->addItem(new QSpacerItem(largura, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grade->rowCount(), 0,
                       1, grade->columnCount());
    }
    return caixa;
}

}  // namespace

bool DialogosQt::Confirmar(const std::string& pergunta, const std::string& detalhe) {
    std::unique_ptr<QMessageBox> caixa(Caixa(QMessageBox::Question, form::kTituloConfirmacao, pergunta, detalhe));
    QPushButton* sim = caixa->addButton(QString::fromUtf8(form::kSim), QMessageBox::YesRole);
    QPushButton* nao = caixa->addButton(QString::fromUtf8(form::kNao), QMessageBox::NoRole);
    caixa->setDefaultButton(sim);
    caixa->setEscapeButton(nao);
    caixa->exec();
    return caixa->clickedButton() == sim;
}

void DialogosQt::Mensagem(const std::string& texto, const std::string& detalhe, TipoMensagem tipo) {
    std::unique_ptr<QMessageBox> caixa(Caixa(tipo == TipoMensagem::Falha ? QMessageBox::Critical : QMessageBox::NoIcon,
                                             form::kTituloMensagem, texto, detalhe));
    caixa->addButton(QString::fromUtf8(form::kOk), QMessageBox::AcceptRole);
    caixa->exec();
}

void DialogosQt::RelatarErro(const std::string& texto) {
    std::unique_ptr<QMessageBox> caixa(Caixa(QMessageBox::Critical, form::kTituloErro, texto, ""));
    caixa->addButton(QString::fromUtf8(form::kOk), QMessageBox::AcceptRole);
    caixa->exec();
}
