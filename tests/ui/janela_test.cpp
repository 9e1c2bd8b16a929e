// The window as a window, on the offscreen platform: its layout, the handlers
// behind each control, the closing sequence from every source and what happens
// when a step fails. Real tables on a drive C: of the test's own.

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>

#include "../support/TabelaRotulos.h"
#include "../support/Temporario.h"
#include "DialogosJanela.h"
#include "ParadoxCriar.h"
#include "TDBEdit.h"
#include "TRadioGroup.h"
#include "uImprimeEtiqLumbertovaLab.h"

using namespace rotulos;

namespace {

// Answers for the operator and keeps what the window said.
class DialogosRoteiro : public DialogosJanela {
public:
    std::deque<bool> respostas;
    QStringList perguntas, mensagens, erros;

    bool Confirmar(const std::string& pergunta) override {
        perguntas << QString::fromStdString(pergunta);
        if (respostas.empty()) return false;
        const bool resposta = respostas.front();
        respostas.pop_front();
        return resposta;
    }
    void Mensagem(const std::string& texto) override { mensagens << QString::fromStdString(texto); }
    void RelatarErro(const std::string& texto) override { erros << QString::fromStdString(texto); }
};

class PausaRegistrada : public Pausa {
public:
    std::vector<std::chrono::milliseconds> pausas;
    void Esperar(std::chrono::milliseconds duracao) override { pausas.push_back(duracao); }
};

constexpr const char* kColunasConf = "Temperatura:A10,Velocidade:A10,Borda:A10,Retorno:A10,Porta:A10";

}  // namespace

class JanelaTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<teste::PastaTemporaria> pasta_;
    std::unique_ptr<DialogosRoteiro> dialogos_;
    std::unique_ptr<PausaRegistrada> pausa_;
    std::unique_ptr<TfoImprimeEtiqLumbertovaLab> janela_;

    std::string Tarvel(const std::string& nome) const { return *pasta_ / ("TARVEL/" + nome); }
    std::string Portas(const std::string& nome) const { return *pasta_ / ("portas/" + nome); }

    void CriarConf(const std::vector<std::string>& linha, const char* colunas = kColunasConf) {
        paradox::CriarTabela(Tarvel("ConfImpr.db"), paradox::LerDefinicaoColunas(colunas));
        if (linha.empty()) return;
        TTable t(Tarvel("ConfImpr.db"));
        t.Open();
        t.Insert();
        for (std::size_t i = 0; i < linha.size(); ++i) t.Fields(i).SetAsString(linha[i]);
        t.Post();
    }

    void CriarRotulos(int n) {
        teste::CriarTabelaRotulos(Tarvel("TMP239.DB"),
                                  std::vector<teste::Linha>(static_cast<std::size_t>(n), teste::LinhaPadrao()));
    }

    std::uint32_t RotulosEsperando() {
        TTable t(Tarvel("TMP239.DB"));
        t.Open();
        return t.RecordCount();
    }

    std::vector<std::string> ConfSalva() {
        TTable t(Tarvel("ConfImpr.db"));
        t.Open();
        if (t.RecordCount() == 0) return {};
        std::vector<std::string> linha;
        for (std::size_t i = 0; i < t.FieldCount(); ++i) linha.push_back(t.Fields(i).AsString());
        return linha;
    }

    void Mostrar() {
        janela_ = std::make_unique<TfoImprimeEtiqLumbertovaLab>(*dialogos_, *pausa_);
        janela_->show();
        QVERIFY(QTest::qWaitForWindowExposed(janela_.get()));
    }

    void Clicar(QAbstractButton* botao) {
        QTest::mouseClick(botao, Qt::LeftButton, {}, QPoint(8, botao->height() / 2));
    }

    void ClicarTamanho(int indice) { Clicar(janela_->RadioGroup1->Botao(indice)); }

    // Typed characters, any of Unicode, as the keyboard delivers them.
    static void Digitar(QWidget* w, const QString& texto) {
        for (const QChar c : texto) {
            QKeyEvent tecla(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &tecla);
        }
    }

    TDBEdit* Edit(const QString& nome) { return janela_->findChild<TDBEdit*>(nome); }

private slots:
    void init() {
        pasta_ = std::make_unique<teste::PastaTemporaria>();
        std::filesystem::create_directories(*pasta_ / "TARVEL");
        std::filesystem::create_directories(*pasta_ / "portas");
        ::setenv("ROTULOS_DRIVE_C", pasta_->Caminho().c_str(), 1);
        ::setenv("ROTULOS_DEVICE_DIR", Portas("").c_str(), 1);
        dialogos_ = std::make_unique<DialogosRoteiro>();
        pausa_ = std::make_unique<PausaRegistrada>();
    }

    void cleanup() {
        janela_.reset();
        pasta_.reset();
    }

    void controles_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("pai");
        QTest::addColumn<QRect>("geometria");
        QTest::addColumn<QString>("texto");
        const QString janela = "TfoImprimeEtiqLumbertovaLab";
        QTest::newRow("Button1") << "Button1" << janela << QRect(262, 213, 75, 25) << "Imprimir";
        QTest::newRow("Button2") << "Button2" << janela << QRect(342, 213, 75, 25) << "Fechar";
        QTest::newRow("GroupBox1") << "GroupBox1" << janela << QRect(16, 14, 401, 174)
                                   << " Configurações de Impressão ";
        QTest::newRow("Label14") << "Label14"
                                 << "GroupBox1" << QRect(27, 24, 60, 13) << "Temperatura";
        QTest::newRow("Label15") << "Label15"
                                 << "GroupBox1" << QRect(34, 53, 53, 13) << "Velocidade";
        QTest::newRow("Label16") << "Label16"
                                 << "GroupBox1" << QRect(27, 83, 60, 13) << "OffSet Início";
        QTest::newRow("Label17") << "Label17"
                                 << "GroupBox1" << QRect(33, 112, 54, 13) << "Retrocesso";
        QTest::newRow("Label18") << "Label18"
                                 << "GroupBox1" << QRect(173, 24, 182, 13) << "(valores válidos: de 0 a 15) Default=10";
        QTest::newRow("Label19") << "Label19"
                                 << "GroupBox1" << QRect(173, 53, 173, 13) << "(valores válidos: de A a K) Default=K";
        QTest::newRow("Label20") << "Label20"
                                 << "GroupBox1" << QRect(173, 83, 206, 13)
                                 << "(valores válidos: de 090 a 260) Default=220";
        QTest::newRow("Label21") << "Label21"
                                 << "GroupBox1" << QRect(173, 112, 206, 13)
                                 << "(valores válidos: de 000 a 300) Default=291";
        QTest::newRow("Porta") << "Porta"
                               << "GroupBox1" << QRect(62, 141, 25, 13) << "Porta";
        QTest::newRow("DBEdit10") << "DBEdit10"
                                  << "GroupBox1" << QRect(99, 21, 65, 21) << "Temperatura";
        QTest::newRow("DBEdit11") << "DBEdit11"
                                  << "GroupBox1" << QRect(99, 50, 65, 21) << "Velocidade";
        QTest::newRow("DBEdit12") << "DBEdit12"
                                  << "GroupBox1" << QRect(99, 80, 65, 21) << "Borda";
        QTest::newRow("DBEdit13") << "DBEdit13"
                                  << "GroupBox1" << QRect(99, 109, 65, 21) << "Retorno";
        QTest::newRow("DBEdit1") << "DBEdit1"
                                 << "GroupBox1" << QRect(99, 137, 65, 21) << "Porta";
        QTest::newRow("RadioGroup1") << "RadioGroup1" << janela << QRect(16, 198, 230, 40) << " Tamanho ";
    }

    // Each control where the form puts it, with its caption or its column.
    // Labels size themselves to their text, so only their corner and height are fixed.
    void controles() {
        QFETCH(QString, nome);
        QFETCH(QString, pai);
        QFETCH(QRect, geometria);
        QFETCH(QString, texto);
        CriarConf({});
        CriarRotulos(0);
        Mostrar();
        auto* controle = janela_->findChild<QWidget*>(nome);
        QVERIFY(controle);
        QCOMPARE(controle->parentWidget()->objectName(), pai);
        if (auto* label = qobject_cast<QLabel*>(controle)) {
            QCOMPARE(label->pos(), geometria.topLeft());
            QCOMPARE(label->height(), geometria.height());
            QCOMPARE(label->text(), texto);
            QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(texto));
            return;
        }
        QCOMPARE(controle->geometry(), geometria);
        if (auto* botao = qobject_cast<QPushButton*>(controle)) QCOMPARE(botao->text(), texto);
        if (auto* grupo = qobject_cast<QGroupBox*>(controle)) QCOMPARE(grupo->title(), texto);
        if (auto* edit = qobject_cast<TDBEdit*>(controle)) QCOMPARE(edit->DataField(), texto);
    }

    void janela() {
        CriarConf({});
        CriarRotulos(0);
        Mostrar();
        QCOMPARE(janela_->windowTitle(), QString("Impressão de Rótulos"));
        QCOMPARE(janela_->size(), QSize(432, 253));
        QCOMPARE(janela_->pos(), QPoint(226, 192));
        QCOMPARE(janela_->font().pixelSize(), 11);
        QCOMPARE(janela_->font().families().value(0), QString("MS Sans Serif"));
        const QIcon icone = janela_->windowIcon();
        QVERIFY(!icone.isNull());
        QCOMPARE(icone.availableSizes().value(0), QSize(32, 32));
        QCOMPARE(janela_->RadioGroup1->Items(), QStringList({"Pequeno", "Grande"}));
        QCOMPARE(janela_->RadioGroup1->Columns(), 2);
        // Two columns side by side, each within the frame.
        const QRect pequeno = janela_->RadioGroup1->Botao(0)->geometry();
        const QRect grande = janela_->RadioGroup1->Botao(1)->geometry();
        QCOMPARE(pequeno.top(), grande.top());
        QVERIFY(pequeno.right() < grande.left());
        QVERIFY(janela_->RadioGroup1->rect().contains(grande));
    }

    // Tab goes through the controls in the form's order, within each parent.
    void ordemDeTabulacao() {
        CriarConf({});
        CriarRotulos(0);
        Mostrar();
        QStringList ordem;
        QWidget* w = janela_->Button1;
        for (int i = 0; i < 8; ++i) {
            ordem << (qobject_cast<QRadioButton*>(w) ? "RadioGroup1" : w->objectName());
            do w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible());
        }
        QCOMPARE(ordem, QStringList({"Button1", "Button2", "DBEdit10", "DBEdit11", "DBEdit12", "DBEdit13", "DBEdit1",
                                     "RadioGroup1"}));
    }

    // An empty settings table is seeded when the window shows, and the row is
    // open for editing at once.
    void mostrarSemeiaEEdita() {
        CriarConf({});
        CriarRotulos(0);
        Mostrar();
        QCOMPARE(ConfSalva(), std::vector<std::string>({"13", "E", "220", "220", "LPT1"}));
        const QStringList esperado = {"13", "E", "220", "220", "LPT1"};
        const QStringList nomes = {"DBEdit10", "DBEdit11", "DBEdit12", "DBEdit13", "DBEdit1"};
        for (int i = 0; i < nomes.size(); ++i) {
            QCOMPARE(Edit(nomes[i])->text(), esperado[i]);
            QVERIFY(!Edit(nomes[i])->isReadOnly());
            QCOMPARE(Edit(nomes[i])->maxLength(), 10);
        }
        QVERIFY(dialogos_->erros.isEmpty());
    }

    void abreComPequeno_data() {
        QTest::addColumn<QString>("porta");
        QTest::newRow("LPT1") << "LPT1";
        QTest::newRow("LPT3") << "LPT3";
        QTest::newRow("outra") << "COM2";
        QTest::newRow("vazia") << "";
    }

    // The size choice starts at "Pequeno" whatever port is stored, and showing
    // it does not touch the stored port.
    void abreComPequeno() {
        QFETCH(QString, porta);
        CriarConf({"10", "K", "090", "300", porta.toStdString()});
        CriarRotulos(0);
        Mostrar();
        QCOMPARE(janela_->RadioGroup1->ItemIndex(), 0);
        QVERIFY(janela_->RadioGroup1->Botao(0)->isChecked());
        QCOMPARE(Edit("DBEdit1")->text(), porta);
        QCOMPARE(Edit("DBEdit10")->text(), QString("10"));
    }

    void tamanhoDefinePorta() {
        CriarConf({});
        CriarRotulos(0);
        Mostrar();
        ClicarTamanho(1);
        QCOMPARE(janela_->RadioGroup1->ItemIndex(), 1);
        QCOMPARE(Edit("DBEdit1")->text(), QString("LPT3"));
        ClicarTamanho(0);
        QCOMPARE(Edit("DBEdit1")->text(), QString("LPT1"));
        ClicarTamanho(1);
        janela_->close();
        QCOMPARE(ConfSalva().at(4), std::string("LPT3"));
    }

    // What the operator types is what gets saved, and what gets printed.
    void digitadoESalvoEImpresso() {
        CriarConf({});
        CriarRotulos(1);
        Mostrar();
        TDBEdit* temperatura = Edit("DBEdit10");
        temperatura->setFocus();
        temperatura->selectAll();
        QTest::keyClicks(temperatura, "15");
        QCOMPARE(temperatura->text(), QString("15"));
        dialogos_->respostas = {true};
        Clicar(janela_->Button1);
        QCOMPARE(ConfSalva().at(0), std::string("15"));
        QVERIFY(teste::LerTexto(Portas("LPT1")).find("\r\nH15\r\n") != std::string::npos);
    }

    void textoForaDoCodePageRecusado() {
        CriarConf({});
        CriarRotulos(0);
        Mostrar();
        TDBEdit* velocidade = Edit("DBEdit11");
        velocidade->setFocus();
        velocidade->end(false);
        Digitar(velocidade, "ç");
        QCOMPARE(velocidade->text(), QString("Eç"));
        Digitar(velocidade, "中");
        QCOMPARE(velocidade->text(), QString("Eç"));
        janela_->close();
        QCOMPARE(ConfSalva().at(1), std::string("E\xE7"));
    }

    void fechamento_data() {
        QTest::addColumn<QString>("fonte");
        QTest::newRow("Fechar") << "Fechar";
        QTest::newRow("controle da janela") << "controle";
        QTest::newRow("impressão respondida Não") << "Não";
        QTest::newRow("impressão sem rótulos") << "vazio";
        QTest::newRow("impressão concluída") << "impressão";
    }

    // From any source, closing saves the settings and discards every waiting label.
    void fechamento() {
        QFETCH(QString, fonte);
        CriarConf({"12", "F", "230", "280", "LPT1"});
        CriarRotulos(fonte == "vazio" ? 0 : 3);
        Mostrar();
        Edit("DBEdit12")->selectAll();
        QTest::keyClicks(Edit("DBEdit12"), "240");
        if (fonte == "Fechar") {
            Clicar(janela_->Button2);
        } else if (fonte == "controle") {
            // What the window system sends for the close control of the frame.
            QCloseEvent pedido;
            QApplication::sendEvent(janela_.get(), &pedido);
            QVERIFY(pedido.isAccepted());
            janela_->hide();
        } else {
            dialogos_->respostas = {fonte != "Não"};
            Clicar(janela_->Button1);
        }
        QVERIFY(!janela_->isVisible());
        QVERIFY(dialogos_->erros.isEmpty());
        QCOMPARE(ConfSalva(), std::vector<std::string>({"12", "F", "240", "280", "LPT1"}));
        QCOMPARE(RotulosEsperando(), 0u);
        QVERIFY(!janela_->tbConf.Active());
        QVERIFY(!janela_->tbTmp.Active());
        QCOMPARE(dialogos_->mensagens, fonte == "vazio" ? QStringList{"Arquivo vazio."} : QStringList{});
        QCOMPARE(pausa_->pausas.size(), fonte == "impressão" ? 3u : 0u);
    }

    void impressao_data() {
        QTest::addColumn<int>("tamanho");
        QTest::addColumn<QString>("porta");
        QTest::addColumn<QString>("referencia");
        QTest::newRow("Pequeno") << 0 << "LPT1"
                                 << "rotulo-pequeno.ref";
        QTest::newRow("Grande") << 1 << "LPT3"
                                << "rotulo-grande.ref";
    }

    // Each waiting label on the port of the chosen size, two seconds apart.
    void impressao() {
        QFETCH(int, tamanho);
        QFETCH(QString, porta);
        QFETCH(QString, referencia);
        CriarConf({});
        CriarRotulos(2);
        Mostrar();
        ClicarTamanho(tamanho);
        dialogos_->respostas = {true};
        Clicar(janela_->Button1);
        QCOMPARE(dialogos_->perguntas, QStringList{"Confirma Impressão ?"});
        const std::string rotulo = teste::LerTexto(std::string(ROTULOS_DADOS) + "/" + referencia.toStdString());
        QCOMPARE(teste::LerTexto(Portas(porta.toStdString())), rotulo + rotulo);
        QCOMPARE(pausa_->pausas, std::vector<std::chrono::milliseconds>(2, std::chrono::milliseconds(2000)));
        QVERIFY(!janela_->isVisible());
    }

    // A printer that cannot be opened leaves the window usable, and a later
    // close still empties the label table.
    void impressoraNaoAbre() {
        CriarConf({});
        CriarRotulos(2);
        std::filesystem::create_directories(Portas("LPT1"));
        Mostrar();
        dialogos_->respostas = {true};
        Clicar(janela_->Button1);
        QCOMPARE(dialogos_->mensagens, QStringList{"Não conseguiu abrir impressora!"});
        QVERIFY(janela_->isVisible());
        QCOMPARE(RotulosEsperando(), 2u);
        ClicarTamanho(1);
        QCOMPARE(Edit("DBEdit1")->text(), QString("LPT3"));
        Clicar(janela_->Button2);
        QVERIFY(!janela_->isVisible());
        QCOMPARE(RotulosEsperando(), 0u);
        QVERIFY(dialogos_->erros.isEmpty());
    }

    // A handler's failure reaches the default error report with its text, and
    // the window goes on as it was.
    void relatorioDeErro() {
        CriarConf({});
        Mostrar();
        dialogos_->respostas = {true};
        Clicar(janela_->Button1);
        QCOMPARE(dialogos_->erros.size(), 1);
        QVERIFY2(dialogos_->erros[0].contains("C:\\TARVEL\\TMP239.DB"), qPrintable(dialogos_->erros[0]));
        QVERIFY(janela_->isVisible());
        QVERIFY(!Edit("DBEdit10")->isReadOnly());
        ClicarTamanho(1);
        QCOMPARE(Edit("DBEdit1")->text(), QString("LPT3"));
    }

    // A settings table the show step cannot use is reported; the window stays
    // up, read only, and still closes.
    void falhaAoMostrar() {
        CriarConf({}, "Temperatura:A10,Velocidade:A10,Borda:A10,Retorno:A10");
        CriarRotulos(1);
        Mostrar();
        QCOMPARE(dialogos_->erros.size(), 1);
        QVERIFY2(dialogos_->erros[0].contains("Porta"), qPrintable(dialogos_->erros[0]));
        QVERIFY(janela_->isVisible());
        QVERIFY(Edit("DBEdit10")->isReadOnly());
        Clicar(janela_->Button2);
        QVERIFY(!janela_->isVisible());
        QCOMPARE(RotulosEsperando(), 0u);
    }

    // Without a label table no label waits: the window closes all the same,
    // with the settings saved, instead of refusing to close for good.
    void fechaSemTabelaDeRotulos() {
        CriarConf({});
        Mostrar();
        Edit("DBEdit10")->selectAll();
        QTest::keyClicks(Edit("DBEdit10"), "11");
        Clicar(janela_->Button2);
        QVERIFY(dialogos_->erros.isEmpty());
        QVERIFY(!janela_->isVisible());
        QCOMPARE(ConfSalva().at(0), std::string("11"));
        QVERIFY(!std::filesystem::exists(Tarvel("TMP239.DB")));
    }

    // A failing step stops the sequence and keeps the window open; once the
    // cause is gone the next close finishes it.
    void falhaAoFechar() {
        CriarConf({});
        CriarRotulos(2);
        const auto original = teste::LerArquivo(Tarvel("TMP239.DB"));
        Mostrar();
        teste::GravarArquivo(Tarvel("TMP239.DB"), {'n', 'a', 'o'});
        Clicar(janela_->Button2);
        QCOMPARE(dialogos_->erros.size(), 1);
        QVERIFY2(dialogos_->erros[0].contains("C:\\TARVEL\\TMP239.DB"), qPrintable(dialogos_->erros[0]));
        QVERIFY(janela_->isVisible());
        // Steps before the failing one ran.
        QVERIFY(!janela_->tbConf.Active());
        QCOMPARE(ConfSalva().size(), 5u);

        teste::GravarArquivo(Tarvel("TMP239.DB"), original);
        janela_->close();
        QVERIFY(!janela_->isVisible());
        QCOMPARE(dialogos_->erros.size(), 1);
        QCOMPARE(RotulosEsperando(), 0u);
    }
};

QTEST_MAIN(JanelaTest)
#include "janela_test.moc"
