// The real message boxes: Portuguese titles and buttons, "Sim" the default,
// Esc answering "Não", failures under the error icon, the second text below
// the first, and boxes wide enough for their whole title. Each box is
// answered from inside its own modal loop, as the operator would.

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "DialogosQt.h"

namespace {

struct CaixaVista {
    QString titulo, texto, detalhe;
    int largura = 0;
    int larguraDoTitulo = 0;
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
        vista.detalhe = caixa->informativeText();
        vista.largura = caixa->width();
        vista.larguraDoTitulo = caixa->fontMetrics().horizontalAdvance(caixa->windowTitle());
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
        QCOMPARE(dialogos.Confirmar("Confirma Impressão ?", "5 rótulos aguardando."), resposta);
        QCOMPARE(vista.titulo, QString("Confirmação"));
        QCOMPARE(vista.texto, QString("Confirma Impressão ?"));
        QCOMPARE(vista.detalhe, QString("5 rótulos aguardando."));
        QCOMPARE(vista.icone, QMessageBox::Question);
        QCOMPARE(vista.botoes, QStringList({"Não", "Sim"}));
        QCOMPARE(vista.padrao, QString("Sim"));
    }

    void mensagens_data() {
        QTest::addColumn<int>("tipo");  // -1: the error report
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("detalhe");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<int>("icone");
        QTest::newRow("Arquivo vazio.") << int(rotulos::TipoMensagem::Informacao) << "Arquivo vazio."
                                        << ""
                                        << "Impressão de Rótulos" << int(QMessageBox::NoIcon);
        QTest::newRow("Não conseguiu abrir impressora!")
            << int(rotulos::TipoMensagem::Falha) << "Não conseguiu abrir impressora!"
            << "Porta \"LTP1\": não é o nome de uma impressora."
            << "Impressão de Rótulos" << int(QMessageBox::Critical);
        QTest::newRow("relatório de erro")
            << -1 << "Não foi possível abrir \"C:\\TARVEL\\TMP239.DB\": permissão negada."
            << ""
            << "Erro" << int(QMessageBox::Critical);
    }

    void mensagens() {
        QFETCH(int, tipo);
        QFETCH(QString, texto);
        QFETCH(QString, detalhe);
        QFETCH(QString, titulo);
        QFETCH(int, icone);
        DialogosQt dialogos;
        CaixaVista vista;
        ResponderComTecla(vista, Qt::Key_Return);
        if (tipo < 0)
            dialogos.RelatarErro(texto.toStdString());
        else
            dialogos.Mensagem(texto.toStdString(), detalhe.toStdString(), rotulos::TipoMensagem(tipo));
        QCOMPARE(vista.titulo, titulo);
        QCOMPARE(vista.texto, texto);
        QCOMPARE(vista.detalhe, detalhe);
        QCOMPARE(int(vista.icone), icone);
        QCOMPARE(vista.botoes, QStringList({"OK"}));
    }

    // A box with a short text is still wide enough for its title and the frame's buttons.
    void tituloCabeInteiro() {
        DialogosQt dialogos;
        CaixaVista vista;
        ResponderComTecla(vista, Qt::Key_Return);
        dialogos.Mensagem("Ok.", "", rotulos::TipoMensagem::Informacao);
        QVERIFY2(vista.largura >= vista.larguraDoTitulo + 100,
                 qPrintable(QString("%1 < %2").arg(vista.largura).arg(vista.larguraDoTitulo)));
    }
};

QTEST_MAIN(DialogosTest)
#include "dialogos_test.moc"
