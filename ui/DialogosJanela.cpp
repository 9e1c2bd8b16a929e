#include "DialogosJanela.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

// Each box is modal over the window that is active when it opens.

bool DialogosQt::Confirmar(const std::string& pergunta) {
    QMessageBox caixa(QMessageBox::Question, QString::fromUtf8(kTituloConfirmacao), QString::fromStdString(pergunta),
                      QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* sim = caixa.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    QPushButton* nao = caixa.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
    caixa.setDefaultButton(sim);
    caixa.setEscapeButton(nao);
    caixa.exec();
    return caixa.clickedButton() == sim;
}

void DialogosQt::Mensagem(const std::string& texto) {
    QMessageBox caixa(QMessageBox::NoIcon, QString::fromUtf8(kTituloMensagem), QString::fromStdString(texto),
                      QMessageBox::Ok, QApplication::activeWindow());
    caixa.exec();
}

void DialogosQt::RelatarErro(const std::string& texto) {
    QMessageBox caixa(QMessageBox::Critical, QString::fromUtf8(kTituloErro), QString::fromStdString(texto),
                      QMessageBox::Ok, QApplication::activeWindow());
    caixa.exec();
}
