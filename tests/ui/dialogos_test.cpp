// The real message boxes: Portuguese titles and buttons, "Sim" the default,
// Esc answering "Não", the error report a critical box. Each box is answered
// from inside its own modal loop, as the operator would.

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "DialogosJanela.h"

namespace {

struct CaixaVista {
    QString titulo, texto;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    QStringList botoes;
    QString padrao;
};

// Waits for the modal box, notes what it shows, then presses `tecla` on it.
void ResponderComTecla(CaixaVista& vista, Qt::Key tecla) {
    QTimer::singleShot(0, [&vista, tecla] {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caixa) {
            QTimer::singleShot(10, [&vista, tecla] { ResponderComTecla(vista, tecla); });
            return;
        }
        vista.titulo = caixa->windowTitle();
        vista.texto = caixa->text();
        vista.icone = caixa->icon();
        for (QAbstractButton* b : caixa->buttons()) vista.botoes << b->text().remove('&');
        vista.botoes.sort();
        if (caixa->defaultButton()) vista.padrao = caixa->defaultButton()->text().remove('&');
        QTest::keyClick(caixa, tecla);
    });
}

}  // namespace

class DialogosTest : public QObject {
    Q_OBJECT

private slots:
    void confirmar_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<bool>("resposta");
        QTest::newRow("Enter é Sim") << int(Qt::Key_Return) << true;
        QTest::newRow("Esc é Não") << int(Qt::Key_Escape) << false;
    }

    void confirmar() {
        QFETCH(int, tecla);
        QFETCH(bool, resposta);
        DialogosQt dialogos;
        CaixaVista vista;
        ResponderComTecla(vista, Qt::Key(tecla));
        QCOMPARE(dialogos.Confirmar("Confirma Impressão ?"), resposta);
        QCOMPARE(vista.titulo, QString("Confirmação"));
        QCOMPARE(vista.texto, QString("Confirma Impressão ?"));
        QCOMPARE(vista.icone, QMessageBox::Question);
        QCOMPARE(vista.botoes, QStringList({"Não", "Sim"}));
        QCOMPARE(vista.padrao, QString("Sim"));
    }

    void mensagens_data() {
        QTest::addColumn<bool>("erro");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<int>("icone");
        QTest::newRow("Arquivo vazio.") << false << "Arquivo vazio."
                                        << "Impressão de Rótulos" << int(QMessageBox::NoIcon);
        QTest::newRow("Não conseguiu abrir impressora!") << false << "Não conseguiu abrir impressora!"
                                                         << "Impressão de Rótulos" << int(QMessageBox::NoIcon);
        QTest::newRow("relatório de erro")
            << true << "Não foi possível abrir \"C:\\TARVEL\\TMP239.DB\": permissão negada."
            << "Erro" << int(QMessageBox::Critical);
    }

    void mensagens() {
        QFETCH(bool, erro);
        QFETCH(QString, texto);
        QFETCH(QString, titulo);
        QFETCH(int, icone);
        DialogosQt dialogos;
        CaixaVista vista;
        ResponderComTecla(vista, Qt::Key_Return);
        if (erro)
            dialogos.RelatarErro(texto.toStdString());
        else
            dialogos.Mensagem(texto.toStdString());
        QCOMPARE(vista.titulo, titulo);
        QCOMPARE(vista.texto, texto);
        QCOMPARE(int(vista.icone), icone);
        QCOMPARE(vista.botoes, QStringList({"OK"}));
    }
};

QTEST_MAIN(DialogosTest)
#include "dialogos_test.moc"
