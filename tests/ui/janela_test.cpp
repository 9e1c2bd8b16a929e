// The Qt shell, on the offscreen platform: that it draws the description
// where it says, passes clicks, choices, typing, Enter and the close request
// to the core, and renders what the core changes. What the window decides is
// tested in the core's own tests.

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "../support/Operador.h"
#include "../support/TabelaRotulos.h"
#include "../support/Temporario.h"
#include "JanelaQt.h"
#include "ParadoxCriar.h"

using namespace rotulos;
using namespace rotulos::form;

namespace {

constexpr const char* kColunasConf = "Temperatura:A10,Velocidade:A10,Borda:A10,Retorno:A10,Porta:A10";

QString Texto(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

class JanelaQtTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<teste::PastaTemporaria> pasta_;
    std::unique_ptr<teste::DialogosRoteiro> dialogos_;
    std::unique_ptr<teste::AgendaManual> agenda_;
    std::unique_ptr<TfoImprimeEtiqLumbertovaLab> nucleo_;
    std::unique_ptr<JanelaQt> janela_;

    std::string Tarvel(const std::string& nome) const { return *pasta_ / ("TARVEL/" + nome); }

    void Mostrar(int rotulos = 0) {
        paradox::CriarTabela(Tarvel("ConfImpr.db"), paradox::LerDefinicaoColunas(kColunasConf));
        teste::CriarTabelaRotulos(Tarvel("TMP239.DB"),
                                  std::vector<teste::Linha>(static_cast<std::size_t>(rotulos), teste::LinhaPadrao()));
        nucleo_ = std::make_unique<TfoImprimeEtiqLumbertovaLab>(*dialogos_, *agenda_);
        janela_ = std::make_unique<JanelaQt>(*nucleo_);
        janela_->show();
        QVERIFY(QTest::qWaitForWindowExposed(janela_.get()));
    }

    template <typename W>
    W* Widget(const char* nome) {
        return qobject_cast<W*>(janela_->Widget(nome));
    }
    QLineEdit* Edit(const char* nome) { return Widget<QLineEdit>(nome); }
    QRadioButton* Item(int i) { return Widget<QGroupBox>("RadioGroup1")->findChildren<QRadioButton*>().value(i); }

private slots:
    void init() {
        pasta_ = std::make_unique<teste::PastaTemporaria>();
        std::filesystem::create_directories(*pasta_ / "TARVEL");
        std::filesystem::create_directories(*pasta_ / "portas");
        ::setenv("ROTULOS_DRIVE_C", pasta_->Caminho().c_str(), 1);
        ::setenv("ROTULOS_DEVICE_DIR", (*pasta_ / "portas").c_str(), 1);
        dialogos_ = std::make_unique<teste::DialogosRoteiro>();
        agenda_ = std::make_unique<teste::AgendaManual>();
    }

    void cleanup() {
        janela_.reset();
        nucleo_.reset();
        pasta_.reset();
    }

    void controles_data() {
        QTest::addColumn<QString>("nome");
        for (const auto& controle : Formulario().controles)
            QTest::newRow(std::string(controle.nome).c_str()) << Texto(controle.nome);
    }

    // Each control where the description puts it, under its parent, with its
    // caption. Labels size themselves to their text: their corner and height are fixed.
    void controles() {
        QFETCH(QString, nome);
        Mostrar();
        const DescricaoControle& d = Controle(nome.toStdString());
        QWidget* w = janela_->Widget(nome.toStdString());
        QVERIFY(w);
        QCOMPARE(w->objectName(), nome);
        QCOMPARE(w->parentWidget() == janela_.get() ? QString() : w->parentWidget()->objectName(), Texto(d.pai));
        const QRect esperado(d.posicao.left, d.posicao.top, d.posicao.width, d.posicao.height);
        QCOMPARE(w->isVisibleTo(janela_.get()), d.visivel);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            QCOMPARE(label->pos(), esperado.topLeft());
            QCOMPARE(label->height(), esperado.height());
            QCOMPARE(label->text(), Texto(d.texto));
            QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
            return;
        }
        QCOMPARE(w->geometry(), esperado);
        if (auto* botao = qobject_cast<QPushButton*>(w)) QCOMPARE(botao->text(), Texto(d.texto));
        if (auto* grupo = qobject_cast<QGroupBox*>(w)) QCOMPARE(grupo->title(), Texto(d.texto));
    }

    void janela() {
        Mostrar();
        QCOMPARE(janela_->windowTitle(), QString("Impressão de Rótulos"));
        QCOMPARE(janela_->size(), QSize(432, 253));
        QCOMPARE(janela_->pos(), QPoint(226, 192));
        QCOMPARE(janela_->font().pixelSize(), 11);
        QCOMPARE(janela_->font().families().value(0), QString("MS Sans Serif"));
        QCOMPARE(janela_->windowIcon().availableSizes().value(0), QSize(32, 32));
        // The size choice's items where the form's rule puts them.
        const auto posicoes = PosicoesDosItens(Controle("RadioGroup1"), Formulario().alturaTexto);
        for (int i = 0; i < 2; ++i) {
            const auto& p = posicoes[static_cast<std::size_t>(i)];
            QCOMPARE(Item(i)->geometry(), QRect(p.left, p.top, p.width, p.height));
            QCOMPARE(Item(i)->text(), Texto(Controle("RadioGroup1").itens[static_cast<std::size_t>(i)]));
        }
        QVERIFY(Item(0)->isChecked());
    }

    // Tab goes through the controls in the form's order; the focus starts on "Imprimir".
    void ordemDeTabulacao() {
        Mostrar();
        QCOMPARE(QApplication::focusWidget(), janela_->Widget("Button1"));
        QStringList ordem;
        QWidget* w = janela_->Widget("Button1");
        for (int i = 0; i < 8; ++i) {
            ordem << (qobject_cast<QRadioButton*>(w) ? "RadioGroup1" : w->objectName());
            do w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible());
        }
        QCOMPARE(ordem, QStringList({"Button1", "Button2", "DBEdit10", "DBEdit11", "DBEdit12", "DBEdit13", "DBEdit1",
                                     "RadioGroup1"}));
    }

    void teclaNoBotao_data() {
        QTest::addColumn<int>("tecla");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Enter do teclado numérico") << int(Qt::Key_Enter);
        QTest::newRow("Espaço") << int(Qt::Key_Space);
    }

    // The focused button is pressed by Enter, as on Windows, and by Space.
    void teclaNoBotao() {
        QFETCH(int, tecla);
        Mostrar();
        auto* fechar = Widget<QPushButton>("Button2");
        fechar->setFocus();
        QTest::keyClick(fechar, Qt::Key(tecla));
        QVERIFY(nucleo_->Fechada());
        QVERIFY(!janela_->isVisible());
    }

    // What the operator does reaches the core, and what the core changes shows.
    void eventosEntramERetornam() {
        Mostrar();
        QTest::mouseClick(Item(1), Qt::LeftButton, {}, QPoint(8, Item(1)->height() / 2));
        QCOMPARE(nucleo_->RadioGroup1.ItemIndex(), 1);
        QCOMPARE(Edit("DBEdit1")->text(), QString("LPT3"));
        Edit("DBEdit10")->setFocus();
        Edit("DBEdit10")->selectAll();
        QTest::keyClicks(Edit("DBEdit10"), "15");
        QCOMPARE(nucleo_->DBEdit10.Text(), std::string("15"));
        // A pasted line break does not stay in the box.
        Edit("DBEdit11")->selectAll();
        Edit("DBEdit11")->insert("A\nB");
        emit Edit("DBEdit11")->textEdited(Edit("DBEdit11")->text());
        QCOMPARE(Edit("DBEdit11")->text(), QString("AB"));
        QCOMPARE(Edit("DBEdit10")->maxLength(), 10);
        QVERIFY(!Edit("DBEdit10")->isReadOnly());
    }

    // While labels print: the progress in the title and above the buttons,
    // the controls disabled; all back when the run ends.
    void andamentoDaImpressao() {
        Mostrar(2);
        dialogos_->respostas = {true, true};
        QTest::mouseClick(Widget<QPushButton>("Button1"), Qt::LeftButton);
        QCOMPARE(janela_->windowTitle(), QString("Impressão de Rótulos – imprimindo rótulo 1 de 2"));
        QVERIFY(Widget<QLabel>("Label22")->isVisible());
        QCOMPARE(Widget<QLabel>("Label22")->text(), QString("Imprimindo rótulo 1 de 2"));
        for (const char* nome : {"Button1", "Button2", "DBEdit10", "DBEdit1", "RadioGroup1"})
            QVERIFY2(!janela_->Widget(nome)->isEnabled(), nome);
        // The close control asks, through the core; Sim ends the run.
        QCloseEvent pedido;
        QApplication::sendEvent(janela_.get(), &pedido);
        QVERIFY(!pedido.isAccepted());
        QVERIFY(janela_->isVisible());
        QCOMPARE(dialogos_->perguntas.back().texto, std::string("Interromper a impressão?"));
        QCOMPARE(janela_->windowTitle(), QString("Impressão de Rótulos"));
        QVERIFY(!Widget<QLabel>("Label22")->isVisible());
        for (const char* nome : {"Button1", "Button2", "DBEdit10", "DBEdit1", "RadioGroup1"})
            QVERIFY2(janela_->Widget(nome)->isEnabled(), nome);
    }

    // The frame's close control runs the core's closing sequence; the window
    // goes once the core is done.
    void pedidoDeFechar() {
        Mostrar(1);
        QCloseEvent pedido;
        QApplication::sendEvent(janela_.get(), &pedido);
        QVERIFY(nucleo_->Fechada());
        QVERIFY(!janela_->isVisible());
        TTable t(Tarvel("TMP239.DB"));
        t.Open();
        QCOMPARE(t.RecordCount(), 0u);
    }
};

QTEST_MAIN(JanelaQtTest)
#include "janela_test.moc"
